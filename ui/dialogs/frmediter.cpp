#include "ui/dialogs/frmediter.h"

#include "core/language.h"
#include "core/messagebox.h"
#include "playlist/lstplaylist.h"
#include "playlist/playliststore.h"
#include "ui/toolkit/placenearcursor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace orvane::ui {

using playlist::EditorLine;
using playlist::PlayList;

namespace {

constexpr int kRecordRole = Qt::UserRole;

QString editText(const char *key)
{
    return core::GetText(QStringLiteral("Edit"), QString::fromLatin1(key));
}

void beep()
{
    core::messageBox().beep();
}

QList<EditorLine> linesOf(const QListWidget *list)
{
    QList<EditorLine> lines;
    lines.reserve(list->count());
    for (int i = 0; i < list->count(); ++i) {
        const QListWidgetItem *item = list->item(i);
        lines.append({item->data(kRecordRole).toInt(), item->isSelected()});
    }
    return lines;
}

QString titleOf(int record)
{
    return record >= 0 && record < PlayList.size() ? PlayList[record].TITLE : QString();
}

// Puts the lines into the list; the caller keeps its selection signals
// from starting ShowSelection.
void showLines(QListWidget *list, const QList<EditorLine> &lines)
{
    list->clear();
    for (const EditorLine &line : lines) {
        auto *item = new QListWidgetItem(titleOf(line.record), list);
        item->setData(kRecordRole, line.record);
        item->setSelected(line.selected);
    }
}

} // namespace

frmEditer::frmEditer(playlist::lstPlayList &view, QWidget *parent)
    : QDialog(parent)
    , m_view(view)
{
    buildLayout();
    fillFrom();
    m_fraInfo->setEnabled(false);
    connectControls();
    adjustSize();
    PlaceNearCursor(this);
}

frmEditer::~frmEditer() = default;

void frmEditer::fillFrom()
{
    const QList<int> records = playlist::EditableRecords();
    QList<EditorLine> lines;
    lines.reserve(records.size());
    for (int record : records)
        lines.append({record, false});
    showLines(m_lstFrom, lines);
    m_cmdOK->setEnabled(!records.isEmpty());
}

void frmEditer::connectControls()
{
    for (QListWidget *list : {m_lstFrom, m_lstTo}) {
        connect(list, &QListWidget::itemSelectionChanged, this, [this, list] {
            if (!m_showingLines)
                ShowSelection(list);
        });
    }
    connect(m_cmdTo, &QPushButton::clicked, this, &frmEditer::cmdTo_Click);
    connect(m_cmdBack, &QPushButton::clicked, this, &frmEditer::cmdBack_Click);
    connect(m_cmdUp, &QPushButton::clicked, this,
            [this] { moveLines(playlist::MoveSelectedLines, -1); });
    connect(m_cmdDown, &QPushButton::clicked, this,
            [this] { moveLines(playlist::MoveSelectedLines, 1); });
    connect(m_chkRepeat, &QCheckBox::toggled, this,
            [this](bool ticked) { m_fraLoop->setEnabled(!ticked); });
    // Greyed stands for mixed values only until the user picks one.
    connect(m_chkDoPlay, &QCheckBox::clicked, this, [this] {
        if (m_chkDoPlay->checkState() != Qt::PartiallyChecked)
            m_chkDoPlay->setTristate(false);
    });
    connect(m_cmdApply, &QPushButton::clicked, this, &frmEditer::ApplyFields);
    connect(m_cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_cmdOK, &QPushButton::clicked, this, &frmEditer::cmdOK_Click);
}

void frmEditer::cmdTo_Click()
{
    QList<EditorLine> to = linesOf(m_lstTo);
    if (!playlist::AppendSelectedLines(linesOf(m_lstFrom), to)) {
        beep();
        return;
    }
    m_showingLines = true;
    showLines(m_lstTo, to);
    m_showingLines = false;
}

void frmEditer::cmdBack_Click()
{
    moveLines([](QList<EditorLine> &lines, int) { return playlist::RemoveSelectedLines(lines); },
              0);
}

void frmEditer::moveLines(bool (*operation)(QList<EditorLine> &, int), int distance)
{
    QList<EditorLine> lines = linesOf(m_lstTo);
    if (!operation(lines, distance)) {
        beep();
        return;
    }
    m_showingLines = true;
    showLines(m_lstTo, lines);
    m_showingLines = false;
}

void frmEditer::ShowSelection(QListWidget *list)
{
    m_fraInfo->setEnabled(true);
    const QList<int> records = playlist::SelectedRecords(linesOf(list));
    if (records.isEmpty())
        return;
    m_listClicked = true;
    m_records = records;
    showFields(playlist::FieldsOfRecords(records, editText("multiList")));
}

void frmEditer::showFields(const playlist::ShownFields &fields)
{
    using playlist::ShownFields;
    const playlist::PlayListItem &v = fields.values;
    m_txtTitle->setText(v.TITLE);
    m_txtAuthor->setText(v.AUTHOR);
    m_txtCopyright->setText(v.COPYRIGHT);
    m_txtDescription->setPlainText(v.DESCRIPTHION);
    m_shownDescription = m_txtDescription->toPlainText();
    m_txtFileName->setText(v.FILENAME);
    m_txtNumber->setText(QString::number(v.NUMBER));
    const bool mixedPlay = fields.isMixed(ShownFields::DoPlay);
    m_chkDoPlay->setTristate(mixedPlay);
    m_chkDoPlay->setCheckState(mixedPlay                      ? Qt::PartiallyChecked
                               : v.DOPLAY != playlist::kFalse ? Qt::Checked
                                                              : Qt::Unchecked);
    m_chkRepeat->setChecked(v.DOLOOP == 0);
    m_fraLoop->setEnabled(!m_chkRepeat->isChecked());
    m_txtLoop->setText(QString::number(v.DOLOOP));
    // A type no entry stands for shows as unknown, like mixed ones.
    const bool known = v.MEDIATYPE >= 0 && v.MEDIATYPE < playlist::kMixedMediaType;
    m_comFiletype->setCurrentIndex(known ? v.MEDIATYPE : playlist::kMixedMediaType);
}

void frmEditer::ApplyFields()
{
    if (!m_listClicked)
        return;
    const QString mixed = editText("multiList");
    const auto field = [&](const QString &text) -> std::optional<QString> {
        if (text == mixed)
            return std::nullopt;
        return text;
    };
    playlist::FieldEdits edits;
    if (m_txtTitle->text() != mixed && m_txtTitle->text().isEmpty())
        m_txtTitle->setText(core::GetText(QStringLiteral("Playlist"), QStringLiteral("Unknown")));
    edits.title = field(m_txtTitle->text());
    edits.author = field(m_txtAuthor->text());
    edits.copyright = field(m_txtCopyright->text());
    // The box shows line ends as LF alone: an untouched description keeps
    // the ones it has.
    const QString description = m_txtDescription->toPlainText();
    if (description != m_shownDescription)
        edits.description = field(description);
    if (m_chkDoPlay->checkState() != Qt::PartiallyChecked)
        edits.doPlay = m_chkDoPlay->isChecked() ? playlist::kTrue : playlist::kFalse;
    edits.doLoop = playlist::LoopCountOf(m_chkRepeat->isChecked(), m_txtLoop->text());
    if (m_comFiletype->currentIndex() != playlist::kMixedMediaType)
        edits.mediaType = m_comFiletype->currentData().toInt();
    playlist::ApplyFieldEdits(m_view, m_records, edits);
    refreshLineTexts(m_lstFrom);
    refreshLineTexts(m_lstTo);
}

// Titles may have changed; the lines name their records by title.
void frmEditer::refreshLineTexts(QListWidget *list)
{
    for (int i = 0; i < list->count(); ++i) {
        QListWidgetItem *item = list->item(i);
        item->setText(titleOf(item->data(kRecordRole).toInt()));
    }
}

void frmEditer::cmdOK_Click()
{
    QList<int> records;
    for (const EditorLine &line : linesOf(m_lstTo))
        records.append(line.record);
    if (playlist::HasDuplicateRecord(records)) {
        core::messageBox().show(editText("mesFailedParam0"), core::kApplicationTitle,
                                core::MessageIcon::Critical, core::MessageButtons::Ok);
        return;
    }
    playlist::RebuildView(m_view, records);
    accept();
}

} // namespace orvane::ui

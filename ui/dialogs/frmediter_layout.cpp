// The editor's controls, their captions from the language file and their
// arrangement.
#include "core/language.h"
#include "ui/dialogs/frmediter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace orvane::ui {

namespace {

QString editText(const char *key)
{
    return core::GetText(QStringLiteral("Edit"), QString::fromLatin1(key));
}

// The caption without its access key mark ("&&" is a literal "&"). A key
// given apart in brackets, as Japanese captions do ("項目(&A)"), goes
// with its brackets.
QString withoutAccessKey(QString caption)
{
    static const QRegularExpression bracketed(QStringLiteral("\\(&[^&]\\)"));
    caption.remove(bracketed);
    QString text;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && ++i >= caption.size())
            break;
        text += caption[i];
    }
    return text;
}

// A screen reader names the field by its label, as a sighted user does.
QLabel *labelFor(QWidget *buddy, const QString &caption, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setBuddy(buddy);
    buddy->setAccessibleName(withoutAccessKey(caption));
    return label;
}

QListWidget *newList(QWidget *parent)
{
    auto *list = new QListWidget(parent);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setUniformItemSizes(true);
    list->setMinimumWidth(220);
    return list;
}

QPushButton *newButton(const char *key, QWidget *parent)
{
    return new QPushButton(editText(key), parent);
}

} // namespace

void frmEditer::buildLayout()
{
    setWindowTitle(editText("Caption"));
    m_txtAttention = new QPlainTextEdit(this);
    m_txtAttention->setReadOnly(true);
    m_txtAttention->setFocusPolicy(Qt::NoFocus);
    QStringList attention;
    for (const char *key : {"Atten0", "Atten1", "Atten2", "Atten3", "Atten4"})
        attention << editText(key);
    m_txtAttention->setPlainText(attention.join(u'\n'));
    m_txtAttention->setMinimumHeight(m_txtAttention->fontMetrics().lineSpacing() * 6);

    m_cmdApply = newButton("Apply", this);
    m_cmdCancel = newButton("Cancel", this);
    m_cmdOK = newButton("OK", this);
    m_cmdOK->setDefault(true);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdCancel);
    buttons->addWidget(m_cmdApply);
    buttons->addStretch(1);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(buildInfo(), 3);
    auto *side = new QVBoxLayout;
    side->addWidget(m_txtAttention, 1);
    bottom->addLayout(side, 2);
    bottom->addLayout(buttons);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildLists(), 1);
    layout->addLayout(bottom);
}

QWidget *frmEditer::buildLists()
{
    auto *lists = new QWidget(this);
    m_lstFrom = newList(lists);
    m_lstTo = newList(lists);
    m_cmdTo = newButton("To", lists);
    m_cmdBack = newButton("Back", lists);
    m_cmdUp = newButton("Up", lists);
    m_cmdDown = newButton("Down", lists);

    auto *between = new QVBoxLayout;
    between->addStretch(1);
    between->addWidget(m_cmdTo);
    between->addWidget(m_cmdBack);
    between->addStretch(1);
    auto *order = new QVBoxLayout;
    order->addStretch(1);
    order->addWidget(m_cmdUp);
    order->addWidget(m_cmdDown);
    order->addStretch(1);

    auto *grid = new QGridLayout(lists);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(labelFor(m_lstFrom, editText("Alllist"), lists), 0, 0);
    grid->addWidget(labelFor(m_lstTo, editText("Playlist"), lists), 0, 2);
    grid->addWidget(m_lstFrom, 1, 0);
    grid->addLayout(between, 1, 1);
    grid->addWidget(m_lstTo, 1, 2);
    grid->addLayout(order, 1, 3);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(1, 1);
    return lists;
}

QGroupBox *frmEditer::buildInfo()
{
    m_fraInfo = new QGroupBox(editText("Info"), this);
    QWidget *f = m_fraInfo;
    const auto playlistText = [](const char *key) -> QString {
        return u'&' + core::GetText(QStringLiteral("Playlist"), QString::fromLatin1(key));
    };
    m_txtTitle = new QLineEdit(f);
    m_txtAuthor = new QLineEdit(f);
    m_txtCopyright = new QLineEdit(f);
    m_txtDescription = new QPlainTextEdit(f);
    m_txtDescription->setTabChangesFocus(true);
    m_txtDescription->setMaximumHeight(m_txtDescription->fontMetrics().lineSpacing() * 4);
    m_txtFileName = new QLineEdit(f);
    m_txtFileName->setReadOnly(true);
    m_txtNumber = new QLineEdit(f);
    m_txtNumber->setReadOnly(true);
    m_chkDoPlay = new QCheckBox(editText("Skip"), f);
    m_chkRepeat = new QCheckBox(editText("Repeat"), f);
    m_comFiletype = new QComboBox(f);
    // List position = media type; the last entry stands for mixed values.
    const std::pair<const char *, int> types[] = {{"ftNothing", 0}, {"ftWmp", 1},
                                                  {"ftReal", 2},    {"ftCD", 3},
                                                  {"ftVCD", 4},     {"ftUnknown", -1}};
    for (const auto &[key, itemData] : types)
        m_comFiletype->addItem(editText(key), itemData);

    m_fraLoop = new QGroupBox(editText("roopcnt"), f);
    m_txtLoop = new QLineEdit(m_fraLoop);
    m_txtLoop->setMaximumWidth(m_txtLoop->fontMetrics().horizontalAdvance(u'0') * 10);
    auto *loop = new QHBoxLayout(m_fraLoop);
    loop->addWidget(labelFor(m_txtLoop, editText("roopnum"), m_fraLoop));
    loop->addWidget(m_txtLoop);
    loop->addStretch(1);

    auto *grid = new QGridLayout(f);
    int row = 0;
    const auto addRow = [&](const QString &caption, QWidget *field) {
        grid->addWidget(labelFor(field, caption, f), row, 0);
        grid->addWidget(field, row++, 1, 1, 2);
    };
    addRow(playlistText("Title"), m_txtTitle);
    addRow(playlistText("Author"), m_txtAuthor);
    addRow(playlistText("Copy"), m_txtCopyright);
    addRow(playlistText("Desc"), m_txtDescription);
    addRow(editText("File"), m_txtFileName);
    addRow(editText("Number"), m_txtNumber);
    addRow(editText("FileType"), m_comFiletype);
    grid->addWidget(m_chkDoPlay, row++, 1, 1, 2);
    grid->addWidget(m_chkRepeat, row, 1);
    grid->addWidget(m_fraLoop, row, 2);
    grid->setColumnStretch(2, 1);
    return m_fraInfo;
}

} // namespace orvane::ui

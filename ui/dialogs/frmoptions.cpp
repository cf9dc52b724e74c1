#include "ui/dialogs/frmoptions.h"

#include "core/language.h"
#include "core/messagebox.h"
#include "core/programpaths.h"
#include "ui/toolkit/commondialog.h"
#include "ui/toolkit/placenearcursor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTabBar>
#include <QVBoxLayout>

namespace orvane::ui {

namespace {

const QStringList kTabKeys{QStringLiteral("general1"), QStringLiteral("general2"),
                           QStringLiteral("shell"),    QStringLiteral("wmp"),
                           QStringLiteral("rap"),      QStringLiteral("convert")};
const QString kWmpTag = QStringLiteral("wmp");

QString optionText(const char *key)
{
    return core::GetText(QStringLiteral("Option"), QString::fromLatin1(key));
}

QString shownLines(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// What setting.ini keeps of an extension list: one line of at most 255
// characters, as longer values are cut when read back.
QString storableList(QString text)
{
    text.remove(QLatin1Char('\r')).remove(QLatin1Char('\n')).remove(QLatin1Char('\t'));
    return text.left(255);
}

} // namespace

frmOptions::frmOptions(const QString &settingsFile, CommonDialog *comDialog, QWidget *parent)
    : QDialog(parent)
    , m_settingsFile(settingsFile)
    , m_comDialog(comDialog)
{
    setObjectName(QStringLiteral("frmOptions"));
    if (!m_comDialog) {
        m_ownDialog = std::make_unique<CommonDialog>(this);
        m_comDialog = m_ownDialog.get();
    }
    m_tabOptions = new QTabBar(this);
    m_tabOptions->setObjectName(QStringLiteral("tabOptions"));
    m_tabOptions->setExpanding(false);
    for (const QString &key : kTabKeys)
        m_tabOptions->setTabData(m_tabOptions->addTab(QString()), key);

    // Every frame in one cell: the dialog keeps the size of the largest.
    auto *body = new QWidget(this);
    auto *stack = new QGridLayout(body);
    stack->setContentsMargins(0, 0, 0, 0);
    m_frames = {buildGeneral1(), buildGeneral2(), buildShell(), buildExtensions(), buildConvert()};
    for (QWidget *frame : std::as_const(m_frames)) {
        QSizePolicy policy = frame->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        frame->setSizePolicy(policy);
        stack->addWidget(frame, 0, 0);
    }

    auto *buttons = new QDialogButtonBox(this);
    m_cmdOK = buttons->addButton(QString(), QDialogButtonBox::AcceptRole);
    m_cmdCancel = buttons->addButton(QString(), QDialogButtonBox::RejectRole);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    m_cmdOK->setDefault(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabOptions);
    layout->addWidget(body, 1);
    layout->addWidget(buttons);

    connect(m_tabOptions, &QTabBar::currentChanged, this, &frmOptions::tabOptions_Click);
    connect(m_cmdOK, &QPushButton::clicked, this, &frmOptions::cmdOK_Click);
    connect(m_cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_chkDonotRunScr, &QCheckBox::toggled, m_chkSetScr, &QWidget::setEnabled);
    connect(m_chkEditExtensions, &QCheckBox::clicked, this, &frmOptions::chkEditExtensions_Click);
    connect(m_txtExtensions, &QPlainTextEdit::textChanged, this, &frmOptions::txtExtensions_Change);
    connect(m_comprMode, &QComboBox::currentIndexChanged, this, &frmOptions::comprMode_Click);
    connect(m_fsbInterval, &QScrollBar::valueChanged, this, &frmOptions::fsbInterval_Change);
    connect(m_comLanguage, &QComboBox::currentIndexChanged, this, &frmOptions::comLanguage_Click);
    connect(m_comView, &QPushButton::clicked, this, &frmOptions::comView_Click);
    // The pages from the keyboard, as in every tabbed dialog.
    const auto turn = [this](int by) {
        const int count = m_tabOptions->count();
        m_tabOptions->setCurrentIndex((m_tabOptions->currentIndex() + by + count) % count);
    };
    connect(new QShortcut(QKeySequence::NextChild, this), &QShortcut::activated, this,
            [turn] { turn(1); });
    connect(new QShortcut(QKeySequence::PreviousChild, this), &QShortcut::activated, this,
            [turn] { turn(-1); });

    applyTexts();
    showValues(readOptionsValues(m_settingsFile));
    tabOptions_Click(0);
    // The extension pages are the widest: sized with their text in place.
    adjustSize();
    PlaceNearCursor(this);
}

frmOptions::~frmOptions() = default;

void frmOptions::showValues(const OptionsValues &v)
{
    m_chkDonotRunScr->setChecked(v.doNotRunScreenSaver);
    m_chkSetScr->setChecked(v.setScreenSaver);
    m_chkSetScr->setEnabled(v.doNotRunScreenSaver);
    m_chkTryOpen->setChecked(v.tryOtherEngine);
    m_chkAutoPlay->setChecked(v.autoPlay);
    m_chkOrgBar->setChecked(v.orgBar);
    m_chkWinPosMem->setChecked(v.windowMemory);
    m_chkplShortFile->setChecked(v.shortPath);
    m_chkRestorePlaylist->setChecked(v.restorePlaylist);

    m_languages = findLanguageFiles(core::languageFolders());
    for (const LanguageChoice &choice : std::as_const(m_languages))
        m_comLanguage->addItem(choice.name);
    m_comLanguage->setCurrentIndex(languageIndexOf(m_languages, v.languageFile));

    m_comprMode->setCurrentIndex(v.processingMode);
    m_fraInterval->setEnabled(v.processingMode == 0);
    m_fsbInterval->setValue(v.processingInterval);
    fsbInterval_Change();

    m_lstControls->setEnabled(false);
    m_optAllControls->setChecked(v.panelMode == PanelMode::All);
    m_optMemControls->setChecked(v.panelMode == PanelMode::Memorize);
    m_optSetControls->setChecked(v.panelMode == PanelMode::Customize);
    m_lstControls->item(0)->setSelected(v.shownPanels.bar);
    for (int band = 0; band < 5; ++band)
        m_lstControls->item(band + 1)->setSelected(v.shownPanels.bands[size_t(band)]);

    m_wmp = v.wmp;
    m_real = v.real;
    m_txtscmpx->setText(v.scmpx);
}

OptionsValues frmOptions::values() const
{
    OptionsValues v;
    v.doNotRunScreenSaver = m_chkDonotRunScr->isChecked();
    v.setScreenSaver = m_chkSetScr->isChecked();
    v.tryOtherEngine = m_chkTryOpen->isChecked();
    v.autoPlay = m_chkAutoPlay->isChecked();
    v.orgBar = m_chkOrgBar->isChecked();
    v.windowMemory = m_chkWinPosMem->isChecked();
    v.shortPath = m_chkplShortFile->isChecked();
    v.restorePlaylist = m_chkRestorePlaylist->isChecked();
    const int language = m_comLanguage->currentIndex();
    if (language >= 0 && language < m_languages.size())
        v.languageFile = m_languages.at(language).path;
    v.panelMode = m_optMemControls->isChecked()   ? PanelMode::Memorize
                  : m_optSetControls->isChecked() ? PanelMode::Customize
                                                  : PanelMode::All;
    v.shownPanels.bar = m_lstControls->item(0)->isSelected();
    for (int band = 0; band < 5; ++band)
        v.shownPanels.bands[size_t(band)] = m_lstControls->item(band + 1)->isSelected();
    v.processingMode = m_comprMode->currentIndex() == 0 ? 0 : 1;
    v.processingInterval = m_fsbInterval->value();
    v.wmp = m_wmp;
    v.real = m_real;
    v.scmpx = m_txtscmpx->text();
    return v;
}

void frmOptions::showPage(const QString &tabKey)
{
    const int index = int(kTabKeys.indexOf(tabKey));
    if (index >= 0)
        m_tabOptions->setCurrentIndex(index);
}

ExtensionChoice &frmOptions::extensionsOfTag()
{
    return m_fraExtensions->property("tag").toString() == kWmpTag ? m_wmp : m_real;
}

void frmOptions::tabOptions_Click(int index)
{
    for (QWidget *frame : std::as_const(m_frames)) {
        frame->hide();
        frame->setEnabled(false);
    }
    const QString key = kTabKeys.value(index);
    // Both extension tabs show the one extension frame.
    static constexpr int kFrameOfTab[] = {0, 1, 2, 3, 3, 4};
    QWidget *shown = index >= 0 && index < 6 ? m_frames.value(kFrameOfTab[index]) : nullptr;
    if (key == QStringLiteral("wmp") || key == QStringLiteral("rap")) {
        const bool wmp = key == kWmpTag;
        m_fraExtensions->setProperty("tag", key);
        const QString engine = optionText(wmp ? "strwmp" : "strrap");
        m_fraExtensions->setTitle(engine + optionText("EditExt0"));
        m_chkEditExtensions->setText(optionText("EditExt1") + engine + optionText("EditExt2"));
        const ExtensionChoice &choice = extensionsOfTag();
        m_chkEditExtensions->setChecked(choice.edit);
        m_showingExtensions = true;
        m_txtExtensions->setPlainText(choice.list);
        m_showingExtensions = false;
        m_txtExtensions->setEnabled(choice.edit);
    }
    if (shown) {
        shown->show();
        shown->setEnabled(true);
    }
}

void frmOptions::chkEditExtensions_Click()
{
    const bool edit = m_chkEditExtensions->isChecked();
    m_txtExtensions->setEnabled(edit);
    extensionsOfTag().edit = edit;
}

void frmOptions::txtExtensions_Change()
{
    if (m_showingExtensions)
        return;
    const QString text = m_txtExtensions->toPlainText();
    const QString kept = storableList(text);
    if (kept != text) {
        m_showingExtensions = true;
        m_txtExtensions->setPlainText(kept);
        m_txtExtensions->moveCursor(QTextCursor::End);
        m_showingExtensions = false;
    }
    extensionsOfTag().list = kept;
}

void frmOptions::comprMode_Click()
{
    m_fraInterval->setEnabled(m_comprMode->currentIndex() == 0);
}

void frmOptions::fsbInterval_Change()
{
    // The label repaints while the bar is dragged without running other
    // events from inside this change, where they could close the dialog.
    m_lblInterval->setText(intervalText(m_fsbInterval->value()));
}

void frmOptions::controls_Click()
{
    m_lstControls->setEnabled(m_optSetControls->isChecked());
}

void frmOptions::comLanguage_Click()
{
    const int index = m_comLanguage->currentIndex();
    if (index < 0 || index >= m_languages.size())
        return;
    m_txtlngInfo->setPlainText(shownLines(languageInfoText(m_languages.at(index).path)));
}

void frmOptions::comView_Click()
{
    CommonDialog &dialog = *m_comDialog;
    dialog.CancelError = false;
    dialog.DialogTitle = optionText("SCMPXDlg");
    dialog.FileName = m_txtscmpx->text();
    dialog.Filter = QStringLiteral("SCMPX(SCMPX.exe)|SCMPX.exe");
    dialog.FilterIndex = 1;
    dialog.Flags = cdl::kExplorer | cdl::kFileMustExist | cdl::kPathMustExist | cdl::kHideReadOnly;
    dialog.ShowOpen(this);
    // A cancelled dialog leaves the path the user had.
    if (!dialog.FileName.isEmpty())
        m_txtscmpx->setText(dialog.FileName);
}

void frmOptions::cmdOK_Click()
{
    writeOptionsValues(m_settingsFile, values(), [this](const QString &messageKey) {
        core::messageBox().show(core::GetText(QStringLiteral("Option"), messageKey),
                                core::kApplicationTitle, core::MessageIcon::Information,
                                core::MessageButtons::Ok);
    });
    accept();
}

} // namespace orvane::ui

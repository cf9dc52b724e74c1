#include "ui/dialogs/frmoptions.h"

#include "core/language.h"
#include "ui/toolkit/placenearcursor.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

namespace orvane::ui {

namespace {

QString optionText(const char *key)
{
    return core::GetText(QStringLiteral("Option"), QString::fromLatin1(key));
}

} // namespace

frmOptions::frmOptions(const QString &settingsFile, QWidget *parent)
    : QDialog(parent)
    , m_settingsFile(settingsFile)
{
    setObjectName(QStringLiteral("frmOptions"));
    m_tabOptions = new QTabWidget(this);
    m_tabOptions->addTab(buildGeneralPage(), QString());
    auto *buttons = new QDialogButtonBox(this);
    m_cmdOK = buttons->addButton(QString(), QDialogButtonBox::AcceptRole);
    m_cmdCancel = buttons->addButton(QString(), QDialogButtonBox::RejectRole);
    m_cmdOK->setDefault(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabOptions, 1);
    layout->addWidget(buttons);
    connect(m_cmdOK, &QPushButton::clicked, this, &frmOptions::cmdOK_Click);
    connect(m_cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_chkDonotRunScr, &QCheckBox::toggled, m_chkSetScr, &QWidget::setEnabled);

    applyTexts();
    showOptions(readGeneralOptions(m_settingsFile));
    adjustSize();
    PlaceNearCursor(this);
}

QWidget *frmOptions::buildGeneralPage()
{
    auto *page = new QWidget(this);
    m_fraGeneral1 = new QGroupBox(page);
    auto *boxes = new QVBoxLayout(m_fraGeneral1);
    const auto make = [&](QCheckBox *&box, const char *name) {
        box = new QCheckBox(m_fraGeneral1);
        box->setObjectName(QString::fromLatin1(name));
    };
    const auto add = [&](QCheckBox *&box, const char *name) {
        make(box, name);
        boxes->addWidget(box);
    };
    add(m_chkDonotRunScr, "chkDonotRunScr");
    // It only acts with the box above ticked: indented below it.
    make(m_chkSetScr, "chkSetScr");
    auto *indented = new QHBoxLayout;
    indented->addSpacing(style()->pixelMetric(QStyle::PM_IndicatorWidth));
    indented->addWidget(m_chkSetScr);
    boxes->addLayout(indented);
    add(m_chkTryOpen, "chkTryOpen");
    add(m_chkAutoPlay, "chkAutoPlay");
    add(m_chkWinPosMem, "chkWinPosMem");
    add(m_chkplShortFile, "chkplShortFile");
    add(m_chkRestorePlaylist, "chkRestorePlaylist");
    boxes->addStretch(1);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(m_fraGeneral1);
    return page;
}

void frmOptions::applyTexts()
{
    setWindowTitle(optionText("Caption"));
    m_tabOptions->setTabText(0, optionText("General1"));
    m_fraGeneral1->setTitle(optionText("optGenrl1"));
    m_chkDonotRunScr->setText(optionText("RunScr"));
    m_chkSetScr->setText(optionText("SetScr"));
    m_chkTryOpen->setText(optionText("Retry"));
    m_chkAutoPlay->setText(optionText("AutoPlay"));
    m_chkWinPosMem->setText(optionText("WinPosMem"));
    m_chkplShortFile->setText(optionText("ShortPath"));
    m_chkRestorePlaylist->setText(optionText("RestorePl"));
    m_cmdOK->setText(optionText("OK"));
    m_cmdCancel->setText(optionText("Cancel"));
}

void frmOptions::showOptions(const GeneralOptions &o)
{
    m_chkDonotRunScr->setChecked(o.doNotRunScreenSaver);
    m_chkSetScr->setChecked(o.setScreenSaver);
    m_chkSetScr->setEnabled(o.doNotRunScreenSaver);
    m_chkTryOpen->setChecked(o.tryOtherEngine);
    m_chkAutoPlay->setChecked(o.autoPlay);
    m_chkWinPosMem->setChecked(o.windowMemory);
    m_chkplShortFile->setChecked(o.shortPath);
    m_chkRestorePlaylist->setChecked(o.restorePlaylist);
}

GeneralOptions frmOptions::generalOptions() const
{
    GeneralOptions o;
    o.doNotRunScreenSaver = m_chkDonotRunScr->isChecked();
    o.setScreenSaver = m_chkSetScr->isChecked();
    o.tryOtherEngine = m_chkTryOpen->isChecked();
    o.autoPlay = m_chkAutoPlay->isChecked();
    o.windowMemory = m_chkWinPosMem->isChecked();
    o.shortPath = m_chkplShortFile->isChecked();
    o.restorePlaylist = m_chkRestorePlaylist->isChecked();
    return o;
}

void frmOptions::cmdOK_Click()
{
    writeGeneralOptions(m_settingsFile, generalOptions());
    accept();
}

} // namespace orvane::ui

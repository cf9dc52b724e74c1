// The pages of the options dialog: their controls and captions.
#include "ui/dialogs/frmoptions.h"

#include "core/language.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QTabBar>
#include <QVBoxLayout>

namespace orvane::ui {

namespace {

QString optionText(const char *key)
{
    return core::GetText(QStringLiteral("Option"), QString::fromLatin1(key));
}

template <typename W> W *named(QWidget *parent, const char *name)
{
    auto *widget = new W(parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// Indented below the box it depends on.
QHBoxLayout *indented(QWidget *widget)
{
    auto *row = new QHBoxLayout;
    row->addSpacing(widget->style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                    widget->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing));
    row->addWidget(widget, 1);
    return row;
}

// The panels as the Controls menu names them, without its access keys.
QString panelName(const char *menuKey)
{
    return core::GetText(QStringLiteral("NormalMenu"), QString::fromLatin1(menuKey))
        .remove(QLatin1Char('&'));
}

} // namespace

QWidget *frmOptions::buildGeneral1()
{
    m_fraGeneral1 = named<QGroupBox>(this, "fraGeneral1");
    auto *boxes = new QVBoxLayout(m_fraGeneral1);
    m_chkDonotRunScr = named<QCheckBox>(m_fraGeneral1, "chkDonotRunScr");
    m_chkSetScr = named<QCheckBox>(m_fraGeneral1, "chkSetScr");
    m_chkTryOpen = named<QCheckBox>(m_fraGeneral1, "chkTryOpen");
    m_chkAutoPlay = named<QCheckBox>(m_fraGeneral1, "chkAutoPlay");
    m_chkplShortFile = named<QCheckBox>(m_fraGeneral1, "chkplShortFile");
    m_chkRestorePlaylist = named<QCheckBox>(m_fraGeneral1, "chkRestorePlaylist");
    boxes->addWidget(m_chkDonotRunScr);
    boxes->addLayout(indented(m_chkSetScr));
    for (QCheckBox *box : {m_chkTryOpen, m_chkAutoPlay, m_chkplShortFile, m_chkRestorePlaylist})
        boxes->addWidget(box);
    boxes->addSpacing(style()->pixelMetric(QStyle::PM_LayoutVerticalSpacing) * 2);

    m_lblLanguage = named<QLabel>(m_fraGeneral1, "lblLanguage");
    m_comLanguage = named<QComboBox>(m_fraGeneral1, "comLanguage");
    m_lblLanguage->setBuddy(m_comLanguage);
    auto *language = new QHBoxLayout;
    language->addWidget(m_lblLanguage);
    language->addWidget(m_comLanguage, 1);
    boxes->addLayout(language);
    m_txtlngInfo = named<QPlainTextEdit>(m_fraGeneral1, "txtlngInfo");
    m_txtlngInfo->setReadOnly(true);
    m_txtlngInfo->setTabStopDistance(QFontMetrics(font()).horizontalAdvance(QLatin1Char('x')) * 5);
    // Six lines, in room for scripts whose glyphs stand taller than the
    // dialog's own font, and a comment that wraps.
    m_txtlngInfo->setFixedHeight(QFontMetrics(font()).lineSpacing() * 9);
    boxes->addWidget(m_txtlngInfo);
    boxes->addStretch(1);
    return m_fraGeneral1;
}

QWidget *frmOptions::buildGeneral2()
{
    m_fraGeneral2 = named<QGroupBox>(this, "fraGeneral2");
    auto *boxes = new QVBoxLayout(m_fraGeneral2);
    m_chkWinPosMem = named<QCheckBox>(m_fraGeneral2, "chkWinPosMem");
    m_chkOrgBar = named<QCheckBox>(m_fraGeneral2, "chkOrgBar");
    boxes->addWidget(m_chkWinPosMem);
    boxes->addWidget(m_chkOrgBar);

    m_fraControls = named<QGroupBox>(m_fraGeneral2, "fraControls");
    auto *controls = new QGridLayout(m_fraControls);
    m_optAllControls = named<QRadioButton>(m_fraControls, "optAllControls");
    m_optMemControls = named<QRadioButton>(m_fraControls, "optMemControls");
    m_optSetControls = named<QRadioButton>(m_fraControls, "optSetControls");
    // Grouped so that none may be selected, as an unknown stored mode shows.
    auto *group = new QButtonGroup(m_fraControls);
    group->setExclusive(true);
    m_lstControls = named<QListWidget>(m_fraControls, "lstControls");
    m_lstControls->setSelectionMode(QAbstractItemView::MultiSelection);
    m_lstControls->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int i = 0; i < 6; ++i)
        m_lstControls->addItem(QString());
    int row = 0;
    for (QRadioButton *option : {m_optAllControls, m_optMemControls, m_optSetControls}) {
        group->addButton(option);
        controls->addWidget(option, row++, 0);
        connect(option, &QRadioButton::toggled, this, &frmOptions::controls_Click);
    }
    controls->setRowStretch(row, 1);
    controls->addWidget(m_lstControls, 0, 1, row + 1, 1);
    boxes->addWidget(m_fraControls);

    m_lblprMode = named<QLabel>(m_fraGeneral2, "lblprMode");
    m_comprMode = named<QComboBox>(m_fraGeneral2, "comprMode");
    m_lblprMode->setBuddy(m_comprMode);
    auto *mode = new QHBoxLayout;
    mode->addWidget(m_lblprMode);
    mode->addWidget(m_comprMode, 1);
    boxes->addLayout(mode);

    m_fraInterval = named<QGroupBox>(m_fraGeneral2, "fraInterval");
    auto *interval = new QHBoxLayout(m_fraInterval);
    m_fsbInterval = named<QScrollBar>(m_fraInterval, "fsbInterval");
    m_fsbInterval->setOrientation(Qt::Horizontal);
    m_fsbInterval->setRange(kMinimumInterval, kMaximumInterval);
    m_fsbInterval->setSingleStep(kIntervalStep);
    m_fsbInterval->setPageStep(kIntervalStep * 10);
    m_lblInterval = named<QLabel>(m_fraInterval, "lblInterval");
    m_lblInterval->setMinimumWidth(QFontMetrics(font()).horizontalAdvance(intervalText(8888)));
    m_lblInterval->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    interval->addWidget(m_fsbInterval, 1);
    interval->addWidget(m_lblInterval);
    boxes->addWidget(m_fraInterval);

    m_txtIntAttention = named<QLabel>(m_fraGeneral2, "txtIntAttention");
    m_txtIntAttention->setWordWrap(true);
    m_txtIntAttention->setFrameShape(QFrame::StyledPanel);
    m_txtIntAttention->setMargin(4);
    m_txtIntAttention->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    boxes->addWidget(m_txtIntAttention);
    boxes->addStretch(1);
    return m_fraGeneral2;
}

QWidget *frmOptions::buildShell()
{
    m_fraShell = named<QGroupBox>(this, "fraShell");
    auto *layout = new QVBoxLayout(m_fraShell);
    m_lblShell = named<QLabel>(m_fraShell, "lblShell");
    m_lblShell->setWordWrap(true);
    m_lblShell->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    layout->addWidget(m_lblShell);
    layout->addStretch(1);
    return m_fraShell;
}

QWidget *frmOptions::buildExtensions()
{
    m_fraExtensions = named<QGroupBox>(this, "fraExtensions");
    auto *layout = new QVBoxLayout(m_fraExtensions);
    m_chkEditExtensions = named<QCheckBox>(m_fraExtensions, "chkEditExtensions");
    m_txtExtensions = named<QPlainTextEdit>(m_fraExtensions, "txtExtensions");
    // The list has no blanks to break at.
    m_txtExtensions->setWordWrapMode(QTextOption::WrapAnywhere);
    m_txtExtensions->setFixedHeight(QFontMetrics(font()).lineSpacing() * 8);
    layout->addWidget(m_chkEditExtensions);
    layout->addWidget(m_txtExtensions);
    layout->addStretch(1);
    return m_fraExtensions;
}

QWidget *frmOptions::buildConvert()
{
    m_fraConvert = named<QGroupBox>(this, "fraConvert");
    auto *layout = new QVBoxLayout(m_fraConvert);
    auto *row = new QHBoxLayout;
    m_txtscmpx = named<QLineEdit>(m_fraConvert, "txtscmpx");
    // What setting.ini cannot give back in full is not taken.
    m_txtscmpx->setMaxLength(255);
    m_comView = named<QPushButton>(m_fraConvert, "comView");
    row->addWidget(m_txtscmpx, 1);
    row->addWidget(m_comView);
    layout->addLayout(row);
    layout->addStretch(1);
    return m_fraConvert;
}

void frmOptions::applyTexts()
{
    setWindowTitle(optionText("Caption"));
    const char *tabs[] = {"General1", "General2", "Shell", "optwmp", "optrap", "CnvSet"};
    for (int i = 0; i < 6; ++i)
        m_tabOptions->setTabText(i, optionText(tabs[i]));
    m_fraGeneral1->setTitle(optionText("optGenrl1"));
    m_fraGeneral2->setTitle(optionText("optGenrl2"));
    m_fraShell->setTitle(optionText("optShell"));
    m_lblShell->setText(optionText("ShellInfo"));
    m_chkDonotRunScr->setText(optionText("RunScr"));
    m_chkSetScr->setText(optionText("SetScr"));
    m_chkTryOpen->setText(optionText("Retry"));
    m_chkAutoPlay->setText(optionText("AutoPlay"));
    m_chkOrgBar->setText(optionText("orgBar"));
    m_chkWinPosMem->setText(optionText("WinPosMem"));
    m_chkplShortFile->setText(optionText("ShortPath"));
    m_chkRestorePlaylist->setText(optionText("RestorePl"));
    m_lblLanguage->setText(optionText("Language"));
    m_fraControls->setTitle(optionText("Controls"));
    m_optAllControls->setText(optionText("cntAll"));
    m_optMemControls->setText(optionText("cntMem"));
    m_optSetControls->setText(optionText("cntSet"));
    const char *panels[] = {"ctlPlay", "ctlPlayCnt", "ctlSeek", "ctlPlCnt", "ctlPlView", "ctlInfo"};
    // All six entries in sight, at the height their texts take.
    int rows = 2 * m_lstControls->frameWidth() + 2;
    for (int i = 0; i < 6; ++i) {
        m_lstControls->item(i)->setText(panelName(panels[i]));
        rows += m_lstControls->sizeHintForRow(i);
    }
    m_lstControls->setFixedHeight(rows);
    m_lblprMode->setText(optionText("prMode"));
    m_comprMode->addItem(optionText("prModeTimer"));
    m_comprMode->addItem(optionText("prModeLoop"));
    m_fraInterval->setTitle(optionText("TimInt"));
    m_txtIntAttention->setText(QStringList{optionText("Atten0"), optionText("Atten1"),
                                           optionText("Atten2"), optionText("Atten3")}
                                   .join(QLatin1Char('\n')));
    m_fraConvert->setTitle(optionText("optCnvSet"));
    m_comView->setText(optionText("View"));
    m_cmdOK->setText(optionText("OK"));
    m_cmdCancel->setText(optionText("Cancel"));
}

} // namespace orvane::ui

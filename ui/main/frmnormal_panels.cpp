// The main window's widgets: the picture area and the five panels of the
// control bar, at their designed sizes in twips.
#include "core/language.h"
#include "playback/session.h"
#include "playlist/playlistmodel.h"
#include "ui/main/artwork.h"
#include "ui/main/controlbar.h"
#include "ui/main/frmnormal.h"
#include "ui/main/statuslabel.h"
#include "ui/main/twips.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QSlider>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

namespace orvane::ui {

using core::GetText;

namespace {

// A click on a slider's groove (the seek bar, the volume) moves the handle
// there and starts a drag, as desktop media players do; the page step would
// jump 30 seconds or a tenth of the volume.
class JumpToClickStyle final : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_Slider_AbsoluteSetButtons)
            return Qt::LeftButton;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// Designed minimum heights of the five bands, in twips.
constexpr int kBandHeights[CoolBar::kBands] = {570, 735, 570, 1455, 1440};

// The hint of each control, by the control's name: key of section "Normal".
// The hints are what the user reads before pressing: the words of the
// action, not the widget's kind.
constexpr std::pair<const char *, const char *> kHintKeys[] = {
    {"play", "tipPlay"},        {"pause", "tipPause"},     {"stop", "tipStop"},
    {"reverse", "tipReverse"},  {"forward", "tipForward"}, {"sound", "tipMute"},
    {"silVolume", "tipVolume"}, {"silSeek", "tipSeek"},    {"lblStatus", "tipStatus"},
    {"open_pl", "tipOpen"},     {"save_pl", "tipSave"},    {"add_pl", "tipAdd"},
    {"delete_pl", "tipDelete"}, {"clear_pl", "tipClear"},  {"down_pl", "tipDown"},
    {"up_pl", "tipUp"},         {"info", "tipInfo"},
};

QAction *addButton(QToolBar *bar, const QString &key)
{
    // Its text and hint come with the window's other texts when it loads.
    QAction *action = bar->addAction(toolbarIcon(key), QString());
    action->setObjectName(key);
    action->setData(key);
    return action;
}

} // namespace

void frmNormal::buildPanels()
{
    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    m_picImageWindow = new QWidget(central);
    m_picImageWindow->setObjectName(QStringLiteral("picImageWindow"));
    m_picImageWindow->setAutoFillBackground(true);
    QPalette black = m_picImageWindow->palette();
    black.setColor(QPalette::Window, Qt::black);
    m_picImageWindow->setPalette(black);
    m_picImageWindow->installEventFilter(this);
    m_picLogo = new QLabel(m_picImageWindow);
    m_picLogo->setObjectName(QStringLiteral("picLogo"));
    // Its picture comes with the others when the window loads.
    column->addWidget(m_picImageWindow, 1);

    m_coolBar = new CoolBar(central);
    QWidget *bands[CoolBar::kBands] = {buildControlPanel(), buildSeekPanel(),
                                       buildPlayListToolbar(), buildPlayListView(),
                                       buildInfoPanel()};
    for (int i = 0; i < CoolBar::kBands; ++i)
        m_coolBar->setBand(i + 1, bands[i], twipsToPixelsY(this, kBandHeights[i]));
    column->addWidget(m_coolBar);
    setCentralWidget(central);
}

QWidget *frmNormal::buildControlPanel()
{
    auto *picControl = new QWidget(this);
    picControl->setObjectName(QStringLiteral("picControl"));
    auto *row = new QHBoxLayout(picControl);
    row->setContentsMargins(2, 0, 6, 0);
    m_tobControl = new QToolBar(picControl);
    m_tobControl->setObjectName(QStringLiteral("tobControl"));
    const QString keys[] = {QStringLiteral("play"),    QStringLiteral("pause"),
                            QStringLiteral("stop"),    QStringLiteral("reverse"),
                            QStringLiteral("forward"), QStringLiteral("sound")};
    for (int i = 0; i < 6; ++i) {
        QAction *action = addButton(m_tobControl, keys[i]);
        action->setCheckable(i < 3 || i == 5);
    }
    connect(m_tobControl, &QToolBar::actionTriggered, this, [this](QAction *action) {
        const QString key = action->data().toString().toLower();
        if (key == QStringLiteral("sound"))
            runSoundAction();
        else if (m_session && !refusedWhileBusy())
            m_session->tobControl_ButtonClick(key);
    });
    row->addWidget(m_tobControl);
    m_silVolume = new QSlider(Qt::Horizontal, picControl);
    m_silVolume->setObjectName(QStringLiteral("silVolume"));
    m_silVolume->setRange(0, 1000);
    m_silVolume->setValue(1000);
    // An arrow key moves the volume by 2 %, a wheel notch (three steps) by
    // 6 %: with Qt's step of one thousandth a notch did next to nothing.
    m_silVolume->setSingleStep(20);
    m_silVolume->setPageStep(100);
    auto *jump = new JumpToClickStyle;
    jump->setParent(m_silVolume);
    m_silVolume->setStyle(jump);
    // Every move the user makes reaches the mixer at once: a click, a drag,
    // the keys, the wheel.
    connect(m_silVolume, &QSlider::valueChanged, this, [this] { setVolumeFromControls(); });
    row->addWidget(m_silVolume, 1);
    return picControl;
}

QWidget *frmNormal::buildSeekPanel()
{
    auto *picSeek = new QWidget(this);
    picSeek->setObjectName(QStringLiteral("picSeek"));
    auto *rows = new QVBoxLayout(picSeek);
    rows->setContentsMargins(4, 2, 4, 2);
    rows->setSpacing(0);
    m_silSeek = new QSlider(Qt::Horizontal, picSeek);
    m_silSeek->setObjectName(QStringLiteral("silSeek"));
    m_silSeek->setEnabled(false);
    auto *style = new JumpToClickStyle;
    style->setParent(m_silSeek);
    m_silSeek->setStyle(style);
    m_lblStatus = new StatusLabel(picSeek);
    m_lblStatus->setObjectName(QStringLiteral("lblStatus"));
    rows->addWidget(m_silSeek);
    rows->addWidget(m_lblStatus);
    return picSeek;
}

QWidget *frmNormal::buildPlayListToolbar()
{
    m_tobPlayList = new QToolBar(this);
    m_tobPlayList->setObjectName(QStringLiteral("tobPlayList"));
    addButton(m_tobPlayList, QStringLiteral("open_pl"));
    addButton(m_tobPlayList, QStringLiteral("save_pl"));
    m_tobPlayList->addSeparator();
    addButton(m_tobPlayList, QStringLiteral("add_pl"));
    addButton(m_tobPlayList, QStringLiteral("delete_pl"));
    addButton(m_tobPlayList, QStringLiteral("clear_pl"));
    m_tobPlayList->addSeparator();
    addButton(m_tobPlayList, QStringLiteral("down_pl"));
    addButton(m_tobPlayList, QStringLiteral("up_pl"));
    m_tobPlayList->addSeparator();
    addButton(m_tobPlayList, QStringLiteral("info"));
    connect(m_tobPlayList, &QToolBar::actionTriggered, this, [this](QAction *action) {
        const QString key = action->data().toString().toLower();
        static const QHash<QString, std::pair<int, int>> commands = {
            {QStringLiteral("open_pl"), {0, 1}},   {QStringLiteral("save_pl"), {0, 2}},
            {QStringLiteral("add_pl"), {1, 21}},   {QStringLiteral("delete_pl"), {1, 23}},
            {QStringLiteral("clear_pl"), {1, 24}}, {QStringLiteral("down_pl"), {1, 27}},
            {QStringLiteral("up_pl"), {1, 26}},    {QStringLiteral("info"), {1, 29}},
        };
        const auto it = commands.constFind(key);
        if (it == commands.constEnd())
            return;
        if (it->first == 0)
            ovmFile_MenuClick(it->second);
        else
            ovmPlayList_MenuClick(it->second);
    });
    return m_tobPlayList;
}

QWidget *frmNormal::buildPlayListView()
{
    m_lstPlayList = new QTreeView(this);
    m_lstPlayList->setObjectName(QStringLiteral("lstPlayList"));
    m_lstPlayList->setRootIsDecorated(false);
    m_lstPlayList->setUniformRowHeights(true);
    m_lstPlayList->setAlternatingRowColors(true);
    m_lstPlayList->setModel(m_model.get());
    m_lstPlayList->setSelectionModel(m_model->selectionModel());
    m_lstPlayList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lstPlayList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_lstPlayList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lstPlayList->setSortingEnabled(false);
    m_lstPlayList->header()->setSectionsClickable(true);
    m_lstPlayList->header()->setSortIndicatorShown(false); // shown once sorted
    // An explicit minimum keeps the header from measuring the font's widest
    // glyph, which costs milliseconds of every start.
    m_lstPlayList->header()->setMinimumSectionSize(twipsToPixelsX(this, 390));
    const int widths[] = {2540, 2540, 4374};
    for (int c = 0; c < 3; ++c)
        m_lstPlayList->setColumnWidth(c, twipsToPixelsX(this, widths[c]));
    m_lstPlayList->setAcceptDrops(false); // drops land on the window
    connect(m_lstPlayList, &QTreeView::clicked, this, [this] { lstPlayList_ItemClick(); });
    connect(m_lstPlayList, &QTreeView::doubleClicked, this, [this] { lstPlayList_DblClick(); });
    connect(m_lstPlayList->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        // The header flips its own indicator before it reports the click,
        // so the sort state is ours, not read back from the header.
        if (m_sorted && m_sortColumn == column) {
            m_sortOrder =
                m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
        } else {
            m_sorted = true;
            m_sortColumn = column;
            m_sortOrder = Qt::AscendingOrder;
        }
        QHeaderView *header = m_lstPlayList->header();
        header->setSortIndicatorShown(true);
        header->setSortIndicator(column, m_sortOrder);
        m_model->sort(column, m_sortOrder);
    });
    return m_lstPlayList;
}

QWidget *frmNormal::buildInfoPanel()
{
    auto *picInfo = new QWidget(this);
    picInfo->setObjectName(QStringLiteral("picInfo"));
    auto *box = new QVBoxLayout(picInfo);
    box->setContentsMargins(4, 0, 4, 4);
    m_fraInfo = new QGroupBox(picInfo);
    m_fraInfo->setObjectName(QStringLiteral("fraInfo"));
    auto *inside = new QVBoxLayout(m_fraInfo);
    inside->setContentsMargins(4, 2, 4, 4);
    m_txtInfo = new QPlainTextEdit(m_fraInfo);
    m_txtInfo->setObjectName(QStringLiteral("txtInfo"));
    m_txtInfo->setReadOnly(true);
    inside->addWidget(m_txtInfo);
    box->addWidget(m_fraInfo);
    return picInfo;
}

void frmNormal::applyPanelTexts()
{
    const QString section = QStringLiteral("Normal");
    for (const auto &[name, key] : kHintKeys) {
        const QString hint = GetText(section, QString::fromLatin1(key));
        const QString objectName = QString::fromLatin1(name);
        QAction *action = m_tobControl->findChild<QAction *>(objectName);
        if (!action)
            action = m_tobPlayList->findChild<QAction *>(objectName);
        if (action) {
            action->setText(hint);
            action->setToolTip(hint);
        } else if (auto *widget = findChild<QWidget *>(objectName)) {
            widget->setToolTip(hint);
        }
    }
    m_fraInfo->setTitle(GetText(section, QStringLiteral("fraInfo")));
    const QString list = QStringLiteral("Playlist");
    m_model->setHeaderTexts({GetText(list, QStringLiteral("hdrTitle")),
                             GetText(list, QStringLiteral("hdrAuthor")),
                             GetText(list, QStringLiteral("hdrFile"))});
}

} // namespace orvane::ui

#include "ui/main/frmnormal.h"

#include "adding/addmedia.h"
#include "core/busywork.h"
#include "core/commandline.h"
#include "core/inifile.h"
#include "core/language.h"
#include "core/logging.h"
#include "core/messagebox.h"
#include "core/modmain.h"
#include "core/programpaths.h"
#include "core/runsettings.h"
#include "core/screensaver.h"
#include "core/settingkeys.h"
#include "playback/controller.h"
#include "playback/eventpump.h"
#include "playback/gst/gstmediaplayer.h"
#include "playback/mixer/modmixer.h"
#include "playback/mpv/mpvrealplayer.h"
#include "playback/processing.h"
#include "playback/session.h"
#include "playback/status.h"
#include "playlist/locations.h"
#include "playlist/playlistmodel.h"
#include "playlist/playlistops.h"
#include "playlist/playliststore.h"
#include "playlist/sessionplaylist.h"
#include "ui/main/artwork.h"
#include "ui/main/controlbar.h"
#include "ui/main/droppedlocations.h"
#include "ui/main/mainmenus.h"
#include "ui/main/mprisservice.h"
#include "ui/main/nativewindow.h"
#include "ui/main/picturelayout.h"
#include "ui/main/statuslabel.h"
#include "ui/main/twips.h"
#include "ui/main/widgetcontrols.h"
#include "ui/main/windowsettings.h"
#include "ui/toolkit/commondialog.h"
#include "ui/toolkit/modhtmlhelp.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QIcon>
#include <QLabel>
#include <QMimeData>
#include <QSlider>
#include <QWindow>

namespace orvane::ui {

using namespace orvane::core;

frmNormal::frmNormal(QWidget *parent)
    : QMainWindow(parent)
    , m_model(std::make_unique<playlist::PlayListModel>())
{
    setWindowTitle(kApplicationTitle);
    setObjectName(QStringLiteral("frmNormal"));
    setAcceptDrops(true);
    buildPanels();
    m_seekBar = std::make_unique<SliderSeekBar>(m_silSeek);
    m_statusLine = std::make_unique<LabelStatusLine>(m_lblStatus);
    connect(m_coolBar, &CoolBar::heightChanged, this, &frmNormal::CoolBar_HeightChanged);
}

frmNormal::~frmNormal()
{
    // The session and the loop refer to the engines: they go first.
    m_processing.reset();
    m_session.reset();
}

void frmNormal::createEngines()
{
    m_mediaPlayer = std::make_unique<playback::gst::GstMediaPlayer>();
    m_realPlayer = std::make_unique<playback::mpv::MpvRealPlayer>();
    m_mediaPlayerView =
        QWidget::createWindowContainer(m_mediaPlayer->videoWindow(), m_picImageWindow);
    m_realPlayerView =
        QWidget::createWindowContainer(m_realPlayer->videoWindow(), m_picImageWindow);
    setNativeBackground(m_mediaPlayer->videoWindow(), Qt::black);
    setNativeBackground(m_realPlayer->videoWindow(), Qt::black);
    m_mediaPlayerView->setObjectName(QStringLiteral("MediaPlayer"));
    m_realPlayerView->setObjectName(QStringLiteral("RealPlayer"));
    m_session = std::make_unique<playback::PlaybackSession>(
        *m_mediaPlayer, *m_realPlayer, *m_model, m_seekBar.get(), m_statusLine.get(), this);
    m_session->connectEngines();
    connect(m_model.get(), &playlist::PlayListModel::checkStateEdited, this,
            [this] { m_session->PlayListChanged(); });
    // The item prepared behind the playing one must still be the next.
    const auto listChanged = [this] { m_session->PlayListChanged(); };
    QAbstractItemModel *model = m_model.get();
    connect(model, &QAbstractItemModel::rowsInserted, this, listChanged);
    connect(model, &QAbstractItemModel::rowsRemoved, this, listChanged);
    connect(model, &QAbstractItemModel::rowsMoved, this, listChanged);
    connect(model, &QAbstractItemModel::modelReset, this, listChanged);
    connect(model, &QAbstractItemModel::layoutChanged, this, listChanged);
    connect(model, &QAbstractItemModel::dataChanged, this, listChanged);
    // A press on the groove has moved the handle already: it starts the drag.
    connect(m_silSeek, &QSlider::sliderPressed, this, [this] { m_session->silSeek_Scroll(); });
    connect(m_silSeek, &QSlider::sliderMoved, this, [this] { m_session->silSeek_Scroll(); });
    connect(m_silSeek, &QSlider::sliderReleased, this, [this] { m_session->silSeek_Change(); });
    // The wheel, the keys and a page step move the bar without a drag to
    // end: they seek too, or the next refresh puts the bar back. The value
    // follows the action once the signal has returned.
    connect(m_silSeek, &QAbstractSlider::actionTriggered, this, [this] {
        if (!m_silSeek->isSliderDown())
            QMetaObject::invokeMethod(
                this, [this] { m_session->silSeek_Step(); }, Qt::QueuedConnection);
    });
}

void frmNormal::Form_Load()
{
    if (modMain::IsSecondInstance || m_loaded)
        return;
    m_loaded = true;
    QCoreApplication::processEvents();
    modMain::MainForm = this;
    toolkit::HelpInitialize(this);
    m_settingsFile = settingsFile();
    m_lblStatus->setText(GetText(QStringLiteral("Normal"), QStringLiteral("mesLoading")));
    loadPictures();
    applyPanelTexts();
    // The desktop's own picture where its theme has one, so the mark looks
    // like every other player's.
    m_model->setPlayingMark(QIcon::fromTheme(QStringLiteral("media-playback-start"),
                                             toolbarIcon(QStringLiteral("play"))),
                            GetText(QStringLiteral("Status"), QStringLiteral("mesPlaying")));
    BuildMenus();
    core::runSettings().readAtWindowLoad(m_settingsFile);
    installCaption();
    applyPanelSettings();
    const QString command = NormalizeCommand(playlist::OwnAbsoluteCommandLine());
    if (!command.isEmpty()) {
        modMain::PendingCommand.push(command);
        qCInfo(lcInstance).noquote() << "queued:" << command;
    } else {
        // Given no files, the user goes on with the last run's list; it
        // waits for a play command like a list opened by hand.
        playlist::RestoreSessionPlayList(*m_model, m_settingsFile);
    }
    // The engines, the media-key service and the processing start once the
    // window is on the screen: none of them is needed to draw it, and
    // starting them first would keep the user waiting for the window.
    winId();
    windowHandle()->installEventFilter(this);
}

void frmNormal::finishLoad()
{
    if (m_session || m_unloaded)
        return;
    createEngines();
    playback::ResetEngines(*m_mediaPlayer, *m_realPlayer, m_seekBar.get(), true);
    LayoutPictureArea();
    watchMixer();
    m_mpris = new MprisService(*this, QDBusConnection::sessionBus(), this);
    m_lblStatus->setText(playback::readyText());
    startProcessing();
}

void frmNormal::startProcessing()
{
    core::RunSettings &run = core::runSettings();
    modMain::ProcessingMode = run.processingMode();
    modMain::ProcessingEnabled = true;
    modMain::QuitProcessing = false;
    m_processing = std::make_unique<playback::ProcessingLoop>(
        *m_session, [this](const QString &locations) { addMedia(locations); });
    m_session->setProcessing(m_processing.get());
    m_processing->start(modMain::ProcessingMode, run.processingInterval());
    // A new interval from the options dialog applies at once.
    connect(&run, &core::RunSettings::processingIntervalChanged, m_processing.get(),
            [this](int ms) { m_processing->timer().setInterval(ms); });
}

void frmNormal::addMedia(const QString &locations)
{
    adding::AddMedia(locations, *m_mediaPlayer, *m_realPlayer, *m_model, m_seekBar.get(), this);
    if (m_closeWhenIdle && !core::isBusy()) {
        m_closeWhenIdle = false;
        close();
        return;
    }
    playbackChanged();
}

void frmNormal::Form_QueryUnload()
{
    if (modMain::IsSecondInstance || m_unloaded)
        return;
    m_unloaded = true;
    if (m_processing)
        m_processing->stop();
    playback::CancelLoadWait(); // a load wait in progress ends with the window
    modMain::QuitProcessing = true;
    modMain::ProcessingEnabled = false;
    if (m_loaded) {
        // The picture size is the one the normal window last had: a
        // maximised or minimised window writes its state alone.
        writeWindowPosition(m_settingsFile, {windowStateCode(), float(x() * twipsPerPixelX(this)),
                                             float(y() * twipsPerPixelY(this)),
                                             float(m_picture.width()), float(m_picture.height())});
        PanelVisibility panels;
        panels.bar = barVisible();
        for (int band = 1; band <= CoolBar::kBands; ++band)
            panels.bands[size_t(band - 1)] = m_coolBar->isBandVisible(band);
        writeShowSettingOnClose(m_settingsFile, panels);
        playlist::SaveSessionPlayList(*m_model, m_settingsFile);
    }
    if (m_menus)
        m_menus->RemoveKeys();
    removeCaption();
    toolkit::HelpUninitialize(this);
    if (m_session)
        playback::ResetEngines(*m_mediaPlayer, *m_realPlayer, m_seekBar.get(), true);
    RestoreScreenSaver(m_settingsFile);
    modMain::MainForm = nullptr;
}

void frmNormal::Form_LinkExecute(const QString &commandText, int &cancel)
{
    const QString normalised = NormalizeCommand(commandText);
    if (!normalised.isEmpty()) {
        modMain::PendingCommand.push(normalised);
        qCInfo(lcInstance).noquote() << "queued:" << normalised;
    }
    cancel = 0;
    // Starting the program again is how a user looks for its window: a
    // minimised one comes back.
    raise();
}

void frmNormal::closeEvent(QCloseEvent *event)
{
    // Media being added holds the engines and the list until its walk
    // returns, which a closing window cuts short: the window closes then.
    if (core::isBusy()) {
        core::cancelBusyWork();
        m_closeWhenIdle = true;
        // The error log of the walk goes with the window.
        if (QWidget *modal = QApplication::activeModalWidget(); modal && modal != this)
            modal->close();
        event->ignore();
        return;
    }
    Form_QueryUnload();
    event->accept();
}

bool frmNormal::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_picImageWindow && event->type() == QEvent::Resize)
        LayoutPictureArea();
    if (watched == windowHandle() && event->type() == QEvent::Expose && !m_session) {
        windowHandle()->removeEventFilter(this);
        QMetaObject::invokeMethod(this, &frmNormal::finishLoad, Qt::QueuedConnection);
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmNormal::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void frmNormal::dropEvent(QDropEvent *event)
{
    const QString names = DroppedLocationList(*event->mimeData());
    if (names.isEmpty())
        return;
    modMain::PendingCommand.push(names);
    event->acceptProposedAction();
}

} // namespace orvane::ui

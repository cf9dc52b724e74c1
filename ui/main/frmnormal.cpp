#include "ui/main/frmnormal.h"

#include "adding/addmedia.h"
#include "core/commandline.h"
#include "core/inifile.h"
#include "core/language.h"
#include "core/logging.h"
#include "core/messagebox.h"
#include "core/modmain.h"
#include "core/programpaths.h"
#include "core/screensaver.h"
#include "core/settingkeys.h"
#include "playback/controller.h"
#include "playback/eventpump.h"
#include "playback/gst/gstmediaplayer.h"
#include "playback/mpv/mpvrealplayer.h"
#include "playback/processing.h"
#include "playback/session.h"
#include "playlist/playlistmodel.h"
#include "playlist/playlistops.h"
#include "playlist/playliststore.h"
#include "ui/main/controlbar.h"
#include "ui/main/mprisservice.h"
#include "ui/main/picturelayout.h"
#include "ui/main/twips.h"
#include "ui/main/widgetcontrols.h"
#include "ui/main/windowsettings.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QLabel>
#include <QMimeData>
#include <QSlider>
#include <QUrl>
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
    m_mediaPlayerView->setObjectName(QStringLiteral("MediaPlayer"));
    m_realPlayerView->setObjectName(QStringLiteral("RealPlayer"));
    m_session = std::make_unique<playback::PlaybackSession>(
        *m_mediaPlayer, *m_realPlayer, *m_model, m_seekBar.get(), m_statusLine.get(), this);
    m_session->connectEngines();
    connect(m_model.get(), &playlist::PlayListModel::checkStateEdited, this,
            [](const QString &key, bool checked) {
                const int index = playlist::IndexFromKey(nullptr, key);
                if (index >= 0 && index < playlist::PlayList.size())
                    playlist::PlayList[index].DOPLAY = checked ? -1 : 0;
            });
    connect(m_silSeek, &QSlider::sliderMoved, this, [this] { m_session->silSeek_Scroll(); });
    connect(m_silSeek, &QSlider::sliderReleased, this, [this] { m_session->silSeek_Change(); });
}

void frmNormal::Form_Load()
{
    if (modMain::IsSecondInstance || m_loaded)
        return;
    m_loaded = true;
    QCoreApplication::processEvents();
    modMain::MainForm = this;
    m_settingsFile = settingsFile();
    m_lblStatus->setText(GetText(QStringLiteral("Normal"), QStringLiteral("mesLoading")));
    m_model->setHeaderTexts(
        {QStringLiteral("Title"), QStringLiteral("Author"), QStringLiteral("File")});
    applyPanelSettings();
    const QString command = NormalizeCommand(ownCommandLine());
    if (!command.isEmpty()) {
        modMain::PendingCommand.push(command);
        qCInfo(lcInstance).noquote() << "queued:" << command;
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
    m_mpris = new MprisService(*this, QDBusConnection::sessionBus(), this);
    m_lblStatus->setText(GetText(QStringLiteral("Status"), QStringLiteral("mesReady")));
    startProcessing();
}

void frmNormal::applyPanelSettings()
{
    const WindowPosition current{kStateNormal, float(x() * twipsPerPixelX(this)),
                                 float(y() * twipsPerPixelY(this)), 5655, 4305};
    const WindowPosition pos = readWindowPosition(m_settingsFile, current);
    const PanelMode mode = readPanelMode(m_settingsFile);
    if (mode == PanelMode::Memorize || mode == PanelMode::Customize) {
        const PanelVisibility panels = readShowSetting(m_settingsFile);
        for (int band = 1; band <= CoolBar::kBands; ++band)
            m_coolBar->setBandVisible(band, panels.bands[size_t(band - 1)]);
        m_coolBar->setVisible(panels.bar);
    }
    const int barHeight =
        m_coolBar->isVisible() || mode == PanelMode::All ? m_coolBar->barHeight() : 0;
    const QSize picture(twipsToPixelsX(this, pos.pictureWidth),
                        twipsToPixelsY(this, pos.pictureHeight));
    setMinimumSize(twipsToPixelsX(this, 5655), twipsToPixelsY(this, 4305) + barHeight);
    resize(picture.width(), picture.height() + barHeight);
    if (pos.state == kStateNormal)
        move(twipsToPixelsX(this, pos.left), twipsToPixelsY(this, pos.top));
    else if (pos.state == kStateMaximised)
        setWindowState(Qt::WindowMaximized);
}

void frmNormal::startProcessing()
{
    qint32 mode = 1;
    IniReadWrite(settings::kGeneral, settings::kProcessingMode, mode, m_settingsFile, false);
    qint32 interval = 500;
    if (mode == 0)
        IniReadWrite(settings::kGeneral, settings::kProcessingInterval, interval, m_settingsFile,
                     false);
    modMain::ProcessingMode = mode == 0 ? 0 : 1;
    modMain::ProcessingEnabled = true;
    modMain::QuitProcessing = false;
    m_processing = std::make_unique<playback::ProcessingLoop>(
        *m_session, [this](const QString &locations) { addMedia(locations); });
    m_session->setProcessing(m_processing.get());
    m_processing->start(modMain::ProcessingMode, std::max(1, int(interval)));
}

void frmNormal::addMedia(const QString &locations)
{
    adding::AddMedia(locations, *m_mediaPlayer, *m_realPlayer, *m_model, m_seekBar.get(), this);
    if (m_mpris)
        m_mpris->refresh();
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
    if (m_session) {
        const bool normal = !(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized));
        const qint32 state = windowState() & Qt::WindowMinimized   ? kStateMinimised
                             : windowState() & Qt::WindowMaximized ? kStateMaximised
                                                                   : kStateNormal;
        writeWindowPosition(m_settingsFile,
                            {normal ? kStateNormal : state, float(x() * twipsPerPixelX(this)),
                             float(y() * twipsPerPixelY(this)),
                             float(m_picImageWindow->width() * twipsPerPixelX(this)),
                             float(m_picImageWindow->height() * twipsPerPixelY(this))});
        PanelVisibility panels;
        panels.bar = m_coolBar->isVisible();
        for (int band = 1; band <= CoolBar::kBands; ++band)
            panels.bands[size_t(band - 1)] = m_coolBar->isBandVisible(band);
        writeShowSettingOnClose(m_settingsFile, panels);
        playback::ResetEngines(*m_mediaPlayer, *m_realPlayer, m_seekBar.get(), true);
    }
    RestoreScreenSaver(m_settingsFile);
    modMain::MainForm = nullptr;
}

void frmNormal::Form_LinkExecute(const QString &commandText, int &cancel)
{
    const QString normalised = NormalizeCommand(commandText);
    if (!normalised.isEmpty())
        modMain::PendingCommand.push(normalised);
    qCInfo(lcInstance).noquote() << "queued:" << normalised;
    cancel = 0;
}

void frmNormal::closeEvent(QCloseEvent *event)
{
    Form_QueryUnload();
    event->accept();
}

void frmNormal::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    LayoutPictureArea();
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

void frmNormal::LayoutPictureArea()
{
    if (!m_picImageWindow || isMinimized())
        return;
    PictureLayoutInput in;
    const double tx = twipsPerPixelX(this);
    const double ty = twipsPerPixelY(this);
    in.width = m_picImageWindow->width() * tx;
    in.height = m_picImageWindow->height() * ty;
    in.loadedMediaType = playback::state::LoadedMediaType;
    in.sizeMode = m_pictureSizeMode;
    in.logo = QSizeF(m_picLogo->width() * tx, m_picLogo->height() * ty);
    in.twipsPerPixel = QPointF(tx, ty);
    if (m_realPlayer)
        in.clipPixels = QSize(m_realPlayer->clipWidth(), m_realPlayer->clipHeight());
    const PictureLayout out = computePictureLayout(in);
    const auto place = [tx, ty](QWidget *w, const std::optional<Placement> &p) {
        if (!w || !p)
            return;
        w->setGeometry(QRectF(p->rect.left() / tx, p->rect.top() / ty, p->rect.width() / tx,
                              p->rect.height() / ty)
                           .toRect());
        w->setVisible(p->visible);
    };
    place(m_mediaPlayerView, out.mediaPlayer);
    place(m_realPlayerView, out.realPlayer);
    place(m_picLogo, out.logo);
    if (out.mediaPlayerDisplaySize && m_mediaPlayer)
        m_mediaPlayer->setDisplaySize(*out.mediaPlayerDisplaySize);
}

void frmNormal::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void frmNormal::dropEvent(QDropEvent *event)
{
    QStringList names;
    for (const QUrl &url : event->mimeData()->urls())
        names.append(url.isLocalFile() ? url.toLocalFile() : url.toString());
    if (names.isEmpty())
        return;
    modMain::PendingCommand.push(names.join(QLatin1Char('|')));
    event->acceptProposedAction();
}

} // namespace orvane::ui

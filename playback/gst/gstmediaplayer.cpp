#include "playback/gst/gstmediaplayer.h"

#include "core/textcodec.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QUrl>
#include <QWindow>

#include <gst/gst.h>
#include <gst/pbutils/missing-plugins.h>
#include <gst/video/video.h>
#include <gst/video/videooverlay.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <mutex>
#include <utility>

Q_LOGGING_CATEGORY(lcGst, "orvane.playback.gst", QtWarningMsg)

namespace orvane::playback::gst {

namespace {

bool ensureGstreamer()
{
    static std::once_flag once;
    static bool ok = false;
    std::call_once(once, [] {
        GError *error = nullptr;
        ok = gst_init_check(nullptr, nullptr, &error);
        if (!ok) {
            qCWarning(lcGst) << "GStreamer did not start:" << (error ? error->message : "");
            g_clear_error(&error);
        }
    });
    return ok;
}

QString envOr(const char *name, const QString &fallback)
{
    const QByteArray value = qgetenv(name);
    return value.isEmpty() ? fallback : QString::fromLocal8Bit(value);
}

GstElement *makeBin(const QString &description)
{
    GError *error = nullptr;
    GstElement *bin =
        gst_parse_bin_from_description(description.toUtf8().constData(), TRUE, &error);
    if (!bin) {
        qCWarning(lcGst) << "cannot build" << description << (error ? error->message : "");
        g_clear_error(&error);
    }
    return bin;
}

constexpr double kNanosPerSecond = 1e9;
// playbin's GstPlayFlags (not in a public header).
constexpr gint kPlayFlagText = 0x4;

bool hasScheme(const QString &text)
{
    const qsizetype colon = text.indexOf(QStringLiteral("://"));
    return colon > 1;
}

// The local path behind a location, or "" for anything that is not local.
QString localPathOf(const QString &location)
{
    if (location.startsWith(QStringLiteral("file://"), Qt::CaseInsensitive)) {
        QString rest = location.mid(7);
        if (rest.startsWith(QStringLiteral("localhost/"), Qt::CaseInsensitive))
            rest = rest.mid(9);
        // Our own locations keep the path as it is; URLs written by other
        // programs (in .asx files) may encode it.
        if (rest.contains(QLatin1Char('%')) && !QFileInfo::exists(rest))
            rest = QUrl::fromPercentEncoding(rest.toUtf8());
        return rest;
    }
    if (hasScheme(location))
        return {};
    return location;
}

struct FileCheck {
    qint32 code = MediaPlayer::NoError;
    QString why;
};

// GStreamer would block on a FIFO or device and report vague errors for
// folders and empty files: decide those before it sees the file.
FileCheck checkLocalFile(const QString &path)
{
    struct stat st {
    };
    const QByteArray native = QFile::encodeName(path);
    if (!path.startsWith(QLatin1Char('/')) || ::stat(native.constData(), &st) != 0) {
        if (errno == EACCES)
            return {MediaPlayer::ErrorAccessDenied, QStringLiteral("The file cannot be read.")};
        return {MediaPlayer::ErrorFileNotFound, QStringLiteral("The file was not found.")};
    }
    if (S_ISDIR(st.st_mode))
        return {MediaPlayer::ErrorNotMediaFile, QStringLiteral("The location is a folder.")};
    if (!S_ISREG(st.st_mode))
        return {MediaPlayer::ErrorNotMediaFile, QStringLiteral("The location is not a file.")};
    if (st.st_size == 0)
        return {MediaPlayer::ErrorNotMediaFile, QStringLiteral("The file is empty.")};
    if (::access(native.constData(), R_OK) != 0)
        return {MediaPlayer::ErrorAccessDenied, QStringLiteral("The file cannot be read.")};
    return {};
}

// remote: a stream that has not opened yet; its source often reports no
// more than a failed data flow when the server cannot be reached.
qint32 errorCodeFor(const GError *error, bool remote, bool missingPlugin)
{
    if (missingPlugin)
        return MediaPlayer::ErrorUnsupported;
    if (error->domain == GST_RESOURCE_ERROR) {
        switch (error->code) {
        case GST_RESOURCE_ERROR_NOT_FOUND:
            return remote ? MediaPlayer::ErrorNetwork : MediaPlayer::ErrorFileNotFound;
        case GST_RESOURCE_ERROR_NOT_AUTHORIZED:
            return MediaPlayer::ErrorAccessDenied;
        case GST_RESOURCE_ERROR_OPEN_READ:
        case GST_RESOURCE_ERROR_READ:
            return remote ? MediaPlayer::ErrorNetwork : MediaPlayer::ErrorAccessDenied;
        default:
            return remote ? MediaPlayer::ErrorNetwork : MediaPlayer::ErrorEngine;
        }
    }
    if (error->domain == GST_STREAM_ERROR) {
        switch (error->code) {
        case GST_STREAM_ERROR_TYPE_NOT_FOUND:
        case GST_STREAM_ERROR_WRONG_TYPE:
            return MediaPlayer::ErrorNotMediaFile;
        case GST_STREAM_ERROR_CODEC_NOT_FOUND:
        case GST_STREAM_ERROR_FORMAT:
            return MediaPlayer::ErrorUnsupported;
        default:
            return remote ? MediaPlayer::ErrorNetwork : MediaPlayer::ErrorDecode;
        }
    }
    if (error->domain == GST_CORE_ERROR && error->code == GST_CORE_ERROR_MISSING_PLUGIN)
        return MediaPlayer::ErrorUnsupported;
    return MediaPlayer::ErrorEngine;
}

QString tagString(const GstTagList *tags, const char *tag)
{
    if (!tags)
        return {};
    gchar *value = nullptr;
    if (!gst_tag_list_get_string(tags, tag, &value))
        return {};
    QString text = QString::fromUtf8(value).trimmed();
    g_free(value);
    return text;
}

void collectChapters(GList *entries, QList<double> &starts, int depth)
{
    for (GList *item = entries; item && depth < 8; item = item->next) {
        auto *entry = static_cast<GstTocEntry *>(item->data);
        if (gst_toc_entry_get_entry_type(entry) == GST_TOC_ENTRY_TYPE_CHAPTER) {
            gint64 start = -1;
            gint64 stop = -1;
            if (gst_toc_entry_get_start_stop_times(entry, &start, &stop) && start >= 0)
                starts.append(double(start) / kNanosPerSecond);
        }
        collectChapters(gst_toc_entry_get_sub_entries(entry), starts, depth + 1);
    }
}

} // namespace

// The window the X11 sink draws into. Qt never paints it; it only tells
// the engine when it changes size or must be drawn again.
class VideoWindow final : public QWindow
{
public:
    explicit VideoWindow(GstMediaPlayer *engine)
        : m_engine(engine)
    {
        setTitle(QStringLiteral("Orvane video"));
    }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QWindow::resizeEvent(event);
        m_engine->videoWindowResized();
    }
    void exposeEvent(QExposeEvent *event) override
    {
        QWindow::exposeEvent(event);
        if (isExposed())
            m_engine->videoWindowExposed();
    }

private:
    GstMediaPlayer *m_engine;
};

// What the bus handler may touch: fixed at creation, except the generation,
// which the GUI thread changes only while no streaming thread runs.
struct BusRelay {
    GstMediaPlayer *target = nullptr;
    GstElement *pipeline = nullptr;
    guintptr windowHandle = 0; // our video window, 0 without one
    std::atomic<quint64> generation{0};

    static GstBusSyncReply onMessage(GstBus *, GstMessage *message, gpointer data)
    {
        auto *relay = static_cast<BusRelay *>(data);
        // The sink asks for its window whenever it comes up from READY; it
        // must be answered here, on the asking thread, before it goes on.
        if (relay->windowHandle && gst_is_video_overlay_prepare_window_handle_message(message)) {
            gst_video_overlay_set_window_handle(GST_VIDEO_OVERLAY(GST_MESSAGE_SRC(message)),
                                                relay->windowHandle);
            return GST_BUS_DROP;
        }
        switch (GST_MESSAGE_TYPE(message)) {
        case GST_MESSAGE_ERROR:
        case GST_MESSAGE_WARNING:
        case GST_MESSAGE_EOS:
        case GST_MESSAGE_TAG:
        case GST_MESSAGE_TOC:
        case GST_MESSAGE_DURATION_CHANGED:
        case GST_MESSAGE_BUFFERING:
            break;
        case GST_MESSAGE_ASYNC_DONE:
            if (GST_MESSAGE_SRC(message) != GST_OBJECT_CAST(relay->pipeline))
                return GST_BUS_DROP;
            break;
        case GST_MESSAGE_ELEMENT:
            if (!gst_is_missing_plugin_message(message))
                return GST_BUS_DROP;
            break;
        default:
            return GST_BUS_DROP;
        }
        const quint64 generation = relay->generation.load(std::memory_order_acquire);
        std::shared_ptr<GstMessage> held(gst_message_ref(message), gst_message_unref);
        GstMediaPlayer *target = relay->target;
        QMetaObject::invokeMethod(
            target,
            [target, held, generation] { target->handleBusMessage(held.get(), generation); },
            Qt::QueuedConnection);
        return GST_BUS_DROP;
    }
};

GstMediaPlayer::GstMediaPlayer(const GstMediaPlayerOptions &options, QObject *parent)
    : MediaPlayer(parent)
    , m_options(options)
{
    m_openTimer.setSingleShot(true);
    m_openTimer.setInterval(qMax(100, m_options.openTimeoutMs));
    connect(&m_openTimer, &QTimer::timeout, this, &GstMediaPlayer::onOpenTimeout);
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        m_window = std::make_unique<VideoWindow>(this);
    if (ensureGstreamer())
        createPipeline();
}

GstMediaPlayer::~GstMediaPlayer()
{
    m_openTimer.stop();
    if (m_playbin) {
        gst_element_set_state(m_playbin, GST_STATE_NULL);
        GstBus *bus = gst_element_get_bus(m_playbin);
        gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
        gst_object_unref(bus);
        gst_object_unref(m_playbin);
    }
    for (GstElement *sink : {m_videoSink, m_audioSink, m_probeSink}) {
        if (sink)
            gst_object_unref(sink);
    }
    if (m_sizeFilter)
        gst_object_unref(m_sizeFilter);
    if (m_tags)
        gst_tag_list_unref(m_tags);
}

void GstMediaPlayer::createPipeline()
{
    GstElement *playbin = gst_element_factory_make("playbin", nullptr);
    const QString audioDesc = !m_options.audioSink.isEmpty()
                                  ? m_options.audioSink
                                  : envOr("ORVANE_GST_AUDIO_SINK", QStringLiteral("autoaudiosink"));
    GstElement *audioSink = makeBin(audioDesc);
    GstElement *probeSink = gst_element_factory_make("fakesink", nullptr);
    GstElement *videoSink = makeVideoSink();
    if (!playbin || !audioSink || !probeSink || !videoSink) {
        for (GstElement *e : {playbin, audioSink, probeSink, videoSink}) {
            if (e)
                gst_object_unref(gst_object_ref_sink(e));
        }
        qCWarning(lcGst) << "playbin could not be set up";
        return;
    }
    m_audioSink = GST_ELEMENT(gst_object_ref_sink(audioSink));
    m_probeSink = GST_ELEMENT(gst_object_ref_sink(probeSink));
    // Text subtitles are not part of what this engine shows.
    gint flags = 0;
    g_object_get(playbin, "flags", &flags, nullptr);
    flags &= ~kPlayFlagText;
    g_object_set(playbin, "flags", flags, "audio-sink", m_probeSink, "video-sink", videoSink,
                 nullptr);
    m_playbin = GST_ELEMENT(gst_object_ref_sink(playbin));
    m_relay = std::make_shared<BusRelay>();
    m_relay->target = this;
    m_relay->pipeline = m_playbin;
    if (m_videoSink)
        m_relay->windowHandle = guintptr(m_window->winId());
    GstBus *bus = gst_element_get_bus(m_playbin);
    gst_bus_set_sync_handler(bus, &BusRelay::onMessage, m_relay.get(), nullptr);
    gst_object_unref(bus);
    // Network sources give up instead of waiting for a network that is not
    // there; the open timer bounds everything else.
    g_signal_connect(m_playbin, "source-setup",
                     G_CALLBACK(+[](GstElement *, GstElement *source, gpointer) {
                         if (g_object_class_find_property(G_OBJECT_GET_CLASS(source), "timeout"))
                             g_object_set(source, "timeout", 5u, nullptr);
                     }),
                     nullptr);
}

GstElement *GstMediaPlayer::makeVideoSink()
{
    QString desc = !m_options.videoSink.isEmpty() ? m_options.videoSink
                                                  : envOr("ORVANE_GST_VIDEO_SINK", QString());
    const bool x11 = m_window && QGuiApplication::platformName() == QLatin1String("xcb");
    if (!desc.isEmpty() || !x11)
        return makeBin(desc.isEmpty() ? QStringLiteral("fakesink sync=true") : desc);

    // ximagesink does not scale (and Xvfb offers no Xv port for
    // xvimagesink), so the picture is scaled to the size the display size
    // asks for before it reaches the sink, which centres it in the window.
    GstElement *bin = makeBin(
        QStringLiteral("videoscale ! capsfilter name=size ! videoconvert ! ximagesink name=sink "
                       "handle-events=false"));
    if (!bin)
        return nullptr;
    m_sizeFilter = gst_bin_get_by_name(GST_BIN(bin), "size");
    m_videoSink = gst_bin_get_by_name(GST_BIN(bin), "sink");
    gst_video_overlay_set_window_handle(GST_VIDEO_OVERLAY(m_videoSink), m_window->winId());
    return bin;
}

QWindow *GstMediaPlayer::videoWindow()
{
    return m_window.get();
}

void GstMediaPlayer::setState(int state)
{
    if (state == m_state)
        return;
    const int old = m_state;
    m_state = state;
    if (m_sendStateEvents) {
        QMetaObject::invokeMethod(
            this, [this, old, state] { Q_EMIT playStateChanged(old, state); },
            Qt::QueuedConnection);
    }
}

void GstMediaPlayer::raiseError(qint32 code, const QString &description, bool fatal)
{
    qCDebug(lcGst) << "error" << Qt::hex << code << description << "fatal" << fatal;
    const QString recovery = fatal ? QStringLiteral("none") : QStringLiteral("continue");
    const bool send = fatal ? m_sendErrorEvents : m_sendWarningEvents;
    if (!send) {
        m_hasError = true;
        m_errorCode = code;
        m_errorDescription = description;
        m_errorRecovery = recovery;
        return;
    }
    // The error becomes visible with its event, so whoever reads the
    // properties while waiting sees them together with the handler's verdict.
    const quint64 generation = m_generation;
    QMetaObject::invokeMethod(
        this,
        [this, generation, code, description, recovery] {
            if (generation != m_generation)
                return;
            m_hasError = true;
            m_errorCode = code;
            m_errorDescription = description;
            m_errorRecovery = recovery;
            Q_EMIT error();
        },
        Qt::QueuedConnection);
}

void GstMediaPlayer::resetMediaRecord()
{
    m_duration = 0.0;
    m_durationValid = false;
    m_canSeek = false;
    m_markers.clear();
    m_codecs.clear();
    m_videoSize = QSize();
    if (m_tags) {
        gst_tag_list_unref(m_tags);
        m_tags = nullptr;
    }
    m_missingPlugin.clear();
    m_lastWarning.clear();
    m_pendingWarnings.clear();
    m_prerolled = false;
    m_atEnd = false;
    m_needsRestart = false;
    m_joining = false;
    m_resumeAt = -1.0;
    m_seekTarget = -1.0;
    m_playsDone = 0;
    if (m_sizeFilter)
        g_object_set(m_sizeFilter, "caps", nullptr, nullptr);
    m_pictureSize = QSize();
}

void GstMediaPlayer::closeMedia()
{
    m_openTimer.stop();
    if (m_playbin)
        gst_element_set_state(m_playbin, GST_STATE_READY);
    // No streaming thread runs now: messages posted so far carry the old
    // generation and are dropped when they arrive.
    ++m_generation;
    if (m_relay)
        m_relay->generation.store(m_generation, std::memory_order_release);
    resetMediaRecord();
    m_uri.clear();
    m_asx = {};
    m_asxFolder.clear();
    m_entry = 0;
    m_ref = 0;
    m_hasError = false;
    m_errorCode = NoError;
    m_errorDescription.clear();
    m_errorRecovery.clear();
    m_target = Target::Stopped;
    setState(Closed);
}

void GstMediaPlayer::setFileName(const QString &location)
{
    closeMedia();
    m_fileName = location;
    if (location.isEmpty())
        return;
    if (!m_playbin) {
        raiseError(ErrorEngine, QStringLiteral("GStreamer is not available."), true);
        return;
    }
    const QString path = localPathOf(location);
    if (!path.isEmpty() && isAsxLocation(path)) {
        const FileCheck check = checkLocalFile(path);
        if (check.code != NoError) {
            raiseError(check.code, check.why, true);
            return;
        }
        QFile file(path);
        if (QFileInfo(path).size() > kMaxAsxFileSize || !file.open(QIODevice::ReadOnly)) {
            raiseError(ErrorPlaylist, QStringLiteral("The playlist cannot be read."), true);
            return;
        }
        const AsxResult asx = parseAsx(core::decodeText(file.readAll()).text);
        if (!asx.ok) {
            raiseError(ErrorPlaylist, QStringLiteral("The playlist cannot be used: ") + asx.error,
                       true);
            return;
        }
        m_asx = asx.playlist;
        m_asxFolder = QFileInfo(path).absolutePath();
        openEntry(1);
        return;
    }
    if (!path.isEmpty()) {
        const FileCheck check = checkLocalFile(path);
        if (check.code != NoError) {
            raiseError(check.code, check.why, true);
            return;
        }
        gchar *uri = gst_filename_to_uri(QFile::encodeName(path).constData(), nullptr);
        startPipeline(QString::fromUtf8(uri));
        g_free(uri);
        return;
    }
    startPipeline(location);
}

bool GstMediaPlayer::openEntry(int entry)
{
    m_entry = entry;
    m_ref = 0;
    return openRef();
}

// Tries the current entry's references from m_ref on; the first that can be
// handed to GStreamer is opened. A reference to another playlist is refused:
// that is how a playlist that names itself ends.
bool GstMediaPlayer::openRef()
{
    const QStringList refs = m_asx.entries.value(m_entry - 1).refs;
    FileCheck last{ErrorPlaylist, QStringLiteral("The entry names no media.")};
    for (; m_ref < refs.size(); ++m_ref) {
        const QString location = resolveAsxRef(m_asxFolder, refs.at(m_ref));
        if (isAsxLocation(location)) {
            last = {ErrorPlaylist, QStringLiteral("The playlist refers to another playlist.")};
            continue;
        }
        const QString path = localPathOf(location);
        if (path.isEmpty()) {
            startPipeline(location);
            return true;
        }
        last = checkLocalFile(path);
        if (last.code == NoError) {
            gchar *uri = gst_filename_to_uri(QFile::encodeName(path).constData(), nullptr);
            startPipeline(QString::fromUtf8(uri));
            g_free(uri);
            return true;
        }
    }
    m_uri.clear();
    raiseError(last.code, last.why, true);
    if (m_state != Closed)
        setState(Stopped);
    return false;
}

void GstMediaPlayer::startPipeline(const QString &uri)
{
    gst_element_set_state(m_playbin, GST_STATE_READY);
    ++m_generation;
    m_relay->generation.store(m_generation, std::memory_order_release);
    resetMediaRecord();
    // A muted engine is probing (adding media mutes it): it opens without
    // the sound output. Otherwise the output is there from the start, so
    // playing does not open the media a second time.
    useAudioOutput(m_target == Target::Playing || !m_muted);
    m_uri = uri;
    g_object_set(m_playbin, "uri", uri.toUtf8().constData(), nullptr);
    m_openTimer.start();
    const GstState goal = m_target == Target::Playing ? GST_STATE_PLAYING : GST_STATE_PAUSED;
    if (gst_element_set_state(m_playbin, goal) == GST_STATE_CHANGE_FAILURE) {
        // The element that failed posts its error first; only when it
        // posted none does this report stand.
        const quint64 generation = m_generation;
        QMetaObject::invokeMethod(
            this,
            [this, generation] {
                if (generation == m_generation && !m_prerolled && !m_uri.isEmpty())
                    onError(nullptr);
            },
            Qt::QueuedConnection);
    }
}

void GstMediaPlayer::onOpenTimeout()
{
    if (m_prerolled || m_uri.isEmpty())
        return;
    gst_element_set_state(m_playbin, GST_STATE_NULL);
    m_uri.clear();
    raiseError(ErrorTimeout, QStringLiteral("The media did not open in time."), true);
    if (m_state != Closed)
        setState(Stopped);
}

void GstMediaPlayer::handleBusMessage(GstMessage *message, quint64 generation)
{
    if (generation != m_generation || m_uri.isEmpty())
        return;
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ASYNC_DONE:
        m_seekTarget = -1.0; // a seek, if one was under way, has landed
        if (!m_prerolled)
            onPrerolled();
        else if (m_joining)
            onAudioOutputJoined();
        // A sink that went through READY forgets the window's size.
        videoWindowExposed();
        break;
    case GST_MESSAGE_EOS:
        onEndOfStream();
        break;
    case GST_MESSAGE_ERROR:
        onError(message);
        break;
    case GST_MESSAGE_WARNING:
        onWarning(message);
        break;
    case GST_MESSAGE_TAG: {
        GstTagList *tags = nullptr;
        gst_message_parse_tag(message, &tags);
        if (!m_tags)
            m_tags = gst_tag_list_new_empty();
        gst_tag_list_insert(m_tags, tags, GST_TAG_MERGE_KEEP);
        gst_tag_list_unref(tags);
        break;
    }
    case GST_MESSAGE_TOC:
        onToc(message);
        break;
    case GST_MESSAGE_DURATION_CHANGED:
        if (m_prerolled)
            readDuration();
        break;
    case GST_MESSAGE_BUFFERING: {
        gint percent = 100;
        gst_message_parse_buffering(message, &percent);
        onBuffering(percent);
        break;
    }
    case GST_MESSAGE_ELEMENT: {
        gchar *what = gst_missing_plugin_message_get_description(message);
        m_missingPlugin = QString::fromUtf8(what ? what : "");
        g_free(what);
        break;
    }
    default:
        break;
    }
}

void GstMediaPlayer::onWarning(GstMessage *message)
{
    GError *error = nullptr;
    gst_message_parse_warning(message, &error, nullptr);
    QString text = QString::fromUtf8(error ? error->message : "");
    g_clear_error(&error);
    if (text.isEmpty() && !m_missingPlugin.isEmpty())
        text = QStringLiteral("No decoder is installed for a stream of this media: ") +
               m_missingPlugin;
    if (text.isEmpty())
        text = QStringLiteral("A part of the media cannot be played.");
    // Playback goes on; say so once per media, not per buffer. Before the
    // media opened, wait: an error that ends the open may follow, and then
    // the warning is only noise.
    if (text == m_lastWarning || m_pendingWarnings.contains(text))
        return;
    if (m_prerolled) {
        m_lastWarning = text;
        raiseError(WarningRecoverable, text, false);
    } else {
        m_pendingWarnings.append(text);
    }
}

// Markers are the chapters of the media's table of contents.
void GstMediaPlayer::onToc(GstMessage *message)
{
    GstToc *toc = nullptr;
    gst_message_parse_toc(message, &toc, nullptr);
    QList<double> starts;
    collectChapters(gst_toc_get_entries(toc), starts, 0);
    gst_toc_unref(toc);
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    m_markers = starts;
}

void GstMediaPlayer::onPrerolled()
{
    m_prerolled = true;
    m_openTimer.stop();
    readDuration();
    readStreams();
    updatePictureSize();
    if (m_autoSize && m_window && m_videoSize.isValid())
        m_window->resize(m_videoSize);
    videoWindowExposed();
    for (const QString &warning : std::exchange(m_pendingWarnings, {})) {
        m_lastWarning = warning;
        raiseError(WarningRecoverable, warning, false);
    }
    if (m_state == Closed) {
        setState(Stopped);
        if (m_autoStart)
            m_target = Target::Playing;
    }
    if (m_target == Target::Playing) {
        if (m_audioOutputIn)
            gst_element_set_state(m_playbin, GST_STATE_PLAYING);
        else
            joinAudioOutput();
        setState(Playing);
    }
}

void GstMediaPlayer::onEndOfStream()
{
    if (!m_prerolled)
        return;
    ++m_playsDone;
    const bool again = m_playCount == 0 || m_playsDone < m_playCount;
    if (m_target == Target::Playing && again) {
        if (m_canSeek) {
            seekTo(0.0);
        } else {
            // A stream that cannot seek starts over from its beginning.
            gst_element_set_state(m_playbin, GST_STATE_READY);
            gst_element_set_state(m_playbin, GST_STATE_PLAYING);
        }
        return;
    }
    m_target = Target::Stopped;
    gst_element_set_state(m_playbin, GST_STATE_PAUSED);
    m_atEnd = true;
    if (m_autoRewind && m_canSeek)
        seekTo(0.0);
    setState(Stopped);
}

void GstMediaPlayer::onError(GstMessage *message)
{
    qint32 code = ErrorEngine;
    QString description = QStringLiteral("The media cannot be played.");
    if (message) {
        GError *error = nullptr;
        gchar *debug = nullptr;
        gst_message_parse_error(message, &error, &debug);
        if (error) {
            const bool remote = !m_prerolled && !m_uri.startsWith(QStringLiteral("file:"));
            code = errorCodeFor(error, remote, !m_missingPlugin.isEmpty());
            description = QString::fromUtf8(error->message);
        }
        qCDebug(lcGst) << "error from" << GST_OBJECT_NAME(GST_MESSAGE_SRC(message)) << description
                       << debug;
        g_clear_error(&error);
        g_free(debug);
    }
    if (!m_missingPlugin.isEmpty())
        description = QStringLiteral("No decoder is installed for this media: ") + m_missingPlugin;
    m_openTimer.stop();
    // READY is not enough after an error: playbin can keep a failed
    // typefinder that then answers for the next location too.
    gst_element_set_state(m_playbin, GST_STATE_NULL);
    if (!m_prerolled && m_entry > 0 && m_ref + 1 < m_asx.entries.value(m_entry - 1).refs.size()) {
        // An entry's further references are its alternatives.
        ++m_ref;
        openRef();
        return;
    }
    if (m_prerolled) {
        m_needsRestart = true;
    } else {
        m_uri.clear();
    }
    m_target = Target::Stopped;
    raiseError(code, description, true);
    if (m_state != Closed)
        setState(Stopped);
}

void GstMediaPlayer::onBuffering(int percent)
{
    if (!m_prerolled || m_target != Target::Playing)
        return;
    if (percent < 100 && m_state == Playing) {
        gst_element_set_state(m_playbin, GST_STATE_PAUSED);
        setState(Waiting);
    } else if (percent >= 100 && m_state == Waiting) {
        gst_element_set_state(m_playbin, GST_STATE_PLAYING);
        setState(Playing);
    }
}

void GstMediaPlayer::readDuration()
{
    gint64 length = -1;
    if (gst_element_query_duration(m_playbin, GST_FORMAT_TIME, &length) && length > 0) {
        m_duration = double(length) / kNanosPerSecond;
        m_durationValid = true;
    }
    GstQuery *query = gst_query_new_seeking(GST_FORMAT_TIME);
    if (gst_element_query(m_playbin, query)) {
        gboolean seekable = FALSE;
        gst_query_parse_seeking(query, nullptr, &seekable, nullptr, nullptr);
        m_canSeek = seekable;
    }
    gst_query_unref(query);
}

void GstMediaPlayer::readStreams()
{
    m_codecs.clear();
    struct Kind {
        const char *count;
        const char *tagsSignal;
        const char *codecTag;
        const char *unknown;
    };
    const Kind kinds[] = {
        {"n-audio", "get-audio-tags", GST_TAG_AUDIO_CODEC, "audio"},
        {"n-video", "get-video-tags", GST_TAG_VIDEO_CODEC, "video"},
    };
    for (const Kind &kind : kinds) {
        gint count = 0;
        g_object_get(m_playbin, kind.count, &count, nullptr);
        for (gint i = 0; i < count; ++i) {
            GstTagList *tags = nullptr;
            g_signal_emit_by_name(m_playbin, kind.tagsSignal, i, &tags);
            QString codec = tagString(tags, kind.codecTag);
            if (codec.isEmpty())
                codec = tagString(tags, GST_TAG_CODEC);
            if (codec.isEmpty())
                codec = QStringLiteral("Unknown %1 codec").arg(QLatin1StringView(kind.unknown));
            if (tags)
                gst_tag_list_unref(tags);
            m_codecs.append(codec);
        }
    }
    GstPad *pad = nullptr;
    g_signal_emit_by_name(m_playbin, "get-video-pad", 0, &pad);
    if (pad) {
        if (GstCaps *caps = gst_pad_get_current_caps(pad)) {
            GstVideoInfo info;
            if (gst_video_info_from_caps(&info, caps) && info.width > 0 && info.height > 0) {
                const int parN = qMax(1, info.par_n);
                const int parD = qMax(1, info.par_d);
                m_videoSize = QSize(int(qint64(info.width) * parN / parD), info.height);
            }
            gst_caps_unref(caps);
        }
        gst_object_unref(pad);
    }
}

void GstMediaPlayer::updatePictureSize()
{
    if (!m_sizeFilter || !m_videoSize.isValid() || !m_window)
        return;
    const qreal ratio = m_window->devicePixelRatio();
    QSize area = (QSizeF(m_window->size()) * ratio).toSize() - QSize(2 * m_border, 2 * m_border);
    QSize picture = m_videoSize;
    if (m_displaySize == DisplayDouble)
        picture *= 2;
    if (area.width() > 0 && area.height() > 0) {
        if (m_displaySize == DisplayFitToSize || picture.width() > area.width() ||
            picture.height() > area.height())
            picture = m_videoSize.scaled(area, Qt::KeepAspectRatio);
    }
    picture = picture.expandedTo(QSize(2, 2));
    if (picture == m_pictureSize)
        return;
    m_pictureSize = picture;
    GstCaps *caps = gst_caps_new_simple("video/x-raw", "width", G_TYPE_INT, picture.width(),
                                        "height", G_TYPE_INT, picture.height(),
                                        "pixel-aspect-ratio", GST_TYPE_FRACTION, 1, 1, nullptr);
    g_object_set(m_sizeFilter, "caps", caps, nullptr);
    gst_caps_unref(caps);
}

void GstMediaPlayer::videoWindowResized()
{
    updatePictureSize();
    videoWindowExposed();
}

// The sink learns the window's size only here (it takes no X events of
// its own, so the user interface keeps the mouse and keyboard).
void GstMediaPlayer::videoWindowExposed()
{
    if (m_videoSink)
        gst_video_overlay_expose(GST_VIDEO_OVERLAY(m_videoSink));
}

// Probing a location (open to stopped) never needs to be heard, and a real
// audio output costs several times the rest of the open (a sound server
// stream per preroll). So muted media opens into a fake sink and the real
// output joins on the first play: the pipeline is rebuilt in place and
// resumes where the position was.
void GstMediaPlayer::useAudioOutput(bool real)
{
    m_audioOutputIn = real;
    g_object_set(m_playbin, "audio-sink", real ? m_audioSink : m_probeSink, nullptr);
    // Silent anyway without the real output, which has no volume to mute.
    if (real)
        g_object_set(m_playbin, "mute", gboolean(m_muted), nullptr);
}

void GstMediaPlayer::joinAudioOutput()
{
    const double resumeAt = m_atEnd ? 0.0 : currentPosition();
    gst_element_set_state(m_playbin, GST_STATE_READY);
    ++m_generation;
    m_relay->generation.store(m_generation, std::memory_order_release);
    useAudioOutput(true);
    m_atEnd = false;
    m_needsRestart = false;
    m_joining = true;
    m_resumeAt = resumeAt > 0.001 ? resumeAt : -1.0;
    gst_element_set_state(m_playbin, m_resumeAt < 0.0 ? GST_STATE_PLAYING : GST_STATE_PAUSED);
}

void GstMediaPlayer::onAudioOutputJoined()
{
    if (m_resumeAt >= 0.0) {
        seekTo(m_resumeAt); // its own ASYNC_DONE comes back here
        m_resumeAt = -1.0;
        return;
    }
    m_joining = false;
    if (m_target == Target::Playing)
        gst_element_set_state(m_playbin, GST_STATE_PLAYING);
}

void GstMediaPlayer::play()
{
    if (m_uri.isEmpty())
        return;
    m_target = Target::Playing;
    if (m_state == Closed) {
        // Still opening: it starts as soon as it is ready, with sound.
        if (!m_audioOutputIn) {
            startPipeline(m_uri);
        } else {
            gst_element_set_state(m_playbin, GST_STATE_PLAYING);
        }
        return;
    }
    if (m_state == Stopped)
        m_playsDone = 0;
    if (!m_audioOutputIn) {
        joinAudioOutput();
        setState(Playing);
        return;
    }
    if (m_atEnd && m_canSeek)
        seekTo(0.0);
    m_atEnd = false;
    m_needsRestart = false;
    gst_element_set_state(m_playbin, GST_STATE_PLAYING);
    setState(Playing);
}

void GstMediaPlayer::pause()
{
    if (m_uri.isEmpty() || m_state == Closed || m_state == Paused)
        return;
    m_target = Target::Paused;
    gst_element_set_state(m_playbin, GST_STATE_PAUSED);
    setState(Paused);
}

void GstMediaPlayer::stop()
{
    if (m_state == Closed || m_state == Stopped)
        return;
    m_target = Target::Stopped;
    if (!m_needsRestart && !m_uri.isEmpty())
        gst_element_set_state(m_playbin, GST_STATE_PAUSED);
    setState(Stopped);
}

double GstMediaPlayer::currentPosition() const
{
    if (!m_prerolled || m_needsRestart)
        return 0.0;
    // Until a seek lands the pipeline answers with the old place or not at
    // all; the target is what the caller expects to read.
    if (m_seekTarget >= 0.0)
        return m_seekTarget;
    if (m_joining && m_resumeAt >= 0.0)
        return m_resumeAt;
    gint64 position = -1;
    if (!gst_element_query_position(m_playbin, GST_FORMAT_TIME, &position) || position < 0)
        return 0.0;
    return double(position) / kNanosPerSecond;
}

void GstMediaPlayer::seekTo(double seconds)
{
    const auto target = gint64(std::llround(qMax(0.0, seconds) * kNanosPerSecond));
    m_seekTarget = double(target) / kNanosPerSecond;
    if (!gst_element_seek_simple(m_playbin, GST_FORMAT_TIME,
                                 GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                 target))
        m_seekTarget = -1.0;
    m_atEnd = false;
}

void GstMediaPlayer::setCurrentPosition(double seconds)
{
    if (!m_prerolled || m_needsRestart || !m_canSeek || !std::isfinite(seconds))
        return;
    double target = qMax(0.0, seconds);
    if (m_durationValid)
        target = qMin(target, m_duration);
    if (m_joining) {
        m_resumeAt = target; // taken up once the pipeline is back
        return;
    }
    seekTo(target);
}

int GstMediaPlayer::currentMarker() const
{
    const double position = currentPosition() + 0.001;
    int marker = 0;
    for (int i = 0; i < m_markers.size() && m_markers.at(i) <= position; ++i)
        marker = i + 1;
    return marker;
}

void GstMediaPlayer::setCurrentMarker(int marker)
{
    if (marker < 1 || marker > m_markers.size())
        return;
    setCurrentPosition(m_markers.at(marker - 1));
}

void GstMediaPlayer::setPlayCount(int count)
{
    m_playCount = qMax(0, count);
}

void GstMediaPlayer::setCurrentEntry(qint32 entry)
{
    if (entry < 1 || entry > m_asx.entries.size() || entry == m_entry)
        return;
    m_hasError = false;
    m_errorCode = NoError;
    m_errorDescription.clear();
    m_errorRecovery.clear();
    m_lastWarning.clear();
    if (m_state == Paused)
        setState(Stopped);
    m_target = m_state == Playing || m_state == Waiting ? Target::Playing : Target::Stopped;
    openEntry(entry);
}

void GstMediaPlayer::setDisplaySize(int size)
{
    m_displaySize = size == DisplayDouble || size == DisplayFitToSize ? size : DisplayDefault;
    updatePictureSize();
}

void GstMediaPlayer::setVideoBorder(int pixels)
{
    m_border = qBound(0, pixels, 1000);
    updatePictureSize();
}

void GstMediaPlayer::setMuted(bool muted)
{
    m_muted = muted;
    if (m_playbin && m_audioOutputIn)
        g_object_set(m_playbin, "mute", gboolean(muted), nullptr);
}

QString GstMediaPlayer::mediaInfoString(int code) const
{
    const AsxEntry entry = m_asx.entries.value(m_entry - 1);
    QString fromEntry;
    QList<const char *> tags;
    QString fromPlaylist;
    switch (code) {
    case InfoTitle:
        fromEntry = entry.title;
        tags = {GST_TAG_TITLE};
        fromPlaylist = m_asx.title;
        break;
    case InfoAuthor:
        fromEntry = entry.author;
        tags = {GST_TAG_ARTIST, GST_TAG_ALBUM_ARTIST, GST_TAG_COMPOSER};
        fromPlaylist = m_asx.author;
        break;
    case InfoCopyright:
        fromEntry = entry.copyright;
        tags = {GST_TAG_COPYRIGHT};
        fromPlaylist = m_asx.copyright;
        break;
    case InfoDescription:
        fromEntry = entry.abstract;
        tags = {GST_TAG_DESCRIPTION, GST_TAG_COMMENT};
        fromPlaylist = m_asx.abstract;
        break;
    default:
        return {};
    }
    if (!fromEntry.isEmpty())
        return fromEntry;
    for (const char *tag : tags) {
        const QString value = tagString(m_tags, tag);
        if (!value.isEmpty())
            return value;
    }
    return fromPlaylist;
}

QString GstMediaPlayer::codecDescription(int codec) const
{
    return m_codecs.value(codec - 1);
}

void GstMediaPlayer::showDialog(int which)
{
    if (which != DialogStatistics && which != DialogOptions)
        return;
    QMetaObject::invokeMethod(
        this, [this, which] { Q_EMIT dialogRequested(which); }, Qt::QueuedConnection);
}

void GstMediaPlayer::aboutBox()
{
    QMetaObject::invokeMethod(
        this, [this] { Q_EMIT dialogRequested(DialogAbout); }, Qt::QueuedConnection);
}

EngineReport GstMediaPlayer::report(int which) const
{
    EngineReport out;
    auto yesNo = [](bool on) { return on ? QStringLiteral("yes") : QStringLiteral("no"); };
    auto row = [&out](const char *label, const QString &value) {
        out.rows.append({QString::fromLatin1(label), value});
    };
    switch (which) {
    case DialogStatistics: {
        out.title = QStringLiteral("Statistics");
        row("Location", m_fileName);
        row("State", playStateName(m_state));
        row("Position", QString::number(currentPosition(), 'f', 2) + QStringLiteral(" s"));
        row("Length", m_durationValid ? QString::number(m_duration, 'f', 2) + QStringLiteral(" s")
                                      : QStringLiteral("unknown"));
        row("Codecs", m_codecs.join(QStringLiteral(", ")));
        if (m_videoSize.isValid())
            row("Picture",
                QStringLiteral("%1 x %2").arg(m_videoSize.width()).arg(m_videoSize.height()));
        if (m_entry > 0)
            row("Entry", QStringLiteral("%1 of %2").arg(m_entry).arg(m_asx.entries.size()));
        if (m_videoSink) {
            GstStructure *stats = nullptr;
            g_object_get(m_videoSink, "stats", &stats, nullptr);
            guint64 rendered = 0;
            guint64 dropped = 0;
            if (stats) {
                gst_structure_get_uint64(stats, "rendered", &rendered);
                gst_structure_get_uint64(stats, "dropped", &dropped);
                gst_structure_free(stats);
            }
            row("Frames shown", QString::number(rendered));
            row("Frames dropped", QString::number(dropped));
        }
        if (m_hasError)
            row("Last error", m_errorDescription);
        break;
    }
    case DialogOptions:
        out.title = QStringLiteral("Options");
        row("Audio output", !m_options.audioSink.isEmpty()
                                ? m_options.audioSink
                                : envOr("ORVANE_GST_AUDIO_SINK", QStringLiteral("autoaudiosink")));
        row("Video output", m_videoSink ? QStringLiteral("X11 window") : QStringLiteral("none"));
        row("Open time limit",
            QString::number(m_openTimer.interval() / 1000.0) + QStringLiteral(" s"));
        row("Start automatically", yesNo(m_autoStart));
        row("Rewind at the end", yesNo(m_autoRewind));
        row("Fit window to clip", yesNo(m_autoSize));
        row("Muted", yesNo(m_muted));
        break;
    default: {
        out.title = QStringLiteral("About the media engine");
        gchar *version = gst_version_string();
        row("Engine", QStringLiteral("Orvane media engine on GStreamer playbin"));
        row("Version", QString::fromUtf8(version));
        g_free(version);
        break;
    }
    }
    return out;
}

} // namespace orvane::playback::gst

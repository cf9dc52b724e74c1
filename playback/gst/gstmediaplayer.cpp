#include "playback/gst/gstmediaplayer.h"
#include "playback/gst/gstmediaplayer_p.h"
#include "playback/gst/sourcetimeout.h"
#include "playback/gst/vcdsource.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <gst/gst.h>

#include <cmath>
#include <mutex>

Q_LOGGING_CATEGORY(lcGst, "orvane.playback.gst", QtWarningMsg)

namespace orvane::playback::gst {

namespace {

constexpr int kNetworkTimeoutSeconds = 5;

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
            return;
        }
        // Before any playbin exists, so each of them resolves the scheme.
        registerVideoCdSource();
    });
    return ok;
}

// playbin's GstPlayFlags (not in a public header).
constexpr gint kPlayFlagText = 0x4;

} // namespace

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
    cancelNextQuestion();
    if (m_playbin) {
        gst_element_set_state(m_playbin, GST_STATE_NULL);
        GstBus *bus = gst_element_get_bus(m_playbin);
        gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
        gst_object_unref(bus);
        gst_object_unref(m_playbin);
    }
    for (GstElement *sink :
         {m_videoSink, m_videoOutput, m_probeVideoSink, m_audioSink, m_probeSink}) {
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
    GstElement *probeVideoSink = gst_element_factory_make("fakesink", nullptr);
    if (!playbin || !audioSink || !probeSink || !videoSink || !probeVideoSink) {
        for (GstElement *e : {playbin, audioSink, probeSink, videoSink, probeVideoSink}) {
            if (e)
                gst_object_unref(gst_object_ref_sink(e));
        }
        qCWarning(lcGst) << "playbin could not be set up";
        return;
    }
    m_audioSink = GST_ELEMENT(gst_object_ref_sink(audioSink));
    m_probeSink = GST_ELEMENT(gst_object_ref_sink(probeSink));
    m_videoOutput = GST_ELEMENT(gst_object_ref_sink(videoSink));
    m_probeVideoSink = GST_ELEMENT(gst_object_ref_sink(probeVideoSink));
    // Text subtitles are not part of what this engine shows.
    gint flags = 0;
    g_object_get(playbin, "flags", &flags, nullptr);
    flags &= ~kPlayFlagText;
    g_object_set(playbin, "flags", flags, "audio-sink", m_probeSink, "video-sink", m_probeVideoSink,
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
                         setSourceTimeout(source, kNetworkTimeoutSeconds);
                     }),
                     nullptr);
    g_signal_connect(m_playbin, "about-to-finish", G_CALLBACK(&BusRelay::onAboutToFinish),
                     m_relay.get());
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
    cancelNextQuestion();
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

void GstMediaPlayer::startPipeline(const QString &uri)
{
    cancelNextQuestion();
    gst_element_set_state(m_playbin, GST_STATE_READY);
    ++m_generation;
    m_relay->generation.store(m_generation, std::memory_order_release);
    resetMediaRecord();
    // A muted engine is probing (adding media mutes it): it opens without
    // the real outputs. Otherwise they are there from the start, so playing
    // does not open the media a second time.
    useRealOutputs(m_target == Target::Playing || !m_muted);
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

// Probing a location (open to stopped) never needs to be heard or seen, and
// the real outputs cost many times the rest of the open: a sound server
// stream per preroll, and an X11 sink that playbin takes down to NULL with
// every location and brings up again, which means a new connection to the
// X server each time (some 50 ms on Xvfb, even for media without a
// picture). So muted media opens into fake sinks and the real outputs join
// on the first play: the pipeline is rebuilt in place and resumes where the
// position was.
void GstMediaPlayer::useRealOutputs(bool real)
{
    m_realOutputsIn = real;
    if (m_relay)
        m_relay->mayHandOver.store(real && m_nextProvider, std::memory_order_release);
    g_object_set(m_playbin, "audio-sink", real ? m_audioSink : m_probeSink, "video-sink",
                 real ? m_videoOutput : m_probeVideoSink, nullptr);
    // Silent anyway without the real output, which has no volume to mute.
    if (real)
        g_object_set(m_playbin, "mute", gboolean(m_muted), nullptr);
}

void GstMediaPlayer::joinRealOutputs()
{
    useRealOutputs(true);
    reopenAt(m_atEnd ? 0.0 : currentPosition());
}

// Opens the media again and takes it up at that position; playbin keeps
// nothing of what was prepared behind it.
void GstMediaPlayer::reopenAt(double seconds)
{
    cancelNextQuestion();
    gst_element_set_state(m_playbin, GST_STATE_READY);
    ++m_generation;
    m_relay->generation.store(m_generation, std::memory_order_release);
    g_object_set(m_playbin, "uri", m_uri.toUtf8().constData(), nullptr);
    m_atEnd = false;
    m_needsRestart = false;
    m_joining = true;
    m_resumeAt = seconds > 0.001 ? seconds : -1.0;
    const bool playing = m_resumeAt < 0.0 && m_target == Target::Playing;
    gst_element_set_state(m_playbin, playing ? GST_STATE_PLAYING : GST_STATE_PAUSED);
}

void GstMediaPlayer::onRealOutputsJoined()
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
        if (!m_realOutputsIn) {
            startPipeline(m_uri);
        } else {
            gst_element_set_state(m_playbin, GST_STATE_PLAYING);
        }
        return;
    }
    if (m_state == Stopped)
        m_playsDone = 0;
    if (!m_realOutputsIn) {
        joinRealOutputs();
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
    // A play asked for while the media still opens is cancelled too: the
    // pipeline is on its way to PLAYING and would start after the stop.
    const bool opening = (m_state == Closed || m_state == Stopped) && m_target == Target::Playing;
    if ((m_state == Closed || m_state == Stopped) && !opening)
        return;
    m_target = Target::Stopped;
    dropNextLocations();
    if (!m_needsRestart && !m_uri.isEmpty())
        gst_element_set_state(m_playbin, GST_STATE_PAUSED);
    if (!opening)
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
    // playbin may already be changing to what was handed over behind this
    // media, and a flushing seek into that change can leave it stalled:
    // the media is opened again at the target, and asked for its next
    // location anew.
    if (!m_handed.isEmpty()) {
        m_handed.clear();
        reopenAt(target);
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

void GstMediaPlayer::setMuted(bool muted)
{
    m_muted = muted;
    if (m_playbin && m_realOutputsIn)
        g_object_set(m_playbin, "mute", gboolean(muted), nullptr);
}

} // namespace orvane::playback::gst

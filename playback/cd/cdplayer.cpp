#include "playback/cd/cdplayer.h"

#include <gst/gst.h>

#include <QByteArray>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace orvane::playback {

namespace {

constexpr qint64 kFramesPerSecond = 75;
// A drive that spins up answers within this; one that does not is failed.
constexpr GstClockTime kStartBound = 15 * GST_SECOND;
constexpr auto kExitBound = std::chrono::seconds(2);

QByteArray sinkDescription()
{
    for (const char *name : {"ORVANE_CD_AUDIO_SINK", "ORVANE_GST_AUDIO_SINK"}) {
        const QByteArray value = qgetenv(name);
        if (!value.isEmpty())
            return value;
    }
    return QByteArrayLiteral("autoaudiosink");
}

// A CD plays on by itself for minutes: nothing waits on a short sink
// buffer, and the default 10 ms segments wake the reading and the sound
// server's threads a hundred times a second. Longer segments let them sleep.
constexpr gint64 kSinkBufferUs = 400000;
constexpr gint64 kSinkSegmentUs = 50000;

void lengthenSinkBuffer(GstBin *, GstBin *, GstElement *element, gpointer)
{
    GObjectClass *type = G_OBJECT_GET_CLASS(element);
    if (g_object_class_find_property(type, "buffer-time") &&
        g_object_class_find_property(type, "latency-time"))
        g_object_set(element, "buffer-time", kSinkBufferUs, "latency-time", kSinkSegmentUs,
                     nullptr);
}

const char *sourceFactory(bool drive)
{
    if (drive) {
        if (GstElementFactory *f = gst_element_factory_find("cdparanoiasrc")) {
            gst_object_unref(f);
            return "cdparanoiasrc";
        }
    }
    return "cdiocddasrc";
}

} // namespace

struct CdPlayer::Shared {
    mutable std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable finished;
    std::deque<std::function<void()>> jobs;
    bool quit = false;
    bool done = false;

    // Guarded by mutex; the pipeline is replaced by the worker only.
    GstElement *pipeline = nullptr;
    State state = State::Idle;
    qint64 startFrame = 0;
    QString error;

    // Worker only.
    QString source;
    int track = 0;

    void run();
    void post(std::function<void()> job);
    void setState(State s)
    {
        const std::lock_guard lock(mutex);
        state = s;
    }
    void fail(const QString &why)
    {
        const std::lock_guard lock(mutex);
        state = State::Failed;
        error = why;
    }

    bool build(bool drive);
    void teardown();
    void doPlay(const QString &src, bool drive, int t, qint64 frame);
    void doPause();
};

namespace {

GstBusSyncReply onBusMessage(GstBus *, GstMessage *message, gpointer data)
{
    auto *shared = static_cast<CdPlayer::Shared *>(data);
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS) {
        const std::lock_guard lock(shared->mutex);
        // An end that a new play has already overtaken is not the track's.
        if (shared->state == CdPlayer::State::Playing)
            shared->state = CdPlayer::State::Ended;
    } else if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
        GError *error = nullptr;
        gst_message_parse_error(message, &error, nullptr);
        shared->fail(QString::fromUtf8(error ? error->message : "unknown error"));
        g_clear_error(&error);
    }
    return GST_BUS_DROP;
}

} // namespace

void CdPlayer::Shared::run()
{
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(mutex);
            wake.wait(lock, [this] { return quit || !jobs.empty(); });
            if (jobs.empty())
                break;
            job = std::move(jobs.front());
            jobs.pop_front();
        }
        job();
    }
    teardown();
    const std::lock_guard lock(mutex);
    done = true;
    finished.notify_all();
}

void CdPlayer::Shared::post(std::function<void()> job)
{
    const std::lock_guard lock(mutex);
    jobs.push_back(std::move(job));
    wake.notify_one();
}

bool CdPlayer::Shared::build(bool drive)
{
    GstElement *pipe = gst_pipeline_new("orvane-cd");
    GstElement *src = gst_element_factory_make(sourceFactory(drive), nullptr);
    GstElement *convert = gst_element_factory_make("audioconvert", nullptr);
    GstElement *resample = gst_element_factory_make("audioresample", nullptr);
    GError *parseError = nullptr;
    GstElement *sink =
        gst_parse_bin_from_description(sinkDescription().constData(), TRUE, &parseError);
    g_clear_error(&parseError);
    if (!src || !convert || !resample || !sink) {
        for (GstElement *e : {pipe, src, convert, resample, sink}) {
            if (e)
                gst_object_unref(e);
        }
        fail(QStringLiteral("The GStreamer CD elements are missing."));
        return false;
    }
    g_object_set(src, "device", source.toLocal8Bit().constData(), "track", guint(track), nullptr);
    // The sink's own sink is made only when it starts, so watch the bin.
    g_signal_connect(pipe, "deep-element-added", G_CALLBACK(lengthenSinkBuffer), nullptr);
    gst_bin_add_many(GST_BIN(pipe), src, convert, resample, sink, nullptr);
    gst_element_link_many(src, convert, resample, sink, nullptr);
    GstBus *bus = gst_element_get_bus(pipe);
    gst_bus_set_sync_handler(bus, onBusMessage, this, nullptr);
    gst_object_unref(bus);
    const std::lock_guard lock(mutex);
    pipeline = pipe;
    return true;
}

void CdPlayer::Shared::teardown()
{
    GstElement *old = nullptr;
    {
        const std::lock_guard lock(mutex);
        old = std::exchange(pipeline, nullptr);
    }
    if (!old)
        return;
    gst_element_set_state(old, GST_STATE_NULL);
    GstBus *bus = gst_element_get_bus(old);
    gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
    gst_object_unref(bus);
    gst_object_unref(old);
}

void CdPlayer::Shared::doPlay(const QString &src, bool drive, int t, qint64 frame)
{
    GstElement *pipe = nullptr;
    {
        const std::lock_guard lock(mutex);
        pipe = pipeline;
    }
    if (!pipe || src != source || t != track) {
        teardown();
        source = src;
        track = t;
        if (!build(drive))
            return;
        const std::lock_guard lock(mutex);
        pipe = pipeline;
    }
    gst_element_set_state(pipe, GST_STATE_PAUSED);
    if (gst_element_get_state(pipe, nullptr, nullptr, kStartBound) != GST_STATE_CHANGE_SUCCESS) {
        teardown();
        const std::lock_guard lock(mutex);
        if (state != State::Failed) {
            state = State::Failed;
            error = QStringLiteral("The disc does not answer.");
        }
        return;
    }
    gst_element_seek_simple(pipe, GST_FORMAT_TIME,
                            GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                            frame * GST_SECOND / kFramesPerSecond);
    gst_element_get_state(pipe, nullptr, nullptr, kStartBound);
    {
        // A pause or stop asked meanwhile wins.
        const std::lock_guard lock(mutex);
        if (state != State::Starting)
            return;
        state = State::Playing;
    }
    gst_element_set_state(pipe, GST_STATE_PLAYING);
}

void CdPlayer::Shared::doPause()
{
    GstElement *pipe = nullptr;
    {
        const std::lock_guard lock(mutex);
        pipe = pipeline;
    }
    if (pipe)
        gst_element_set_state(pipe, GST_STATE_PAUSED);
}

CdPlayer::CdPlayer()
    : m_shared(std::make_shared<Shared>())
{
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
    std::thread([shared = m_shared] { shared->run(); }).detach();
}

CdPlayer::~CdPlayer()
{
    std::unique_lock lock(m_shared->mutex);
    m_shared->quit = true;
    m_shared->wake.notify_one();
    // A drive that hangs keeps the worker; the process may leave without it.
    m_shared->finished.wait_for(lock, kExitBound, [this] { return m_shared->done; });
}

void CdPlayer::play(const QString &source, bool drive, int track, qint64 startFrame)
{
    {
        const std::lock_guard lock(m_shared->mutex);
        m_shared->state = State::Starting;
        m_shared->startFrame = startFrame;
        m_shared->error.clear();
    }
    m_shared->post([shared = m_shared.get(), source, drive, track, startFrame] {
        shared->doPlay(source, drive, track, startFrame);
    });
}

void CdPlayer::pause()
{
    const qint64 at = positionFrames();
    {
        const std::lock_guard lock(m_shared->mutex);
        m_shared->state = State::Paused;
        m_shared->startFrame = at;
    }
    m_shared->post([shared = m_shared.get()] { shared->doPause(); });
}

void CdPlayer::stop()
{
    m_shared->setState(State::Idle);
    m_shared->post([shared = m_shared.get()] { shared->teardown(); });
}

CdPlayer::State CdPlayer::state() const
{
    const std::lock_guard lock(m_shared->mutex);
    return m_shared->state;
}

qint64 CdPlayer::positionFrames() const
{
    GstElement *pipe = nullptr;
    qint64 fallback = 0;
    {
        const std::lock_guard lock(m_shared->mutex);
        fallback = m_shared->startFrame;
        if (m_shared->state != State::Playing || !m_shared->pipeline)
            return fallback;
        pipe = GST_ELEMENT(gst_object_ref(m_shared->pipeline));
    }
    gint64 ns = 0;
    const bool known = gst_element_query_position(pipe, GST_FORMAT_TIME, &ns) && ns >= 0;
    gst_object_unref(pipe);
    return known ? ns * kFramesPerSecond / qint64(GST_SECOND) : fallback;
}

QString CdPlayer::lastError() const
{
    const std::lock_guard lock(m_shared->mutex);
    return m_shared->error;
}

} // namespace orvane::playback

#include "playback/mpv/mpvrealplayer.h"

#include "playback/mpv/mpvlibrary.h"

#include "playback/mpv/sourcefiles.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QWindow>

#include <mpv/client.h>

#include <cmath>

namespace orvane::playback::mpv {

Q_LOGGING_CATEGORY(lcMpv, "orvane.playback.mpv", QtWarningMsg)

namespace {

// Reply ids of the properties the engine watches.
enum ObservedProperty : quint64 {
    kPropPause = 1,
    kPropPausedForCache,
    kPropCacheState,
    kPropDuration,
    kPropWidth,
    kPropHeight,
    kPropMetadata,
};

// Async command replies carry tags from this range; observed properties use
// the small numbers above.
constexpr quint64 kFirstTag = 1000;

constexpr int kMaxNesting = 8; // playlists inside playlists
constexpr int kStepsPerDrain = 64;

QVariant fromNode(const mpv_node &node)
{
    switch (node.format) {
    case MPV_FORMAT_STRING:
        return QString::fromUtf8(node.u.string);
    case MPV_FORMAT_FLAG:
        return node.u.flag != 0;
    case MPV_FORMAT_INT64:
        return qlonglong(node.u.int64);
    case MPV_FORMAT_DOUBLE:
        return node.u.double_;
    case MPV_FORMAT_NODE_ARRAY: {
        QVariantList list;
        for (int i = 0; node.u.list && i < node.u.list->num; ++i)
            list.append(fromNode(node.u.list->values[i]));
        return list;
    }
    case MPV_FORMAT_NODE_MAP: {
        QVariantMap map;
        for (int i = 0; node.u.list && i < node.u.list->num; ++i)
            map.insert(QString::fromUtf8(node.u.list->keys[i]), fromNode(node.u.list->values[i]));
        return map;
    }
    default:
        return {};
    }
}

QString tag(const QVariantMap &tags, std::initializer_list<const char *> keys)
{
    for (const char *key : keys) {
        for (auto it = tags.constBegin(); it != tags.constEnd(); ++it) {
            if (it.key().compare(QLatin1String(key), Qt::CaseInsensitive) == 0)
                return it.value().toString().trimmed();
        }
    }
    return {};
}

QString choose(const QString &option, const char *variable, const QString &fallback)
{
    if (!option.isEmpty())
        return option;
    const QString fromEnvironment = qEnvironmentVariable(variable);
    return fromEnvironment.isEmpty() ? fallback : fromEnvironment;
}

// Options for one loadfile. Only a real start position: "start=0" would
// cost an extra seek.
//
// PCM containers (WAV above all) state everything in their header, yet
// libavformat distrusts PCM: it runs every format probe over the first 32
// packets of samples (about 128 KB, looking for compressed audio dressed up
// as PCM), once inside avformat_find_stream_info() and again on the first
// read of the demuxer thread, which libmpv must wait for when the clip is
// stopped. That costs 5-8 ms of the 8-10 ms a WAV took to open and close.
// For these files we trust the header.
QByteArray perFileOptions(const QString &path, qint32 startMs, bool trustPcmHeaders)
{
    QByteArrayList options;
    if (startMs > 0)
        options << "start=" + QByteArray::number(startMs / 1000.0);
    if (!trustPcmHeaders)
        return options.join(',');
    static const char *const pcmSuffixes[] = {"wav", "aif", "aiff", "aifc", "au", "snd"};
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const char *pcm : pcmSuffixes) {
        if (suffix == QLatin1String(pcm)) {
            options << "demuxer-lavf-probe-info=nostreams"
                    << "demuxer-lavf-o=max_probe_packets=0";
            break;
        }
    }
    return options.join(',');
}

QString shortName(const QString &location)
{
    const QString local = localPathOf(location);
    return local.isEmpty() ? location : QFileInfo(local).fileName();
}

} // namespace

MpvRealPlayer::MpvRealPlayer(QObject *parent, MpvOptions options)
    : RealPlayer(parent)
    , m_options(std::move(options))
{
    // qGuiApp is only a cast: a QCoreApplication program has no windows.
    const bool gui = qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
    const bool onX11 = gui && QGuiApplication::platformName() == QLatin1String("xcb");
    m_ao = choose(m_options.audioOutput, "ORVANE_MPV_AO", QString());
    m_vo = choose(m_options.videoOutput, "ORVANE_MPV_VO",
                  onX11 ? QStringLiteral("gpu,x11") : QStringLiteral("null"));
    if (gui) {
        m_window = new QWindow();
        m_window->setTitle(QStringLiteral("RealPlayer picture"));
    }
}

MpvRealPlayer::~MpvRealPlayer()
{
    if (m_mpv) {
        // After this no engine thread calls back into this object.
        lib::set_wakeup_callback(m_mpv, nullptr, nullptr);
        // Bounded: open network sources give up after the network timeout.
        lib::terminate_destroy(m_mpv);
        m_mpv = nullptr;
    }
    // Last, once nothing draws into it; a window container that took the
    // window over may have deleted it already.
    delete m_window.data();
}

QWindow *MpvRealPlayer::videoWindow()
{
    return m_window.data();
}

void MpvRealPlayer::applyOptions()
{
    auto set = [this](const char *name, const QString &value) {
        const int rc = lib::set_option_string(m_mpv, name, value.toUtf8().constData());
        if (rc < 0)
            qCInfo(lcMpv) << "option" << name << "=" << value
                          << "refused:" << lib::error_string(rc);
    };
    auto yesNo = [](bool on) { return on ? QStringLiteral("yes") : QStringLiteral("no"); };
    const QString no = QStringLiteral("no");
    // A library inside a program: no user configuration, scripts, terminal
    // or key bindings of mpv's own, no guessing of extra files.
    set("config", no);
    set("terminal", no);
    set("load-scripts", no);
    set("ytdl", no);
    set("osc", no);
    set("load-stats-overlay", no);
    set("load-osd-console", no);
    set("load-auto-profiles", no);
    set("input-default-bindings", no);
    set("input-builtin-bindings", no);
    set("resume-playback", no);
    set("sub-auto", no);
    set("audio-file-auto", no);
    set("cover-art-auto", no);
    set("audio-display", no);
    set("idle", QStringLiteral("yes"));
    set("keep-open", no);
    set("hr-seek", QStringLiteral("yes"));
    set("network-timeout", QString::number(m_options.networkTimeoutSeconds));
    // The probe asks "does it open?", not "how long exactly is it?".
    set("demuxer-lavf-analyzeduration", QStringLiteral("0.5"));
    if (!m_ao.isEmpty())
        set("ao", m_ao);
    set("vo", m_vo);
    if (m_vo != QLatin1String("null") && m_window) {
        // The picture goes into our own native window, which the user
        // interface embeds; without X11 there is no native window to use.
        set("wid", QString::number(qulonglong(m_window->winId())));
        set("force-window", no);
    }
    set("mute", yesNo(m_mute));
    set("volume", QString::number(m_volume));
    set("keepaspect", yesNo(m_keepAspect));
    set("input-vo-keyboard", yesNo(m_wantKeyboard));
    set("input-cursor", yesNo(m_wantMouse));
    set("osd-level", m_osd ? QStringLiteral("1") : QStringLiteral("0"));
    for (const QString &option : std::as_const(m_options.extraOptions)) {
        const qsizetype eq = option.indexOf(QLatin1Char('='));
        if (eq > 0)
            set(option.left(eq).toUtf8().constData(), option.mid(eq + 1));
    }
}

bool MpvRealPlayer::ensureMpv()
{
    if (m_mpv)
        return true;
    if (m_mpvFailed)
        return false;
    m_mpv = lib::create();
    if (!m_mpv) {
        m_mpvFailed = true;
        return false;
    }
    applyOptions();
    if (lib::initialize(m_mpv) < 0) {
        lib::destroy(m_mpv);
        m_mpv = nullptr;
        m_mpvFailed = true;
        return false;
    }
    // Errors explain failures; QT_LOGGING_RULES="orvane.playback.mpv.debug=true"
    // shows all of libmpv's reasoning.
    lib::request_log_messages(m_mpv, lcMpv().isDebugEnabled() ? "debug" : "error");
    lib::observe_property(m_mpv, kPropPause, "pause", MPV_FORMAT_FLAG);
    lib::observe_property(m_mpv, kPropPausedForCache, "paused-for-cache", MPV_FORMAT_FLAG);
    lib::observe_property(m_mpv, kPropCacheState, "cache-buffering-state", MPV_FORMAT_INT64);
    lib::observe_property(m_mpv, kPropDuration, "duration", MPV_FORMAT_DOUBLE);
    lib::observe_property(m_mpv, kPropWidth, "width", MPV_FORMAT_INT64);
    lib::observe_property(m_mpv, kPropHeight, "height", MPV_FORMAT_INT64);
    lib::observe_property(m_mpv, kPropMetadata, "metadata", MPV_FORMAT_NODE);
    // The engine's threads only post; drain() does the work on our thread.
    lib::set_wakeup_callback(
        m_mpv,
        [](void *self) {
            QMetaObject::invokeMethod(static_cast<MpvRealPlayer *>(self), &MpvRealPlayer::drain,
                                      Qt::QueuedConnection);
        },
        this);
    return true;
}

void MpvRealPlayer::setMpvFlag(const char *name, bool on)
{
    if (!m_mpv)
        return; // applied when libmpv starts
    int flag = on ? 1 : 0;
    lib::set_property(m_mpv, name, MPV_FORMAT_FLAG, &flag);
}

QVariant MpvRealPlayer::getProperty(const char *name) const
{
    if (!m_mpv)
        return {};
    mpv_node node{};
    if (lib::get_property(m_mpv, name, MPV_FORMAT_NODE, &node) < 0)
        return {};
    QVariant value = fromNode(node);
    lib::free_node_contents(&node);
    return value;
}

// --- events ----------------------------------------------------------------

void MpvRealPlayer::post(std::function<void()> step)
{
    m_pending.push_back(std::move(step));
    scheduleDrain();
}

void MpvRealPlayer::scheduleDrain()
{
    if (m_drainPosted)
        return;
    m_drainPosted = true;
    QMetaObject::invokeMethod(this, &MpvRealPlayer::drain, Qt::QueuedConnection);
}

void MpvRealPlayer::drain()
{
    m_drainPosted = false;
    // One report at a time: a handler that pumps events re-enters here and
    // simply takes the next report, so the order is kept.
    for (int steps = 0; steps < kStepsPerDrain; ++steps) {
        if (!m_pending.empty()) {
            std::function<void()> step = std::move(m_pending.front());
            m_pending.pop_front();
            step();
            continue;
        }
        if (!m_mpv)
            return;
        mpv_event *event = lib::wait_event(m_mpv, 0);
        if (event->event_id == MPV_EVENT_NONE)
            return;
        handleEvent(*event);
    }
    scheduleDrain(); // more to do: let other events of the program run first
}

void MpvRealPlayer::setState(int state)
{
    if (m_state == state)
        return;
    m_state = state;
    post([this, state] { Q_EMIT stateChanged(state); });
}

void MpvRealPlayer::raiseError(int severity, int engineCode, int userCode, const QString &userText,
                               const QString &errorText)
{
    qCInfo(lcMpv) << "error" << severity << userCode << userText << errorText;
    post([this, severity, engineCode, userCode, userText, errorText] {
        Q_EMIT errorMessage(severity, engineCode, userCode, userText, QString(), errorText);
    });
}

// Copies what it needs out of the event at once: a signal handler that pumps
// events makes the next lib::wait_event() call, which frees this event.
void MpvRealPlayer::handleEvent(const mpv_event &event)
{
    if (event.event_id != MPV_EVENT_LOG_MESSAGE)
        qCDebug(lcMpv) << "event" << lib::event_name(event.event_id) << "state" << m_state;
    switch (event.event_id) {
    case MPV_EVENT_LOG_MESSAGE: {
        const auto *message = static_cast<const mpv_event_log_message *>(event.data);
        if (message->log_level > MPV_LOG_LEVEL_ERROR) {
            qCDebug(lcMpv) << message->prefix << QByteArray(message->text).trimmed();
            break;
        }
        m_lastLog = QString::fromUtf8(message->prefix) + QStringLiteral(": ") +
                    QString::fromUtf8(message->text).trimmed();
        break;
    }
    case MPV_EVENT_COMMAND_REPLY:
        if (m_stopTag != 0 && event.reply_userdata == m_stopTag) {
            m_stopTag = 0;
            closeForStop();
        } else if (m_loadTag != 0 && event.reply_userdata == m_loadTag) {
            const auto *reply = static_cast<const mpv_event_command *>(event.data);
            onLoadReply(event.error, fromNode(reply->result).toMap());
        }
        break;
    case MPV_EVENT_START_FILE:
        m_startedId =
            quint64(static_cast<const mpv_event_start_file *>(event.data)->playlist_entry_id);
        break;
    case MPV_EVENT_FILE_LOADED:
        // Carries no id: it belongs to the clip started last.
        if (m_activeId != kNoId && m_startedId == m_activeId && !m_opened)
            onFileLoaded();
        break;
    case MPV_EVENT_SEEK:
        if (m_activeId != kNoId && m_restarted)
            setState(Seeking);
        break;
    case MPV_EVENT_PLAYBACK_RESTART:
        if (m_activeId != kNoId && m_opened)
            onPlaybackRestart();
        break;
    case MPV_EVENT_PROPERTY_CHANGE: {
        const auto *property = static_cast<const mpv_event_property *>(event.data);
        QVariant value;
        if (property->format == MPV_FORMAT_FLAG)
            value = *static_cast<int *>(property->data) != 0;
        else if (property->format == MPV_FORMAT_INT64)
            value = qlonglong(*static_cast<int64_t *>(property->data));
        else if (property->format == MPV_FORMAT_DOUBLE)
            value = *static_cast<double *>(property->data);
        else if (property->format == MPV_FORMAT_NODE)
            value = fromNode(*static_cast<mpv_node *>(property->data));
        onPropertyChange(event.reply_userdata, value);
        break;
    }
    case MPV_EVENT_END_FILE:
        onEndFile(*static_cast<const mpv_event_end_file *>(event.data));
        break;
    case MPV_EVENT_SHUTDOWN:
        // libmpv ended on its own: start afresh on the next play().
        lib::set_wakeup_callback(m_mpv, nullptr, nullptr);
        lib::destroy(m_mpv);
        m_mpv = nullptr;
        m_activeId = kNoId;
        setState(Stopped);
        break;
    default:
        break;
    }
}

void MpvRealPlayer::onEndFile(const mpv_event_end_file &end)
{
    if (m_activeId == kNoId || quint64(end.playlist_entry_id) != m_activeId)
        return; // a clip we left already
    const int reason = end.reason;
    const int error = end.error;
    if (reason == MPV_END_FILE_REASON_EOF) {
        onEntryEnded();
    } else if (reason == MPV_END_FILE_REASON_ERROR) {
        const QString entry = m_entries.value(m_entry).location;
        const int code = isSupportedScheme(entry) ? NetworkFailed
                         : (error == MPV_ERROR_LOADING_FAILED ||
                            error == MPV_ERROR_UNKNOWN_FORMAT || error == MPV_ERROR_NOTHING_TO_PLAY)
                             ? UnknownFormat
                             : PlaybackFailed;
        onEntryFailed(error, code, QString::fromUtf8(lib::error_string(error)));
    } else if (reason == MPV_END_FILE_REASON_REDIRECT) {
        // A playlist format of libmpv's own: we only play what we read.
        lib::command_string(m_mpv, "stop");
        onEntryFailed(0, UnknownFormat,
                      QStringLiteral("a playlist of a kind this engine does not read"));
    } else {
        // Stopped from outside our own calls (libmpv shutting down).
        m_activeId = kNoId;
        forgetClip();
        setState(Stopped);
    }
}

void MpvRealPlayer::onFileLoaded()
{
    m_opened = true;
    m_failed = false;
    const QVariantMap tags = getProperty("metadata").toMap();
    m_clip.title = tag(tags, {"title"});
    m_clip.author = tag(tags, {"artist", "author", "album_artist", "composer"});
    m_clip.copyright = tag(tags, {"copyright"});
    m_clip.comment = tag(tags, {"comment", "description"});
    const QVariant duration = getProperty("duration");
    m_duration = duration.isValid() ? duration.toDouble() : -1;
    m_clipWidth = getProperty("width").toInt();
    m_clipHeight = getProperty("height").toInt();
    const QString location = m_entries.value(m_entry).location;
    QString name = shortName(location);
    post([this, name, location] { Q_EMIT clipOpened(name, location); });
    if (m_pendingSeekMs >= 0) {
        const QByteArray seconds = QByteArray::number(m_pendingSeekMs / 1000.0);
        const char *args[] = {"seek", seconds.constData(), "absolute", nullptr};
        lib::command_async(m_mpv, 0, args);
        m_pendingSeekMs = -1;
    }
    if (isNetworkEntry() && !m_restarted) {
        setState(Buffering);
        post([this] { Q_EMIT buffering(0, 0); });
    }
}

void MpvRealPlayer::onPlaybackRestart()
{
    m_restarted = true;
    if (m_cachePaused)
        setState(Buffering);
    else
        setState(m_paused ? Paused : Playing);
}

void MpvRealPlayer::onPropertyChange(quint64 id, const QVariant &value)
{
    switch (id) {
    case kPropPause:
        if (m_activeId != kNoId && m_restarted && (m_state == Playing || m_state == Paused))
            setState(value.toBool() ? Paused : Playing);
        break;
    case kPropPausedForCache:
        m_cachePaused = value.toBool();
        if (m_activeId != kNoId && m_restarted) {
            if (m_cachePaused) {
                setState(Buffering);
                post([this] { Q_EMIT buffering(1, 0); });
            } else {
                setState(m_paused ? Paused : Playing);
            }
        }
        break;
    case kPropCacheState:
        if (m_activeId != kNoId && m_state == Buffering && value.isValid()) {
            const int percent = qBound(0, value.toInt(), 100);
            const int flags = m_restarted ? 1 : 0;
            post([this, flags, percent] { Q_EMIT buffering(flags, percent); });
        }
        break;
    case kPropDuration:
        if (m_activeId != kNoId && m_opened)
            m_duration = value.isValid() ? value.toDouble() : -1;
        break;
    case kPropWidth:
        if (m_activeId != kNoId && m_opened && value.isValid())
            m_clipWidth = value.toInt();
        break;
    case kPropHeight:
        if (m_activeId != kNoId && m_opened && value.isValid())
            m_clipHeight = value.toInt();
        break;
    case kPropMetadata:
        break; // read once the clip is loaded
    default:
        break;
    }
}

int MpvRealPlayer::nextEntryIndex()
{
    if (m_playedInRound.size() != m_entries.size())
        m_playedInRound = QList<bool>(m_entries.size(), false);
    if (m_entry >= 0 && m_entry < m_playedInRound.size())
        m_playedInRound[m_entry] = true;
    if (!m_shuffle)
        return m_entry + 1 < m_entries.size() ? m_entry + 1 : -1;
    QList<int> left;
    for (int i = 0; i < m_playedInRound.size(); ++i) {
        if (!m_playedInRound[i])
            left.append(i);
    }
    return left.isEmpty() ? -1 : left[QRandomGenerator::global()->bounded(int(left.size()))];
}

void MpvRealPlayer::onEntryEnded()
{
    m_completedInRun = true;
    post([this] { Q_EMIT clipClosed(); });
    const int next = nextEntryIndex();
    if (next >= 0) {
        openEntry(next);
        return;
    }
    m_playedInRound.clear();
    ++m_timesPlayed;
    if (m_looping || m_timesPlayed < m_loopCount) {
        openEntry(m_shuffle ? nextEntryIndex() : 0);
        return;
    }
    m_activeId = kNoId;
    m_entry = 0;
    m_startMs = 0;
    setState(Stopped);
}

void MpvRealPlayer::onEntryFailed(int engineCode, int userCode, const QString &why)
{
    const QString location = m_entries.value(m_entry).location;
    const QString detail =
        m_lastLog.isEmpty() ? why : why + QStringLiteral(" (") + m_lastLog + QLatin1Char(')');
    m_lastLog.clear();
    if (m_opened)
        post([this] { Q_EMIT clipClosed(); });
    const int next = nextEntryIndex();
    if (next >= 0) {
        raiseError(
            Informational, engineCode, EntrySkipped,
            QStringLiteral("An entry could not be played and was passed over: %1").arg(location),
            detail);
        openEntry(next);
        return;
    }
    // The end of the source: an error, unless something played before.
    const int severity = m_completedInRun ? Informational : Error;
    QString text;
    switch (userCode) {
    case NetworkFailed:
        text = QStringLiteral("The location cannot be reached: %1").arg(location);
        break;
    case UnknownFormat:
        text = QStringLiteral("The file is not a format this engine plays: %1").arg(location);
        break;
    default:
        text = QStringLiteral("The media could not be played: %1").arg(location);
        break;
    }
    raiseError(severity, engineCode, userCode, text, detail);
    m_failed = !m_completedInRun;
    m_activeId = kNoId;
    m_opened = false;
    m_entry = 0;
    m_playedInRound.clear();
    setState(Stopped);
}

bool MpvRealPlayer::isNetworkEntry() const
{
    return isSupportedScheme(m_entries.value(m_entry).location);
}

// --- operations ----------------------------------------------------------

void MpvRealPlayer::forgetClip()
{
    m_opened = false;
    m_restarted = false;
    m_cachePaused = false;
    m_pendingSeekMs = -1;
}

void MpvRealPlayer::setSource(const QString &location)
{
    stop();
    m_source = location;
    m_entries.clear();
    m_entry = 0;
    m_playedInRound.clear();
    m_sourceError.clear();
    m_sourceErrorCode = 0;
    m_sourceNotes.clear();
    m_singleClip = false;
    m_failed = false;
    m_clip = {};
    m_duration = -1;
    m_clipWidth = m_clipHeight = 0;
    m_startMs = 0;
    if (location.isEmpty())
        return;
    const QString local = localPathOf(location);
    if (!local.isEmpty() && isRealPlaylistName(local)) {
        const SourceExpansion expansion = expandPlaylistFile(local);
        m_entries = expansion.entries;
        m_sourceNotes = expansion.notes;
        if (!expansion.error.isEmpty()) {
            m_sourceError = expansion.error;
            m_sourceErrorCode = expansion.errorCode;
            m_entries.clear();
        } else if (m_entries.isEmpty()) {
            // Nothing left: the first reason why (a self-reference, say) is the error.
            const bool why = !expansion.notes.isEmpty();
            m_sourceError = why ? expansion.notes.first().text
                                : QStringLiteral("The playlist holds no media: %1").arg(location);
            m_sourceErrorCode = why ? expansion.notes.first().code : int(EmptyPlaylist);
            m_sourceNotes.clear();
        }
        // A ".ram" that turned out to be a media file is a single clip.
        m_singleClip = m_entries.size() == 1 && localPathOf(m_entries[0].location) == local;
    } else {
        m_entries.append(RealEntry{location, {}, {}, {}, {}});
        m_singleClip = true;
    }
    if (m_autoStart)
        play();
}

void MpvRealPlayer::onLoadReply(int error, const QVariantMap &result)
{
    m_loadTag = 0;
    bool ok = false;
    const quint64 id = result.value(QStringLiteral("playlist_entry_id")).toULongLong(&ok);
    if (error < 0 || !ok) {
        onEntryFailed(error, PlaybackFailed,
                      error < 0 ? QString::fromUtf8(lib::error_string(error))
                                : QStringLiteral("libmpv gave no playlist entry id"));
        return;
    }
    m_activeId = id;
}

bool MpvRealPlayer::isOpen() const
{
    return m_activeId != kNoId || m_loadTag != 0;
}

void MpvRealPlayer::play()
{
    if (m_source.isEmpty())
        return;
    if (isOpen()) {
        if (m_paused) {
            m_paused = false;
            setMpvFlag("pause", false);
        }
        return;
    }
    m_paused = false;
    m_timesPlayed = 0;
    m_completedInRun = false;
    m_playedInRound.clear();
    if (!m_sourceError.isEmpty()) {
        // Reported like every other failure: after the call, as an event.
        const quint64 gen = ++m_loadGen;
        m_stopTag = 0;
        setState(Contacting);
        const int code = m_sourceErrorCode;
        const QString text = m_sourceError;
        post([this, gen, code, text] {
            if (gen != m_loadGen)
                return;
            m_failed = true;
            raiseError(Error, 0, code, text, QString());
            setState(Stopped);
        });
        return;
    }
    for (const SourceNote &note : std::as_const(m_sourceNotes))
        raiseError(Informational, 0, note.code, note.text, QString());
    openEntry(m_entry);
}

void MpvRealPlayer::openEntry(int index)
{
    const quint64 gen = ++m_loadGen;
    m_stopTag = 0; // a stop still on its way no longer ends anything
    m_loadTag = 0;
    m_entry = index;
    m_activeId = kNoId;
    m_lastLog.clear();
    forgetClip();
    setState(Contacting);
    const QString location = m_entries.value(index).location;
    auto failLater = [this, gen](int engineCode, int code, const QString &why) {
        post([this, gen, engineCode, code, why] {
            if (gen == m_loadGen)
                onEntryFailed(engineCode, code, why);
        });
    };
    if (!ensureMpv()) {
        post([this, gen] {
            if (gen != m_loadGen)
                return;
            m_failed = true;
            raiseError(Alert, 0, EngineFailed,
                       QStringLiteral("The playback engine (libmpv) could not start."), QString());
            setState(Stopped);
        });
        return;
    }
    QString target;
    const QString local = localPathOf(location);
    if (!local.isEmpty()) {
        const FileCheck check = checkRegularFile(local);
        if (check.code != NoError) {
            failLater(0, check.code, check.text);
            return;
        }
        target = local;
    } else if (isSupportedScheme(location)) {
        target = location;
    } else {
        failLater(0, UnsupportedSource,
                  QStringLiteral("Not a location this engine can open: %1").arg(location));
        return;
    }
    int pause = m_paused ? 1 : 0;
    lib::set_property(m_mpv, "pause", MPV_FORMAT_FLAG, &pause);
    const QByteArray path = target.toUtf8();
    const QByteArray fileOptions = perFileOptions(target, m_startMs, m_options.trustPcmHeaders);
    const char *args[] = {"loadfile", path.constData(), "replace",
                          fileOptions.isEmpty() ? nullptr : fileOptions.constData(), nullptr};
    m_startMs = 0;
    // Queued like stop: libmpv runs queued commands in order, while a
    // direct command could overtake a stop still in the queue. The reply
    // carries the entry id that tells this clip's reports apart.
    const quint64 tag = kFirstTag + m_nextTag++;
    const int rc = lib::command_async(m_mpv, tag, args);
    if (rc < 0) {
        failLater(rc, PlaybackFailed, QString::fromUtf8(lib::error_string(rc)));
        return;
    }
    m_loadTag = tag;
}

void MpvRealPlayer::pause()
{
    if (m_state == Stopped || m_paused)
        return;
    m_paused = true;
    setMpvFlag("pause", true);
}

void MpvRealPlayer::stop()
{
    m_paused = false;
    m_startMs = 0;
    m_pendingSeekMs = -1;
    if (m_state == Stopped || m_stopTag != 0)
        return;
    ++m_loadGen; // queued failures of the clip no longer apply
    const bool loaded = isOpen();
    // From here on the clip's own reports are ignored; its state stays
    // until libmpv answers the stop.
    m_closingOpened = m_opened;
    m_activeId = kNoId;
    m_loadTag = 0;
    forgetClip();
    if (loaded && m_mpv) {
        m_stopTag = kFirstTag + m_nextTag++;
        const char *args[] = {"stop", nullptr};
        if (lib::command_async(m_mpv, m_stopTag, args) >= 0)
            return;
        m_stopTag = 0;
    }
    const quint64 gen = m_loadGen;
    post([this, gen] {
        if (gen == m_loadGen)
            closeForStop();
    });
}

void MpvRealPlayer::closeForStop()
{
    const bool wasOpen = m_closingOpened;
    m_closingOpened = false;
    m_activeId = kNoId;
    forgetClip();
    m_entry = qBound(0, m_entry, qMax(0, int(m_entries.size()) - 1));
    if (wasOpen)
        post([this] { Q_EMIT clipClosed(); });
    setState(Stopped);
}

void MpvRealPlayer::setPosition(qint32 ms)
{
    if (m_activeId == kNoId || !m_opened) {
        if (isOpen())
            m_pendingSeekMs = qMax(0, ms);
        else
            m_startMs = qMax(0, ms);
        return;
    }
    const qint32 len = length();
    if (ms < 0 || (len >= 0 && ms > len)) {
        raiseError(Informational, 0, SeekRefused,
                   QStringLiteral("The position %1 ms is outside the clip.").arg(ms), QString());
        return;
    }
    const QByteArray seconds = QByteArray::number(ms / 1000.0, 'f', 3);
    const char *args[] = {"seek", seconds.constData(), "absolute", nullptr};
    if (lib::command_async(m_mpv, 0, args) >= 0 && m_restarted)
        setState(Seeking); // until libmpv reports the playback restarted
}

qint32 MpvRealPlayer::position() const
{
    if (m_activeId == kNoId || !m_opened)
        return m_state == Stopped ? m_startMs : 0;
    const QVariant seconds = getProperty("time-pos");
    if (!seconds.isValid())
        return 0;
    return qint32(std::llround(qMax(0.0, seconds.toDouble()) * 1000.0));
}

qint32 MpvRealPlayer::length() const
{
    // Some RealMedia files state no length (0): unknown, not empty.
    if (m_duration <= 0 || !std::isfinite(m_duration))
        return -1;
    return qint32(std::llround(qMin(m_duration * 1000.0, 2147483647.0)));
}

bool MpvRealPlayer::canPlay() const
{
    return !m_source.isEmpty() && m_sourceError.isEmpty() && !m_failed && !m_mpvFailed;
}

bool MpvRealPlayer::canSeek() const
{
    if (m_activeId != kNoId && m_opened)
        return getProperty("seekable").toBool();
    return !localPathOf(m_entries.value(m_entry).location).isEmpty();
}

void MpvRealPlayer::nextEntry()
{
    if (m_entry + 1 >= m_entries.size())
        return;
    if (isOpen())
        openEntry(m_entry + 1);
    else
        ++m_entry;
}

void MpvRealPlayer::previousEntry()
{
    if (m_entry <= 0 || m_entries.isEmpty())
        return;
    if (isOpen())
        openEntry(m_entry - 1);
    else
        --m_entry;
}

QString MpvRealPlayer::entryTitle(int index) const
{
    if (m_singleClip && index == 0)
        return m_clip.title;
    return index >= 0 && index < m_entries.size() ? m_entries[index].title : QString();
}

QString MpvRealPlayer::entryAuthor(int index) const
{
    if (m_singleClip && index == 0)
        return m_clip.author;
    return index >= 0 && index < m_entries.size() ? m_entries[index].author : QString();
}

QString MpvRealPlayer::entryCopyright(int index) const
{
    if (m_singleClip && index == 0)
        return m_clip.copyright;
    return index >= 0 && index < m_entries.size() ? m_entries[index].copyright : QString();
}

QString MpvRealPlayer::entryAbstract(int index) const
{
    if (m_singleClip && index == 0)
        return m_clip.comment;
    return index >= 0 && index < m_entries.size() ? m_entries[index].abstract : QString();
}

void MpvRealPlayer::setMute(bool mute)
{
    m_mute = mute;
    setMpvFlag("mute", mute);
}

void MpvRealPlayer::setVolume(int percent)
{
    m_volume = qBound(0, percent, 100);
    if (m_mpv) {
        double volume = m_volume;
        lib::set_property(m_mpv, "volume", MPV_FORMAT_DOUBLE, &volume);
    }
}

void MpvRealPlayer::setMaintainAspect(bool on)
{
    m_keepAspect = on;
    setMpvFlag("keepaspect", on);
}

void MpvRealPlayer::setWantKeyboardEvents(bool on)
{
    m_wantKeyboard = on;
    setMpvFlag("input-vo-keyboard", on);
}

void MpvRealPlayer::setWantMouseEvents(bool on)
{
    m_wantMouse = on;
    setMpvFlag("input-cursor", on);
}

void MpvRealPlayer::setOnScreenMessages(bool on)
{
    m_osd = on;
    if (m_mpv) {
        int64_t level = on ? 1 : 0;
        lib::set_property(m_mpv, "osd-level", MPV_FORMAT_INT64, &level);
    }
}

QString MpvRealPlayer::statisticsText() const
{
    if (m_activeId == kNoId || !m_opened)
        return QStringLiteral("No clip is open.");
    auto line = [this](const char *label, const char *property) {
        const QVariant value = getProperty(property);
        return QLatin1String(label) + QStringLiteral(": ") +
               (value.isValid() ? value.toString() : QStringLiteral("-")) + QLatin1Char('\n');
    };
    return line("Audio codec", "audio-codec-name") + line("Audio bit rate", "audio-bitrate") +
           line("Video codec", "video-codec") + line("Video bit rate", "video-bitrate") +
           line("Frames dropped", "frame-drop-count") + line("Format", "file-format");
}

QString MpvRealPlayer::preferencesText() const
{
    return QStringLiteral("Audio output: %1\nVideo output: %2\nNetwork timeout: %3 s")
        .arg(m_ao.isEmpty() ? QStringLiteral("auto") : m_ao, m_vo)
        .arg(m_options.networkTimeoutSeconds);
}

QString MpvRealPlayer::aboutText() const
{
    const unsigned long version = lib::client_api_version();
    return QStringLiteral("RealPlayer engine on libmpv (client API %1.%2)")
        .arg(version >> 16)
        .arg(version & 0xffff);
}

} // namespace orvane::playback::mpv

#include "playback/mpv/mpvrealplayer.h"
#include "playback/mpv/mpvrealplayer_p.h"

#include "playback/mpv/mpvlibrary.h"
#include "playback/mpv/realmediastream.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QWindow>

#include <mpv/client.h>

namespace orvane::playback::mpv {

Q_LOGGING_CATEGORY(lcMpv, "orvane.playback.mpv", QtWarningMsg)

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

QVariant valueOf(const mpv_event_property &property)
{
    if (!property.data)
        return {};
    switch (property.format) {
    case MPV_FORMAT_FLAG:
        return *static_cast<int *>(property.data) != 0;
    case MPV_FORMAT_INT64:
        return qlonglong(*static_cast<int64_t *>(property.data));
    case MPV_FORMAT_DOUBLE:
        return *static_cast<double *>(property.data);
    case MPV_FORMAT_NODE:
        return fromNode(*static_cast<mpv_node *>(property.data));
    default:
        return {};
    }
}

namespace {

constexpr int kStepsPerDrain = 64;

QString choose(const QString &option, const char *variable, const QString &fallback)
{
    if (!option.isEmpty())
        return option;
    const QString fromEnvironment = qEnvironmentVariable(variable);
    return fromEnvironment.isEmpty() ? fallback : fromEnvironment;
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
    set("input-terminal", no);
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
        // Only the context that can draw into an X window. Left to probe,
        // the gpu output also tries the console (DRM), whose terminal
        // switcher closes descriptor 0 when it gives up: on a desktop that
        // is the program's standard input, or whatever took its number.
        set("gpu-context", QStringLiteral("x11egl"));
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
    observeProperties();
    if (!addRetimingProtocol(m_mpv))
        qCWarning(lcMpv) << "RealMedia files without packet times will show no time";
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

// Everything the members report while a clip plays comes from these.
void MpvRealPlayer::observeProperties()
{
    lib::observe_property(m_mpv, kPropPause, "pause", MPV_FORMAT_FLAG);
    lib::observe_property(m_mpv, kPropPausedForCache, "paused-for-cache", MPV_FORMAT_FLAG);
    lib::observe_property(m_mpv, kPropCacheState, "cache-buffering-state", MPV_FORMAT_INT64);
    lib::observe_property(m_mpv, kPropDuration, "duration", MPV_FORMAT_DOUBLE);
    lib::observe_property(m_mpv, kPropWidth, "width", MPV_FORMAT_INT64);
    lib::observe_property(m_mpv, kPropHeight, "height", MPV_FORMAT_INT64);
    lib::observe_property(m_mpv, kPropMetadata, "metadata", MPV_FORMAT_NODE);
    lib::observe_property(m_mpv, kPropTimePos, "time-pos", MPV_FORMAT_DOUBLE);
    lib::observe_property(m_mpv, kPropSeekable, "seekable", MPV_FORMAT_FLAG);
    m_statistics = QVariantList(kStatisticCount);
    for (int i = 0; i < kStatisticCount; ++i)
        lib::observe_property(m_mpv, kPropFirstStatistic + quint64(i), kStatisticLines[i].property,
                              MPV_FORMAT_NODE);
}

void MpvRealPlayer::setMpvFlag(const char *name, bool on)
{
    if (!m_mpv)
        return; // applied when libmpv starts
    int flag = on ? 1 : 0;
    lib::set_property_async(m_mpv, 0, name, MPV_FORMAT_FLAG, &flag);
}

quint64 MpvRealPlayer::newTag()
{
    return kFirstTag + m_nextTag++;
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
    if (state == Playing)
        m_reportClock.restart(); // the clock runs on from here, not from the pause
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

void MpvRealPlayer::onLogMessage(const mpv_event_log_message &message)
{
    if (message.log_level > MPV_LOG_LEVEL_ERROR) {
        qCDebug(lcMpv) << message.prefix << QByteArray(message.text).trimmed();
        return;
    }
    // The file's own name, not the stream libmpv reads it through.
    m_lastLog = QString::fromUtf8(message.prefix) + QStringLiteral(": ") +
                QString::fromUtf8(message.text).trimmed().remove(QLatin1String(kRetimedScheme));
}

// Copies what it needs out of the event at once: a signal handler that pumps
// events makes the next lib::wait_event() call, which frees this event.
void MpvRealPlayer::handleEvent(const mpv_event &event)
{
    if (event.event_id != MPV_EVENT_LOG_MESSAGE)
        qCDebug(lcMpv) << "event" << lib::event_name(event.event_id) << "state" << m_state;
    switch (event.event_id) {
    case MPV_EVENT_LOG_MESSAGE:
        onLogMessage(*static_cast<const mpv_event_log_message *>(event.data));
        break;
    case MPV_EVENT_COMMAND_REPLY:
        onCommandReply(event.reply_userdata, event.error, event);
        break;
    case MPV_EVENT_GET_PROPERTY_REPLY:
        onPropertyReply(event.reply_userdata,
                        event.error < 0 ? QVariant()
                                        : valueOf(*static_cast<mpv_event_property *>(event.data)));
        break;
    case MPV_EVENT_START_FILE:
        m_startedId =
            quint64(static_cast<const mpv_event_start_file *>(event.data)->playlist_entry_id);
        break;
    case MPV_EVENT_FILE_LOADED:
        // Carries no id: it belongs to the clip started last.
        if (m_activeId != kNoId && m_startedId == m_activeId && !m_opened && m_openQueryTag == 0)
            onFileLoaded();
        break;
    case MPV_EVENT_SEEK:
        if (m_activeId != kNoId && m_restarted)
            setState(Seeking);
        break;
    case MPV_EVENT_PLAYBACK_RESTART:
        if (m_activeId != kNoId && m_opened)
            onPlaybackRestart();
        else if (m_activeId != kNoId && m_openQueryTag != 0)
            m_restartWaiting = true;
        break;
    case MPV_EVENT_PROPERTY_CHANGE:
        onPropertyChange(event.reply_userdata,
                         valueOf(*static_cast<const mpv_event_property *>(event.data)));
        break;
    case MPV_EVENT_END_FILE:
        onEndFile(*static_cast<const mpv_event_end_file *>(event.data));
        break;
    case MPV_EVENT_SHUTDOWN:
        onShutdown();
        break;
    default:
        break;
    }
}

// libmpv ended on its own: start afresh on the next play().
void MpvRealPlayer::onShutdown()
{
    lib::set_wakeup_callback(m_mpv, nullptr, nullptr);
    lib::destroy(m_mpv);
    m_mpv = nullptr;
    m_activeId = kNoId;
    forgetClip();
    setState(Stopped);
}

void MpvRealPlayer::onCommandReply(quint64 tag, int error, const mpv_event &event)
{
    if (m_stopTag != 0 && tag == m_stopTag) {
        m_stopTag = 0;
        closeForStop();
    } else if (m_loadTag != 0 && tag == m_loadTag) {
        const auto *reply = static_cast<const mpv_event_command *>(event.data);
        onLoadReply(error, fromNode(reply->result).toMap());
    } else if (m_seekTag != 0 && tag == m_seekTag) {
        m_seekTag = 0;
        if (error >= 0)
            return;
        // No restart follows: show where the clip is, and how it plays.
        askTime();
        if (m_state == Seeking)
            setState(m_cachePaused ? Buffering : m_paused ? Paused : Playing);
    }
}

} // namespace orvane::playback::mpv

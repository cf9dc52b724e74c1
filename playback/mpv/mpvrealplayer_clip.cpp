#include "playback/mpv/mpvrealplayer.h"
#include "playback/mpv/mpvrealplayer_p.h"

#include "playback/mpv/mpvlibrary.h"

#include "core/location.h"

#include <QFileInfo>

#include <mpv/client.h>

#include <cmath>

namespace orvane::playback::mpv {

namespace {

// How far the clock may carry the position past libmpv's last report: it
// reports several times a second, so more means the clip stalls unseen.
constexpr qint64 kMaxAheadOfReportMs = 250;

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

QString shortName(const QString &location)
{
    const QString local = core::localFileOf(location);
    return local.isEmpty() ? location : QFileInfo(local).fileName();
}

} // namespace

// The clip's facts are read by queued requests: a synchronous read could
// wait for libmpv's video thread. clipOpened waits for the answers, so that
// the code it wakes finds the tags, the length and the picture size.
void MpvRealPlayer::onFileLoaded()
{
    m_openQueryTag = newTag();
    m_nextTag += kOpenQueryCount - 1;
    m_openFacts = QVariantList(kOpenQueryCount);
    for (int i = 0; i < kOpenQueryCount; ++i) {
        if (lib::get_property_async(m_mpv, m_openQueryTag + quint64(i), kOpenQueries[i],
                                    MPV_FORMAT_NODE) < 0) {
            // No answer will come (the event queue is full): open without
            // them; the observed properties fill in what they can.
            m_openQueryTag = 0;
            finishOpen();
            return;
        }
    }
}

void MpvRealPlayer::finishOpen()
{
    m_opened = true;
    m_failed = false;
    const QVariantMap tags = m_openFacts.value(kOpenMetadata).toMap();
    m_clip.title = tag(tags, {"title"});
    m_clip.author = tag(tags, {"artist", "author", "album_artist", "composer"});
    m_clip.copyright = tag(tags, {"copyright"});
    m_clip.album = tag(tags, {"album"});
    m_clip.comment = tag(tags, {"comment", "description"});
    const QVariant duration = m_openFacts.value(kOpenDuration);
    m_duration = duration.isValid() ? duration.toDouble() : -1;
    m_clipWidth = m_openFacts.value(kOpenWidth).toInt();
    m_clipHeight = m_openFacts.value(kOpenHeight).toInt();
    m_seekable = m_openFacts.value(kOpenSeekable).toBool();
    m_openFacts.clear();
    const QString location = m_entries.value(m_entry).location;
    QString name = shortName(location);
    post([this, name, location] { Q_EMIT clipOpened(name, location); });
    if (m_pendingSeekMs >= 0) {
        seekTo(m_pendingSeekMs);
        m_pendingSeekMs = -1;
    }
    if (isNetworkEntry() && !m_restarted) {
        setState(Buffering);
        post([this] { Q_EMIT buffering(0, 0); });
    }
    if (m_restartWaiting) {
        m_restartWaiting = false;
        onPlaybackRestart();
    }
}

void MpvRealPlayer::onPlaybackRestart()
{
    m_restarted = true;
    askTime(); // where the start or the seek has put the clip
    if (m_cachePaused)
        setState(Buffering);
    else
        setState(m_paused ? Paused : Playing);
}

void MpvRealPlayer::onPropertyReply(quint64 tag, const QVariant &value)
{
    if (m_openQueryTag != 0 && tag >= m_openQueryTag &&
        tag < m_openQueryTag + quint64(kOpenQueryCount)) {
        const int index = int(tag - m_openQueryTag);
        m_openFacts[index] = value;
        if (index == kOpenQueryCount - 1) {
            m_openQueryTag = 0;
            finishOpen();
        }
    } else if (m_timeQueryTag != 0 && tag == m_timeQueryTag) {
        // A seek cleared the floor when it started: the place it found
        // counts even when that is just before its target.
        m_timeQueryTag = 0;
        m_seekTargetMs = -1;
        noteTime(value);
    }
}

// Observed values arrive some time after libmpv read them.
void MpvRealPlayer::onPropertyChange(quint64 id, const QVariant &value)
{
    if (id >= kPropFirstStatistic && id < kPropFirstStatistic + quint64(kStatisticCount)) {
        m_statistics[int(id - kPropFirstStatistic)] = value;
        return;
    }
    switch (id) {
    case kPropPause:
        if (m_activeId != kNoId && m_restarted && (m_state == Playing || m_state == Paused))
            setState(value.toBool() ? Paused : Playing);
        break;
    case kPropPausedForCache:
        onCachePause(value.toBool());
        break;
    case kPropCacheState:
        if (m_activeId != kNoId && m_state == Buffering && value.isValid()) {
            const int percent = qBound(0, value.toInt(), 100);
            const int flags = m_restarted ? 1 : 0;
            post([this, flags, percent] { Q_EMIT buffering(flags, percent); });
        }
        break;
    default:
        if (m_activeId != kNoId && m_opened && value.isValid())
            onClipPropertyChange(id, value);
        break;
    }
}

// A report that says "unavailable" for an open clip is one from before it
// loaded: the answers read when it loaded stand.
void MpvRealPlayer::onClipPropertyChange(quint64 id, const QVariant &value)
{
    switch (id) {
    case kPropDuration:
        m_duration = value.toDouble();
        break;
    case kPropWidth:
        m_clipWidth = value.toInt();
        break;
    case kPropHeight:
        m_clipHeight = value.toInt();
        break;
    case kPropSeekable:
        m_seekable = value.toBool();
        break;
    case kPropTimePos:
        // While a seek is on its way the report may still be the old place.
        if (m_seekTargetMs < 0 && m_timeQueryTag == 0)
            noteTime(value);
        break;
    default:
        break; // the metadata is read once the clip is loaded
    }
}

void MpvRealPlayer::onCachePause(bool paused)
{
    m_cachePaused = paused;
    if (m_activeId == kNoId || !m_restarted)
        return;
    if (m_cachePaused) {
        setState(Buffering);
        post([this] { Q_EMIT buffering(1, 0); });
    } else {
        setState(m_paused ? Paused : Playing);
    }
}

void MpvRealPlayer::askTime()
{
    m_timeQueryTag = newTag();
    if (lib::get_property_async(m_mpv, m_timeQueryTag, "time-pos", MPV_FORMAT_NODE) < 0) {
        m_timeQueryTag = 0;
        m_seekTargetMs = -1; // the observed reports take over
    }
}

void MpvRealPlayer::noteTime(const QVariant &seconds)
{
    if (!seconds.isValid())
        return;
    const double ms = qBound(0.0, seconds.toDouble() * 1000.0, 2147483647.0);
    m_reportedMs = qint32(std::llround(ms));
    m_reportClock.restart();
}

// Read about 30 times a second for the status line: libmpv reports the time
// a few times a second, so between reports the clock moves it on.
qint32 MpvRealPlayer::position() const
{
    if (m_activeId == kNoId || !m_opened)
        return m_state == Stopped ? m_startMs : 0;
    if (m_seekTargetMs >= 0)
        return m_seekTargetMs;
    qint64 ms = m_reportedMs;
    if (m_state == Playing && m_reportClock.isValid())
        ms += qMin<qint64>(m_reportClock.elapsed(), kMaxAheadOfReportMs);
    const qint32 len = length();
    if (len >= 0)
        ms = qMin<qint64>(ms, len);
    m_positionFloor = qMax(m_positionFloor, ms);
    return qint32(m_positionFloor);
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
        return m_seekable;
    return !core::localFileOf(m_entries.value(m_entry).location).isEmpty();
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
        lib::set_property_async(m_mpv, 0, "volume", MPV_FORMAT_DOUBLE, &volume);
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
        lib::set_property_async(m_mpv, 0, "osd-level", MPV_FORMAT_INT64, &level);
    }
}

} // namespace orvane::playback::mpv

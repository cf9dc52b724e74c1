#include "playback/mpv/mpvrealplayer.h"
#include "playback/mpv/mpvrealplayer_p.h"

#include "playback/mpv/mpvlibrary.h"

#include <QFileInfo>

#include <mpv/client.h>

#include <cmath>

namespace orvane::playback::mpv {

namespace {

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
    const QString local = localPathOf(location);
    return local.isEmpty() ? location : QFileInfo(local).fileName();
}

} // namespace

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

} // namespace orvane::playback::mpv

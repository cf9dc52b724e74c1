#include "playback/status.h"

#include "core/language.h"
#include "playback/controllerdetail.h"
#include "playback/engine/mediaplayer.h"
#include "playback/engine/realplayer.h"
#include "playback/mci/mcireplies.h"

#include <QGuiApplication>
#include <QLocale>

#include <cmath>

namespace orvane::playback {

namespace {

const QString kStatusSection = QStringLiteral("Status");

QString twoDigits(qint64 value)
{
    return QString::number(value).rightJustified(2, u'0');
}

void readCdStatus(double &position, double &length)
{
    const QString track = QString::number(
        mci::leadingInt16(detail::mciQuery(QStringLiteral("status Medias current track"))));
    position = mci::tmsfPositionSeconds(detail::mciQuery(QStringLiteral("status Medias position")));
    length = mci::tmsfLengthSeconds(
        detail::mciQuery(QStringLiteral("status Medias length track ") + track));
}

} // namespace

QString timeText(double seconds)
{
    if (!std::isfinite(seconds) || seconds < 0.0)
        seconds = 0.0;
    // Minutes and seconds come from the same rounded hundredths, so 83.6 s
    // reads 01:23.60 and never a second ahead.
    const qint64 hundredths = qint64(std::nearbyint(std::min(seconds, 1e15) * 100.0));
    const qint64 whole = hundredths / 100;
    return twoDigits(whole / 60) + u':' + twoDigits(whole % 60) + QLocale().decimalPoint() +
           twoDigits(hundredths % 100);
}

SeekScaleChoice seekScaleFor(double lengthSeconds)
{
    if (lengthSeconds <= 300.0)
        return {1, 30};
    if (lengthSeconds <= 1800.0)
        return {2, 60};
    return {10, 120};
}

bool videoHiddenOn(QStringView platformName)
{
    for (const char *shown : {"", "xcb", "offscreen", "minimal"}) {
        if (platformName == QLatin1String(shown))
            return false;
    }
    return true;
}

QString readyText()
{
    const QString ready = core::GetText(kStatusSection, QStringLiteral("mesReady"));
    if (!videoHiddenOn(QGuiApplication::platformName()))
        return ready;
    return ready + QStringLiteral("   ") +
           core::GetText(kStatusSection, QStringLiteral("mesNoVideo"));
}

QString playModeKey(qint32 mode)
{
    switch (mode) {
    case kPlayModePlaying:
        return QStringLiteral("mesPlaying");
    case kPlayModePaused:
        return QStringLiteral("mesPausing");
    case kPlayModeStopped:
        return QStringLiteral("mesStop");
    case kPlayModeWaiting:
        return QStringLiteral("mesWStart");
    case kPlayModeSeeking:
        return QStringLiteral("mesWSeek");
    default:
        return QStringLiteral("mesReady");
    }
}

QString statusText(double position, double length, qint32 mode)
{
    const QString lengthText = length < 0.0 ? kUnknownTimeText : timeText(length);
    return timeText(position) + QStringLiteral(" / ") + lengthText + QStringLiteral("     ") +
           core::GetText(kStatusSection, playModeKey(mode));
}

bool ReadStatus(MediaPlayer &mediaPlayer, RealPlayer &realPlayer, QString &text, double &position,
                double &length)
{
    switch (state::LoadedMediaType) {
    case kMediaPlayerFile:
    case kVideoCdTrack:
        position = mediaPlayer.currentPosition();
        length = mediaPlayer.isDurationValid() ? mediaPlayer.duration() : -1.0;
        break;
    case kRealPlayerFile:
        position = realPlayer.position() / 1000.0;
        length = realPlayer.length() < 0 ? -1.0 : realPlayer.length() / 1000.0;
        break;
    case kAudioCdTrack:
        readCdStatus(position, length);
        break;
    default:
        return false;
    }
    text = statusText(position, length, GetPlayMode(mediaPlayer, realPlayer));
    return true;
}

bool SeekMedia(MediaPlayer &mediaPlayer, RealPlayer &realPlayer, double position)
{
    if (!std::isfinite(position) || position < 0.0)
        return false;
    switch (state::LoadedMediaType) {
    case kMediaPlayerFile:
    case kVideoCdTrack:
        if (mediaPlayer.duration() < position || !mediaPlayer.isDurationValid())
            return false;
        mediaPlayer.setCurrentPosition(position);
        return true;
    case kRealPlayerFile: {
        const double ms = position * 1000.0;
        if (!(ms < realPlayer.length()) || realPlayer.length() < 0)
            return false;
        realPlayer.setPosition(qint32(std::nearbyint(ms)));
        return true;
    }
    case kAudioCdTrack:
        return detail::seekCd(position);
    default:
        return false;
    }
}

} // namespace orvane::playback

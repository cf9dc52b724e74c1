#include "playback/engine/mediaplayer.h"

namespace orvane::playback {

MediaPlayer::MediaPlayer(QObject *parent)
    : QObject(parent)
{}

MediaPlayer::~MediaPlayer() = default;

QString playStateName(int state)
{
    switch (state) {
    case MediaPlayer::Stopped:
        return QStringLiteral("stopped");
    case MediaPlayer::Paused:
        return QStringLiteral("paused");
    case MediaPlayer::Playing:
        return QStringLiteral("playing");
    case MediaPlayer::Waiting:
        return QStringLiteral("waiting");
    case MediaPlayer::ScanForward:
        return QStringLiteral("scanning forward");
    case MediaPlayer::ScanReverse:
        return QStringLiteral("scanning back");
    case MediaPlayer::Closed:
        return QStringLiteral("closed");
    default:
        return QStringLiteral("unknown");
    }
}

} // namespace orvane::playback

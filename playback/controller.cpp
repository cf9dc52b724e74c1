#include "playback/controller.h"

#include "playback/controllerdetail.h"
#include "playback/engine/mediaplayer.h"
#include "playback/engine/realplayer.h"
#include "playback/seekbar.h"

namespace orvane::playback {

namespace {

void resetMediaPlayerSettings(MediaPlayer &mp)
{
    mp.setVideoBorder(0);
    mp.setAutoStart(false);
    mp.setAutoRewind(false);
    mp.setShowControls(false);
    mp.setSendStateEvents(true);
    mp.setAutoSize(false);
    mp.setSendWarningEvents(true);
    mp.setSendErrorEvents(true);
}

void resetRealPlayerSettings(RealPlayer &rp)
{
    rp.setControls(QStringLiteral("StatusBar"));
    rp.setVolume(100);
    rp.setAutoStart(false);
    rp.setShuffle(false);
    rp.setMaintainAspect(true);
    rp.setWantKeyboardEvents(false);
    rp.setWantMouseEvents(false);
    rp.setEnableContextMenu(false);
    rp.setOnScreenMessages(false);
    rp.setControls(QStringLiteral("ImageWindow"));
}

PlayMode mediaPlayerMode(int playState)
{
    switch (playState) {
    case MediaPlayer::Playing:
        return kPlayModePlaying;
    case MediaPlayer::Paused:
        return kPlayModePaused;
    case MediaPlayer::Stopped:
        return kPlayModeStopped;
    case MediaPlayer::Waiting:
        return kPlayModeWaiting;
    case MediaPlayer::ScanForward:
    case MediaPlayer::ScanReverse:
        return kPlayModeSeeking;
    default:
        return kPlayModeNothing;
    }
}

PlayMode realPlayerMode(int playState)
{
    switch (playState) {
    case RealPlayer::Playing:
        return kPlayModePlaying;
    case RealPlayer::Paused:
        return kPlayModePaused;
    case RealPlayer::Stopped:
        return kPlayModeStopped;
    case RealPlayer::Contacting:
    case RealPlayer::Buffering:
        return kPlayModeWaiting;
    case RealPlayer::Seeking:
        return kPlayModeSeeking;
    default:
        return kPlayModeNothing;
    }
}

bool usesMediaPlayer(qint32 type)
{
    return type == kMediaPlayerFile || type == kVideoCdTrack;
}

} // namespace

void ResetEngines(MediaPlayer &mediaPlayer, RealPlayer &realPlayer, SeekBar *silSeek, bool stop)
{
    if (stop) {
        const int s = mediaPlayer.playState();
        if (s != MediaPlayer::Closed && s != MediaPlayer::Stopped)
            mediaPlayer.stop();
        mediaPlayer.setFileName(QString());
        state::LoadedMediaType = kMediaNone;
    }
    resetMediaPlayerSettings(mediaPlayer);
    if (stop) {
        if (realPlayer.playState() != RealPlayer::Stopped)
            realPlayer.stop();
        realPlayer.setSource(QString());
        state::LoadedMediaType = kMediaNone;
    }
    resetRealPlayerSettings(realPlayer);
    if (stop) {
        detail::mciSend(QStringLiteral("stop Medias"));
        detail::mciSend(QStringLiteral("close all wait"));
    }
    SetPictureSize(mediaPlayer, realPlayer, 0);
    if (silSeek) {
        silSeek->setEnabled(false);
        // Nothing plays: a handle left at the right would say the end of
        // something is near.
        if (stop)
            silSeek->setValue(0);
    }
}

bool PauseMedia(MediaPlayer &mediaPlayer, RealPlayer &realPlayer)
{
    const qint32 type = state::LoadedMediaType;
    if (usesMediaPlayer(type)) {
        const int s = mediaPlayer.playState();
        if (s == MediaPlayer::Paused)
            return true;
        if (s == MediaPlayer::Closed || s == MediaPlayer::Stopped)
            return false;
        mediaPlayer.pause();
        return true;
    }
    if (type == kRealPlayerFile) {
        const int s = realPlayer.playState();
        if (s == RealPlayer::Paused)
            return true;
        if (s == RealPlayer::Stopped)
            return false;
        realPlayer.pause();
        return true;
    }
    if (type == kAudioCdTrack) {
        detail::pauseCd();
        return true;
    }
    return false;
}

bool StopMedia(MediaPlayer &mediaPlayer, RealPlayer &realPlayer)
{
    const qint32 type = state::LoadedMediaType;
    if (usesMediaPlayer(type)) {
        const int s = mediaPlayer.playState();
        if (s == MediaPlayer::Stopped || s == MediaPlayer::Closed) {
            // Still opening, it may have a play pending that would start
            // after this stop.
            mediaPlayer.stop();
            return s == MediaPlayer::Stopped;
        }
        mediaPlayer.stop();
        mediaPlayer.setCurrentPosition(0.0);
        return true;
    }
    if (type == kRealPlayerFile) {
        if (realPlayer.playState() != RealPlayer::Stopped) {
            realPlayer.stop();
            realPlayer.setPosition(0);
        }
        return true;
    }
    if (type == kAudioCdTrack) {
        detail::stopCd();
        return true;
    }
    return false;
}

PlayMode GetPlayMode(MediaPlayer &mediaPlayer, RealPlayer &realPlayer, qint32 mediaType)
{
    const qint32 type = mediaType == kMediaNone ? state::LoadedMediaType : mediaType;
    if (usesMediaPlayer(type))
        return mediaPlayerMode(mediaPlayer.playState());
    if (type == kRealPlayerFile)
        return realPlayerMode(realPlayer.playState());
    if (type == kAudioCdTrack)
        return detail::cdPlayMode();
    return kPlayModeNothing;
}

bool CanSeekMedia(MediaPlayer &mediaPlayer, RealPlayer &realPlayer)
{
    const qint32 type = state::LoadedMediaType;
    if (usesMediaPlayer(type))
        return mediaPlayer.canSeek();
    if (type == kRealPlayerFile)
        return realPlayer.canSeek();
    return type == kAudioCdTrack;
}

bool SetPictureSize(MediaPlayer &mediaPlayer, RealPlayer &realPlayer, qint32 size)
{
    const qint32 type = state::LoadedMediaType;
    if (usesMediaPlayer(type)) {
        if (size == 0)
            mediaPlayer.setDisplaySize(MediaPlayer::DisplayDefault);
        else if (size == 1)
            mediaPlayer.setDisplaySize(MediaPlayer::DisplayDouble);
        else if (size == 2)
            mediaPlayer.setDisplaySize(MediaPlayer::DisplayFitToSize);
        return true;
    }
    if (type == kRealPlayerFile) {
        realPlayer.setCentered(true);
        if (size == 0)
            realPlayer.setOriginalSize();
        else if (size == 1)
            realPlayer.setDoubleSize();
        return true;
    }
    return false;
}

} // namespace orvane::playback

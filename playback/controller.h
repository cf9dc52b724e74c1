#pragma once

#include <QString>

namespace orvane::playlist {
class lstPlayList;
struct PlayListItem;
} // namespace orvane::playlist

namespace orvane::playback {

class MediaPlayer;
class RealPlayer;
class SeekBar;

// Plays one playlist item at a time with the engine its media type names.
// Every operation runs on the user-interface thread and takes the main
// window's controls as arguments. silSeek may be null where noted.

// Media types of a playlist record.
enum MediaType : qint32 {
    kMediaNone = 0,
    kMediaPlayerFile = 1,
    kRealPlayerFile = 2,
    kAudioCdTrack = 3,
    kVideoCdTrack = 4,
};

// The play mode common to all engines.
enum PlayMode : qint32 {
    kPlayModeNothing = 0,
    kPlayModePlaying = 1,
    kPlayModePaused = 2,
    kPlayModeStopped = 3,
    kPlayModeWaiting = 4,
    kPlayModeSeeking = 5,
};

// What the engines hold now. Process-wide, user-interface thread only.
namespace state {
inline qint32 LoadedMediaType = 0;
inline QString LoadedSource;
inline qint16 LoadedEntry = 0;
// The view key of the item PlayItem last started; it means something only
// while LoadedMediaType is not 0.
inline QString LoadedKey;
inline qint32 RealStatus = 0;
inline bool IgnoreError = false;
} // namespace state

// Plays the view's selected item; true when the engine was started or was
// already playing it. A file that is no longer there fails at once, without
// disturbing the engines.
bool PlayItem(MediaPlayer &mediaPlayer, RealPlayer &realPlayer, playlist::lstPlayList &view,
              SeekBar *silSeek);
// True for a file item whose local file is gone (moved, deleted, on a
// drive that is not mounted) or whose location is refused outright.
bool ItemFileMissing(const playlist::PlayListItem &item);
// Base settings of both engines; with stop, first stops and empties both and
// closes every CD device. silSeek may be null.
void ResetEngines(MediaPlayer &mediaPlayer, RealPlayer &realPlayer, SeekBar *silSeek, bool stop);
bool PauseMedia(MediaPlayer &mediaPlayer, RealPlayer &realPlayer);
bool StopMedia(MediaPlayer &mediaPlayer, RealPlayer &realPlayer);
// Media type 0 means the loaded one.
PlayMode GetPlayMode(MediaPlayer &mediaPlayer, RealPlayer &realPlayer, qint32 mediaType = 0);
bool CanSeekMedia(MediaPlayer &mediaPlayer, RealPlayer &realPlayer);
// size: 0 natural, 1 double, 2 fit to the window.
bool SetPictureSize(MediaPlayer &mediaPlayer, RealPlayer &realPlayer, qint32 size);

} // namespace orvane::playback

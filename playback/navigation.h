#pragma once

#include <QList>

namespace orvane::playlist {
class lstPlayList;
}

namespace orvane::playback {

class MediaPlayer;
class RealPlayer;
class SeekBar;

// Record indexes of the checked items a walk tried and could not play.
using FailedItems = QList<int>;

// Plays the next (previous) item of the view whose DOPLAY is set; with
// markers, a file with chapters first moves to its next (previous) chapter.
// True when something new was started. Nothing loaded gives false. An item
// that does not play is passed over and noted in failed.
bool PlayNext(MediaPlayer &mediaPlayer, RealPlayer &realPlayer, playlist::lstPlayList &view,
              SeekBar *silSeek, bool markers, FailedItems *failed = nullptr);
bool PlayPrevious(MediaPlayer &mediaPlayer, RealPlayer &realPlayer, playlist::lstPlayList &view,
                  SeekBar *silSeek, bool markers, FailedItems *failed = nullptr);

// Selects and plays the first item from the top whose DOPLAY is set; false
// when none of them plays.
bool PlayFirstChecked(MediaPlayer &mediaPlayer, RealPlayer &realPlayer, playlist::lstPlayList &view,
                      SeekBar *silSeek, FailedItems *failed = nullptr);

} // namespace orvane::playback

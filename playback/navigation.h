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

// The view position the end of the item at position leads to, found the
// way the advance walks but without playing anything: the next checked
// item whose file is there, else with repeatAll the first such from the
// top; -1 when the list would stop there.
int FollowingPosition(const playlist::lstPlayList &view, int position, bool repeatAll);
// The view position of the current record's item, -1 when none.
int CurrentPosition(const playlist::lstPlayList &view);

// Selects and plays the first item from the top whose DOPLAY is set; false
// when none of them plays.
bool PlayFirstChecked(MediaPlayer &mediaPlayer, RealPlayer &realPlayer, playlist::lstPlayList &view,
                      SeekBar *silSeek, FailedItems *failed = nullptr);

} // namespace orvane::playback

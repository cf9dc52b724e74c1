#pragma once

namespace orvane::playlist {
class lstPlayList;
}

namespace orvane::playback {

class MediaPlayer;
class RealPlayer;
class SeekBar;

// Plays the next (previous) item of the view whose DOPLAY is set; with
// markers, a file with chapters first moves to its next (previous) chapter.
// True when something new was started. Nothing loaded gives false.
bool PlayNext(MediaPlayer &mediaPlayer, RealPlayer &realPlayer, playlist::lstPlayList &view,
              SeekBar *silSeek, bool markers);
bool PlayPrevious(MediaPlayer &mediaPlayer, RealPlayer &realPlayer, playlist::lstPlayList &view,
                  SeekBar *silSeek, bool markers);

// Selects and plays the first item from the top whose DOPLAY is set; false
// when there is none or it does not play.
bool PlayFirstChecked(MediaPlayer &mediaPlayer, RealPlayer &realPlayer, playlist::lstPlayList &view,
                      SeekBar *silSeek);

} // namespace orvane::playback

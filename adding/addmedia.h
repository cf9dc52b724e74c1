#pragma once

#include "adding/progress.h"

#include <QString>
#include <QStringList>

namespace orvane::playlist {
class lstPlayList;
}
namespace orvane::playback {
class MediaPlayer;
class RealPlayer;
class SeekBar;
} // namespace orvane::playback

namespace orvane::adding {

// Engine numbers of TryOpen.
enum ProbeEngine : qint32 {
    kProbeMediaPlayer = 1,
    kProbeRealPlayer = 2,
    kProbeAudioCd = 3,
};

// Longest time one wait for an engine may take; an engine that has not
// answered by then has failed the location.
inline constexpr int kDefaultEngineWaitMs = 30000;

// Tunables of the adding layer; tests shorten the wait.
struct AddingOptions {
    int engineWaitMs = kDefaultEngineWaitMs;
};
AddingOptions &addingOptions();

// Adds the locations of a "|"-separated list to the playlist: each one is
// opened in the engine its extension names (or the other one), expanded
// into one item per entry, and listed as failed when no engine takes it.
// A playlist file (".ovl") replaces the playlist and ends the walk. The
// engines are reset before and after. True when anything was added.
// window may be null (no dialogs, nothing hidden); silSeek may be null.
bool AddMedia(const QString &locations, playback::MediaPlayer &mediaPlayer,
              playback::RealPlayer &realPlayer, playlist::lstPlayList &view,
              playback::SeekBar *silSeek, AddingWindow *window);

// A list handed to AddMedia while a walk runs (from inside its event
// pumping) is added after that walk, by the outer call; the inner call
// returns false at once. True while a walk runs.
bool AddingInProgress();

// Opens one location in engine 1, 2 or 3 and tells whether it could be
// opened. Every wait pumps events, is bounded, and gives up (false) when
// progress->SkipRequested is raised; the flag is cleared on entry.
bool TryOpen(const QString &location, playback::MediaPlayer &mediaPlayer,
             playback::RealPlayer &realPlayer, qint32 engine, ProgressSink *progress = nullptr);

// Busy: the seek bar off, error boxes off, the engines muted, their pictures
// and the playlist view hidden and the pictures moved out of sight. Not
// busy: all of it back. window and silSeek may be null.
void SetBusyState(bool busy, playback::SeekBar *silSeek, playback::MediaPlayer &mediaPlayer,
                  playback::RealPlayer &realPlayer, playlist::lstPlayList &view,
                  AddingWindow *window);

// The media files below a folder whose extension is in one of the two lists
// (".mp3;.wav"), in natural order, each folder's entries (files and
// subfolders together) taken in order. Symbolic links to folders are not
// followed, so a link loop cannot run for ever.
QStringList MediaFilesBelow(const QString &folder, const QString &wmpFileTypes,
                            const QString &realFileTypes);

// Natural order: digit runs compare as numbers, the rest without regard to
// letter case; ties are broken by the exact text.
bool NaturalLess(const QString &a, const QString &b);

} // namespace orvane::adding

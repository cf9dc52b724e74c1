#include "playback/navigation.h"

#include "playback/controller.h"
#include "playback/engine/mediaplayer.h"
#include "playlist/lstplaylist.h"
#include "playlist/playlistops.h"
#include "playlist/playliststore.h"

namespace orvane::playback {

namespace {

using playlist::lstPlayList;

bool isChecked(const lstPlayList &view, int position)
{
    const int index = playlist::IndexFromKey(&view, view.key(position));
    return index >= 0 && index < playlist::PlayList.size() &&
           playlist::PlayList.at(index).DOPLAY != playlist::kFalse;
}

bool missing(int index)
{
    return index >= 0 && index < playlist::PlayList.size() &&
           ItemFileMissing(playlist::PlayList.at(index));
}

// A checked item whose file is gone is passed over like an unchecked one,
// so one moved file does not end the list; it is noted in failed. Any other
// failure ends the walk: it may be the user's Stop during the load, and the
// engines report their own errors. When none plays, the selection goes
// back where it was.
bool walkAndPlay(MediaPlayer &mp, RealPlayer &rp, lstPlayList &view, SeekBar *silSeek, int from,
                 int step, FailedItems *failed)
{
    const int selected = view.selectedPosition();
    bool passedOver = false;
    for (int position = from; position >= 0 && position < view.count(); position += step) {
        if (!isChecked(view, position))
            continue;
        view.setSelectedPosition(position);
        if (PlayItem(mp, rp, view, silSeek))
            return true;
        const int index = playlist::IndexFromKey(&view, view.key(position));
        if (failed)
            failed->append(index);
        if (!missing(index))
            return false;
        passedOver = true;
    }
    if (passedOver && selected >= 0)
        view.setSelectedPosition(selected);
    return false;
}

bool isLoaded()
{
    return state::LoadedMediaType >= kMediaPlayerFile && state::LoadedMediaType <= kVideoCdTrack;
}

} // namespace

bool PlayNext(MediaPlayer &mediaPlayer, RealPlayer &realPlayer, lstPlayList &view, SeekBar *silSeek,
              bool markers, FailedItems *failed)
{
    if (!isLoaded())
        return false;
    if (state::LoadedMediaType == kMediaPlayerFile && markers) {
        const int count = mediaPlayer.markerCount();
        const int next = mediaPlayer.currentMarker() + 1;
        if (count != 0 && count >= next) {
            mediaPlayer.setCurrentMarker(next);
            return true;
        }
    }
    const int current = CurrentPosition(view);
    return walkAndPlay(mediaPlayer, realPlayer, view, silSeek, current < 0 ? 0 : current + 1, 1,
                       failed);
}

bool PlayPrevious(MediaPlayer &mediaPlayer, RealPlayer &realPlayer, lstPlayList &view,
                  SeekBar *silSeek, bool markers, FailedItems *failed)
{
    if (!isLoaded())
        return false;
    if (state::LoadedMediaType == kMediaPlayerFile && markers) {
        const int previous = mediaPlayer.currentMarker() - 1;
        if (mediaPlayer.markerCount() != 0 && previous >= 1) {
            mediaPlayer.setCurrentMarker(previous);
            return true;
        }
    }
    const int current = CurrentPosition(view);
    if (current < 0)
        return false;
    return walkAndPlay(mediaPlayer, realPlayer, view, silSeek, current - 1, -1, failed);
}

int CurrentPosition(const lstPlayList &view)
{
    const int index = playlist::IndexFromKey(&view, QString());
    return index < 0 ? -1 : view.positionOfKey(playlist::KeyOfIndex(index));
}

int FollowingPosition(const lstPlayList &view, int position, bool repeatAll)
{
    const auto playable = [&](int p) {
        return isChecked(view, p) && !missing(playlist::IndexFromKey(&view, view.key(p)));
    };
    for (int p = position < 0 ? 0 : position + 1; p < view.count(); ++p) {
        if (playable(p))
            return p;
    }
    for (int p = 0; repeatAll && p < view.count(); ++p) {
        if (playable(p))
            return p;
    }
    return -1;
}

bool PlayFirstChecked(MediaPlayer &mediaPlayer, RealPlayer &realPlayer, lstPlayList &view,
                      SeekBar *silSeek, FailedItems *failed)
{
    return walkAndPlay(mediaPlayer, realPlayer, view, silSeek, 0, 1, failed);
}

} // namespace orvane::playback

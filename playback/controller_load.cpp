#include "playback/controller.h"

#include "core/location.h"
#include "core/modmain.h"
#include "playback/controllerdetail.h"
#include "playback/engine/mediaplayer.h"
#include "playback/engine/realplayer.h"
#include "playback/seekbar.h"
#include "playlist/lstplaylist.h"
#include "playlist/playlistops.h"
#include "playlist/playliststore.h"

#include <QFileInfo>

#include <algorithm>
#include <limits>

namespace orvane::playback {

namespace {

using core::modMain::ShowErrors;
using playlist::PlayListItem;

qint16 entryNumber(qint32 number)
{
    return qint16(std::clamp<qint32>(number, std::numeric_limits<qint16>::min(),
                                     std::numeric_limits<qint16>::max()));
}

// A load that did not finish must not finish later behind the program's
// back: the engine that was loading is emptied again.
bool finishLoad(LoadWait result, MediaPlayer &mp, RealPlayer &rp, bool mediaPlayerLoading)
{
    if (result == LoadWait::Ready) {
        detail::deliverQueuedReports(mp, rp);
        ShowErrors = true;
        return true;
    }
    if (result != LoadWait::Failed) {
        if (mediaPlayerLoading)
            mp.setFileName(QString());
        else
            rp.setSource(QString());
        state::LoadedSource.clear();
    }
    return false;
}

bool loadIntoMediaPlayer(MediaPlayer &mp, RealPlayer &rp, SeekBar *silSeek, const QString &path)
{
    ShowErrors = false;
    detail::mciSend(QStringLiteral("stop Medias"));
    detail::mciSend(QStringLiteral("close Medias wait"));
    if (!rp.source().isEmpty()) {
        rp.stop();
        rp.setSource(QString());
    }
    mp.setFileName(path);
    state::LoadedSource = path;
    // The engine opens a new file at its first entry, whatever the last
    // file's entry was.
    state::LoadedEntry = 0;
    ResetEngines(mp, rp, silSeek, false);
    const LoadWait result = detail::waitForEngines(mp, [&] {
        return mp.playState() != MediaPlayer::Closed && rp.playState() == RealPlayer::Stopped;
    });
    return finishLoad(result, mp, rp, true);
}

bool playOnMediaPlayer(MediaPlayer &mp, RealPlayer &rp, SeekBar *silSeek, const PlayListItem &item)
{
    const QString path = item.MEDIATYPE == kVideoCdTrack
                             ? detail::videoCdTrackPath(item.DRIVE, item.TRACK)
                             : item.FILENAME;
    state::LoadedMediaType = item.MEDIATYPE;
    if (mp.playState() == MediaPlayer::Closed || path != state::LoadedSource) {
        if (!loadIntoMediaPlayer(mp, rp, silSeek, path))
            return false;
    }
    if (state::LoadedEntry != item.NUMBER && item.NUMBER != 0) {
        mp.setCurrentEntry(item.NUMBER);
        state::LoadedEntry = entryNumber(item.NUMBER);
    }
    const int s = mp.playState();
    if (s == MediaPlayer::Closed)
        return false;
    if (s != MediaPlayer::Playing)
        mp.play();
    if (silSeek)
        silSeek->setEnabled(CanSeekMedia(mp, rp));
    if (mp.playCount() != item.DOLOOP)
        mp.setPlayCount(item.DOLOOP);
    return true;
}

bool loadIntoRealPlayer(MediaPlayer &mp, RealPlayer &rp, SeekBar *silSeek, const PlayListItem &item)
{
    ShowErrors = false;
    detail::mciSend(QStringLiteral("stop Medias"));
    detail::mciSend(QStringLiteral("close Medias wait"));
    if (!mp.fileName().isEmpty()) {
        mp.stop();
        mp.setFileName(QString());
    }
    rp.setSource(item.FILENAME);
    state::LoadedSource = item.FILENAME;
    state::LoadedEntry = entryNumber(item.NUMBER);
    ResetEngines(mp, rp, silSeek, false);
    const LoadWait result = detail::waitForEngines(mp, [&] {
        return mp.playState() == MediaPlayer::Closed && rp.playState() == RealPlayer::Stopped;
    });
    return finishLoad(result, mp, rp, false);
}

// Steps through the source's entries; never more steps than it has, so a
// damaged entry number cannot keep the program busy.
void moveToEntry(RealPlayer &rp, qint32 number)
{
    const qint64 current = rp.currentEntry();
    const qint64 limit = std::max(rp.numEntries(), 0);
    if (current < number) {
        for (qint64 i = 0; i < std::min<qint64>(number - current, limit); ++i)
            rp.nextEntry();
    } else if (current > number) {
        for (qint64 i = 0; i < std::min<qint64>(current - number, limit); ++i)
            rp.previousEntry();
    }
}

bool playOnRealPlayer(MediaPlayer &mp, RealPlayer &rp, SeekBar *silSeek, const PlayListItem &item)
{
    state::LoadedMediaType = kRealPlayerFile;
    if (!rp.canPlay() || item.FILENAME != state::LoadedSource) {
        if (!loadIntoRealPlayer(mp, rp, silSeek, item))
            return false;
    }
    if (state::LoadedEntry != item.NUMBER && item.NUMBER != 0)
        moveToEntry(rp, item.NUMBER);
    if (rp.playState() != RealPlayer::Playing)
        rp.play();
    if (silSeek)
        silSeek->setEnabled(CanSeekMedia(mp, rp));
    if (item.DOLOOP != 0) {
        rp.setLooping(false);
        if (rp.loopCount() != item.DOLOOP)
            rp.setLoopCount(item.DOLOOP);
    } else {
        rp.setLooping(true);
    }
    return true;
}

} // namespace

bool ItemFileMissing(const PlayListItem &item)
{
    if (item.MEDIATYPE != kMediaPlayerFile && item.MEDIATYPE != kRealPlayerFile)
        return false;
    // A location no engine may open (a device, a Windows drive path of an
    // old list) is as unplayable as a file that went away.
    const core::Location where = core::classifyLocation(item.FILENAME);
    return where.isRefused() || (where.isLocalFile() && !QFileInfo::exists(where.target));
}

bool PlayItem(MediaPlayer &mediaPlayer, RealPlayer &realPlayer, playlist::lstPlayList &view,
              SeekBar *silSeek)
{
    state::RealStatus = 0;
    const int index = playlist::IndexFromKey(&view, QString());
    if (index < 0 || index >= playlist::PlayList.size())
        return false;
    const PlayListItem item = playlist::PlayList.at(index);
    if (ItemFileMissing(item))
        return false;
    state::LoadedKey = view.key(view.selectedPosition());
    switch (item.MEDIATYPE) {
    case kMediaPlayerFile:
    case kVideoCdTrack:
        return playOnMediaPlayer(mediaPlayer, realPlayer, silSeek, item);
    case kRealPlayerFile:
        return playOnRealPlayer(mediaPlayer, realPlayer, silSeek, item);
    case kAudioCdTrack:
        return detail::playCdTrack(mediaPlayer, realPlayer, item);
    default:
        return false;
    }
}

} // namespace orvane::playback

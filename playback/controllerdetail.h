#pragma once

// Helpers shared by the controller's source files; not for other layers.

#include "playback/controller.h"
#include "playback/eventpump.h"
#include "playlist/playlistitem.h"

#include <QString>

#include <functional>

namespace orvane::playback::detail {

void beginLoadWait();
void endLoadWait();
bool loadWaitCancelled();

// Pumps events until ready() holds, an engine error that is not ignorable
// is pending, the limit runs out or Stop cancels the wait.
LoadWait waitForEngines(MediaPlayer &mediaPlayer, const std::function<bool()> &ready);
// Delivers the reports the engines have queued so far, while ShowErrors is
// still false: the state they announce was already read by the wait, and
// must not reach the state-change handlers as news afterwards.
void deliverQueuedReports(MediaPlayer &mediaPlayer, RealPlayer &realPlayer);

// A CD command whose failure stays silent; the reply ("" when it failed).
QString mciQuery(const QString &command);
void mciSend(const QString &command);

// The CD column of GetPlayMode.
PlayMode cdPlayMode();
bool playCdTrack(MediaPlayer &mediaPlayer, RealPlayer &realPlayer,
                 const playlist::PlayListItem &item);
bool seekCd(double seconds);
void pauseCd();
void stopCd();

// The file of a Video CD track on the drive's disc.
QString videoCdTrackPath(const QString &drive, qint32 track);

} // namespace orvane::playback::detail

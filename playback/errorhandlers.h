#pragma once

#include <QString>

namespace orvane::playback {

class MediaPlayer;
class RealPlayer;

// The engines' error and progress reports. They record IgnoreError and
// RealStatus, which is how a load wait learns of an error, and report
// through ShowError (silent while ShowErrors is false or when ignorable).
void MediaPlayer_Error(MediaPlayer &mediaPlayer);
void RealPlayer_OnErrorMessage(int severity, qint32 userCode, const QString &userText);
void RealPlayer_OnClipOpened();
void RealPlayer_OnClipEvent();
void RealPlayer_OnBuffering();

// Connects the handlers above to the engines' signals.
void connectErrorHandlers(MediaPlayer &mediaPlayer, RealPlayer &realPlayer);

} // namespace orvane::playback

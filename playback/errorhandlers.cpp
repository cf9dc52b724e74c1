#include "playback/errorhandlers.h"

#include "core/errorreporter.h"
#include "playback/controller.h"
#include "playback/engine/mediaplayer.h"
#include "playback/engine/realplayer.h"

namespace orvane::playback {

namespace {
// The one code that is ignorable whatever the recovery says.
constexpr qint32 kAlwaysIgnorable = qint32(0x800A0005);
} // namespace

void MediaPlayer_Error(MediaPlayer &mediaPlayer)
{
    // The recovery text says whether the error ended the media ("none")
    // or playback goes on; the Japanese word is what older engines said.
    const QString recovery = mediaPlayer.errorRecovery().toLower();
    state::IgnoreError = !(recovery == QStringLiteral("なし") || recovery == u"none");
    if (mediaPlayer.errorCode() == kAlwaysIgnorable)
        state::IgnoreError = true;
    core::ShowError(core::kErrorMediaPlayer, quint32(mediaPlayer.errorCode()),
                    mediaPlayer.errorDescription(), state::IgnoreError, false);
}

void RealPlayer_OnErrorMessage(int severity, qint32 userCode, const QString &userText)
{
    state::RealStatus = 4;
    state::IgnoreError = severity == RealPlayer::Informational || severity == RealPlayer::Debug;
    core::ShowError(core::kErrorRealPlayer, quint32(userCode), userText, state::IgnoreError, false);
}

void RealPlayer_OnClipOpened()
{
    state::RealStatus = 1;
}

void RealPlayer_OnClipEvent()
{
    state::RealStatus = 2;
}

void RealPlayer_OnBuffering()
{
    state::RealStatus = 3;
}

void connectErrorHandlers(MediaPlayer &mediaPlayer, RealPlayer &realPlayer)
{
    QObject::connect(&mediaPlayer, &MediaPlayer::error, &mediaPlayer,
                     [&mediaPlayer] { MediaPlayer_Error(mediaPlayer); });
    QObject::connect(
        &realPlayer, &RealPlayer::errorMessage, &realPlayer,
        [](int severity, qint32, qint32 userCode, const QString &userText, const QString &,
           const QString &) { RealPlayer_OnErrorMessage(severity, userCode, userText); });
    QObject::connect(&realPlayer, &RealPlayer::clipOpened, &realPlayer,
                     [](const QString &, const QString &) { RealPlayer_OnClipOpened(); });
    QObject::connect(&realPlayer, &RealPlayer::clipClosed, &realPlayer,
                     [] { RealPlayer_OnClipEvent(); });
    QObject::connect(&realPlayer, &RealPlayer::buffering, &realPlayer,
                     [](int, int) { RealPlayer_OnBuffering(); });
}

} // namespace orvane::playback

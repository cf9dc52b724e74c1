#include "core/busywork.h"
#include "playback/controllerdetail.h"
#include "playback/engine/mediaplayer.h"
#include "playback/engine/realplayer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

namespace orvane::playback::detail {

namespace {

// How often a wait looks at the engines when nothing wakes it earlier.
constexpr int kWaitSliceMs = 10;

bool errorPending(MediaPlayer &mediaPlayer)
{
    return (mediaPlayer.hasError() || state::RealStatus == 4) && !state::IgnoreError;
}

} // namespace

LoadWait waitForEngines(MediaPlayer &mediaPlayer, const std::function<bool()> &ready)
{
    beginLoadWait();
    const QDeadlineTimer deadline(LoadWaitLimitMs);
    LoadWait result = LoadWait::Ready;
    while (!ready()) {
        if (errorPending(mediaPlayer)) {
            result = LoadWait::Failed;
            break;
        }
        if (loadWaitCancelled() || core::busyWorkCancelled()) {
            result = LoadWait::Cancelled;
            break;
        }
        if (deadline.hasExpired()) {
            result = LoadWait::TimedOut;
            break;
        }
        core::pumpEvents(kWaitSliceMs);
    }
    endLoadWait();
    return result;
}

void deliverQueuedReports(MediaPlayer &mediaPlayer, RealPlayer &realPlayer)
{
    QCoreApplication::sendPostedEvents(&mediaPlayer, QEvent::MetaCall);
    QCoreApplication::sendPostedEvents(&realPlayer, QEvent::MetaCall);
}

} // namespace orvane::playback::detail

#include "playback/eventpump.h"

#include <QCoreApplication>
#include <QTimer>

namespace orvane::playback {

namespace {
int g_activeWaits = 0;
bool g_cancelled = false;
} // namespace

void pumpEventsOnce(int maxWaitMs)
{
    // The timer only bounds the sleep: whichever comes first, an event or
    // its expiry, ends the wait.
    QTimer guard;
    guard.setSingleShot(true);
    guard.setTimerType(Qt::PreciseTimer);
    guard.start(maxWaitMs);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void CancelLoadWait()
{
    if (g_activeWaits > 0)
        g_cancelled = true;
}

bool isLoadWaiting()
{
    return g_activeWaits > 0;
}

namespace detail {

void beginLoadWait()
{
    if (g_activeWaits++ == 0)
        g_cancelled = false;
}

void endLoadWait()
{
    if (--g_activeWaits == 0)
        g_cancelled = false;
}

bool loadWaitCancelled()
{
    return g_cancelled;
}

} // namespace detail

} // namespace orvane::playback

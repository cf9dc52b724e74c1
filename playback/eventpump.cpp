#include "playback/eventpump.h"

namespace orvane::playback {

namespace {
int g_activeWaits = 0;
bool g_cancelled = false;
} // namespace

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

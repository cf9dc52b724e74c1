#include "core/busywork.h"

#include <QCoreApplication>
#include <QTimer>

namespace orvane::core {

namespace {
int g_scopes = 0;
bool g_cancelled = false;
} // namespace

void pumpEvents(int maxWaitMs)
{
    if (!QCoreApplication::instance())
        return;
    if (maxWaitMs <= 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    // The timer only bounds the sleep: whichever comes first, an event or
    // its expiry, ends the wait.
    QTimer guard;
    guard.setSingleShot(true);
    guard.setTimerType(Qt::PreciseTimer);
    guard.start(maxWaitMs);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

BusyScope::BusyScope()
{
    ++g_scopes;
}

BusyScope::~BusyScope()
{
    if (--g_scopes == 0)
        g_cancelled = false;
}

bool isBusy()
{
    return g_scopes > 0;
}

void cancelBusyWork()
{
    if (g_scopes > 0)
        g_cancelled = true;
}

bool busyWorkCancelled()
{
    return g_cancelled;
}

} // namespace orvane::core

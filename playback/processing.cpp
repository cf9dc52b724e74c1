#include "playback/processing.h"

#include "core/modmain.h"
#include "playback/controller.h"
#include "playback/session.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QThread>

namespace orvane::playback {

namespace modMain = core::modMain;

ProcessingLoop::ProcessingLoop(PlaybackSession &session, AddMediaHandler addMedia, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_addMedia(std::move(addMedia))
{
    connect(&m_timer, &QTimer::timeout, this, &ProcessingLoop::tick);
    m_tick.setSingleShot(true);
    m_tick.setTimerType(Qt::PreciseTimer);
    connect(&m_tick, &QTimer::timeout, this, &ProcessingLoop::nestedPass);
    session.setProcessing(this);
}

void ProcessingLoop::start(int mode, int intervalMs)
{
    m_mode = mode;
    m_timer.setInterval(mode == 0 ? qMax(1, intervalMs) : 0);
    m_timer.start();
}

void ProcessingLoop::stop()
{
    m_timer.stop();
    if (m_looping)
        modMain::QuitProcessing = true;
}

bool ProcessingLoop::suspend()
{
    if (m_mode == 0) {
        const bool wasActive = m_timer.isActive();
        m_timer.stop();
        return wasActive;
    }
    return std::exchange(modMain::ProcessingEnabled, false);
}

void ProcessingLoop::resume(bool previous)
{
    if (m_mode == 0) {
        if (previous)
            m_timer.start();
        return;
    }
    modMain::ProcessingEnabled = previous;
}

void ProcessingLoop::tick()
{
    if (m_mode == 0)
        timerStep();
    else if (m_mode == 1)
        runLoop();
}

// Playing media moves on by itself, so a pass is due when the shown time
// reaches its next second. Otherwise only an event can change what a pass
// would show, and every event is followed by a pass anyway: the loop then
// sleeps until one arrives. One timer serves all passes, so a pass costs a
// single wake-up.
void ProcessingLoop::wakeForNextTick(int ms)
{
    if (ms < 0)
        m_tick.stop();
    else
        m_tick.start(ms);
}

bool ProcessingLoop::takePending(QString &text) const
{
    if (modMain::PendingCommand.isEmpty())
        return false;
    text = modMain::PendingCommand.takeOldest();
    return true;
}

void ProcessingLoop::timerStep()
{
    if (!modMain::ProcessingEnabled)
        return;
    ++m_steps;
    QString text;
    if (takePending(text)) {
        m_timer.stop();
        if (m_addMedia)
            m_addMedia(text);
        m_timer.start();
        return;
    }
    m_session.UpdateStatus();
}

// A modal dialog or a popup menu runs an event loop of its own inside one
// of the loop's passes, and the loop cannot go round until it closes: the
// time and the seek bar would stand still behind an open dialog. The wake-up
// timer still fires there, so it runs the status part of a pass itself. New
// commands wait for the loop: adding media under an open dialog would put
// a progress dialog over it.
void ProcessingLoop::nestedPass()
{
    if (!m_looping || QThread::currentThread()->loopLevel() <= m_loopLevel)
        return;
    if (modMain::ProcessingEnabled) {
        ++m_steps;
        m_session.UpdateStatus();
    }
    const int next = m_session.msUntilNextSecond();
    wakeForNextTick(next < 0 ? kNestedIdleMs : next);
}

void ProcessingLoop::runLoop()
{
    m_timer.stop();
    if (m_looping)
        return;
    m_looping = true;
    m_loopLevel = QThread::currentThread()->loopLevel();
    // An idle loop sleeps with no wake-up set; a nested loop that starts
    // then needs one to refresh at all.
    const QMetaObject::Connection nested =
        connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
                [this] {
                    if (!m_tick.isActive() && QThread::currentThread()->loopLevel() > m_loopLevel)
                        m_tick.start(kNestedIdleMs);
                });
    while (!modMain::QuitProcessing) {
        if (modMain::ProcessingEnabled) {
            ++m_steps;
            QString text;
            if (takePending(text)) {
                if (m_addMedia)
                    m_addMedia(text);
                QCoreApplication::processEvents();
                continue;
            }
            m_session.UpdateStatus();
        }
        wakeForNextTick(modMain::ProcessingEnabled ? m_session.msUntilNextSecond() : -1);
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    disconnect(nested);
    m_tick.stop();
    m_looping = false;
}

} // namespace orvane::playback

#include "playback/processing.h"

#include "core/modmain.h"
#include "playback/eventpump.h"
#include "playback/session.h"

#include <QCoreApplication>

namespace orvane::playback {

namespace modMain = core::modMain;

ProcessingLoop::ProcessingLoop(PlaybackSession &session, AddMediaHandler addMedia, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_addMedia(std::move(addMedia))
{
    connect(&m_timer, &QTimer::timeout, this, &ProcessingLoop::tick);
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

void ProcessingLoop::runLoop()
{
    m_timer.stop();
    if (m_looping)
        return;
    m_looping = true;
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
        pumpEventsOnce(kFrameMs);
    }
    m_looping = false;
}

} // namespace orvane::playback

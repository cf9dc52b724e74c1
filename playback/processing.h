#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

namespace orvane::playback {

class PlaybackSession;

// The periodic processing step of the main window. Timer mode (0) runs one
// step per tick. Loop mode (1) turns the first tick into a loop that runs a
// step and lets events run, until QuitProcessing is set, so every other
// event runs nested inside it; each pass sleeps until the next event, and
// while media plays at most until its shown time reaches the next second,
// so neither an idle nor a playing player burns a core. Either
// way a step hands the oldest waiting PendingCommand text to adding media,
// or refreshes the status.
class ProcessingLoop : public QObject
{
    Q_OBJECT

public:
    using AddMediaHandler = std::function<void(const QString &locations)>;

    ProcessingLoop(PlaybackSession &session, AddMediaHandler addMedia, QObject *parent = nullptr);

    // Starts the timer; mode and interval as the settings give them.
    void start(int mode, int intervalMs);
    // Stops the timer (timer mode) or ends the loop (loop mode).
    void stop();
    bool isLooping() const { return m_looping; }
    int mode() const { return m_mode; }
    QTimer &timer() { return m_timer; }
    // How many steps ran (for tests and measurements).
    quint64 steps() const { return m_steps; }

    // AdvanceAfterEnd: hold the processing while items change. suspend()
    // returns what resume() needs to restore.
    bool suspend();
    void resume(bool previous);

private:
    void tick();
    void timerStep();
    void runLoop();
    void nestedPass();
    bool takePending(QString &text) const;
    void wakeForNextTick(int ms);

    PlaybackSession &m_session;
    AddMediaHandler m_addMedia;
    QTimer m_timer;
    QTimer m_tick; // wakes a loop pass that no event woke
    int m_mode = 1;
    bool m_looping = false;
    int m_loopLevel = 0; // the event loop the processing loop runs in
    // How often a nested event loop refreshes what no second ticks for
    // (a pause, an MPRIS command under an open dialog).
    static constexpr int kNestedIdleMs = 250;
    quint64 m_steps = 0;
};

} // namespace orvane::playback

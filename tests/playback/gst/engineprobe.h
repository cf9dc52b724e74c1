#pragma once

#include "tests/support/qtprint.h"

#include "playback/gst/gstmediaplayer.h"

#include <QCoreApplication>
#include <QList>
#include <QTest>

#include <ostream>
#include <utility>

// Readable QString values in test failures.
namespace orvane::test {

// Records what an engine reports, in order, and waits for it with a bound.
class EngineProbe
{
public:
    explicit EngineProbe(playback::MediaPlayer &engine)
        : m_engine(engine)
    {
        QObject::connect(&engine, &playback::MediaPlayer::playStateChanged, &engine,
                         [this](int from, int to) {
                             states.append({from, to});
                         });
        QObject::connect(&engine, &playback::MediaPlayer::error, &engine, [this] {
            ++errors;
            // What the error handler would read inside the event.
            errorRecoveries.append(m_engine.errorRecovery());
        });
    }

    template <typename Predicate> bool waitFor(Predicate predicate, int timeoutMs = 10000)
    {
        return QTest::qWaitFor(predicate, timeoutMs);
    }

    // Opens and waits until the engine is stopped or reported an error.
    bool open(const QString &location)
    {
        clear();
        m_engine.setFileName(location);
        const bool done = waitFor([&] { return m_engine.playState() != 6 || errors > 0; });
        // Deliver the events raised so far, so the caller sees them.
        QCoreApplication::sendPostedEvents();
        return done && errors == 0 && m_engine.playState() == 0;
    }

    bool waitForState(int state, int timeoutMs = 10000)
    {
        return waitFor([&] { return m_engine.playState() == state; }, timeoutMs);
    }

    bool waitForPosition(double atLeast, int timeoutMs = 10000)
    {
        return waitFor([&] { return m_engine.currentPosition() >= atLeast; }, timeoutMs);
    }

    void clear()
    {
        states.clear();
        errors = 0;
        errorRecoveries.clear();
    }

    QList<std::pair<int, int>> states;
    int errors = 0;
    QStringList errorRecoveries;

private:
    playback::MediaPlayer &m_engine;
};

inline playback::gst::GstMediaPlayerOptions quietOptions()
{
    playback::gst::GstMediaPlayerOptions options;
    options.audioSink = QStringLiteral("fakesink sync=true");
    options.videoSink = QStringLiteral("fakesink sync=true");
    return options;
}

} // namespace orvane::test

#include "playback/cd/boundeddisc.h"

#include "core/busywork.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFileInfo>

#include <memory>
#include <mutex>
#include <thread>

namespace orvane::playback {

namespace {

// Shared with the worker, which may outlive the wait.
struct Answer {
    std::mutex mutex;
    bool done = false;
    std::optional<DiscInfo> disc;
};

constexpr int kWaitSliceMs = 10;
constexpr qint64 kDriveAnswerMs = 2000;

// What tells one state of a source from the next: an image's size and time
// of change; a drive has nothing to look at without touching it.
struct SourceStamp {
    QString source;
    qint64 size = -1;
    qint64 modified = -1;

    bool operator==(const SourceStamp &) const = default;
};

SourceStamp stampOf(const QString &source)
{
    const QFileInfo info(source);
    if (!info.isFile())
        return {source};
    return {source, info.size(), info.lastModified().toMSecsSinceEpoch()};
}

struct CachedAnswer {
    SourceStamp stamp;
    DiscInfo disc;
    QElapsedTimer age;
};

} // namespace

std::optional<DiscInfo> readDiscWithin(const QString &source, int timeoutMs, bool *timedOut)
{
    if (timedOut)
        *timedOut = false;
    auto answer = std::make_shared<Answer>();
    std::thread([answer, source] {
        std::optional<DiscInfo> disc = readDisc(source);
        const std::lock_guard lock(answer->mutex);
        answer->disc = std::move(disc);
        answer->done = true;
    }).detach();

    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        {
            const std::lock_guard lock(answer->mutex);
            if (answer->done)
                return std::move(answer->disc);
        }
        if (deadline.hasExpired() || core::busyWorkCancelled()) {
            if (timedOut)
                *timedOut = true;
            return std::nullopt;
        }
        core::pumpEvents(kWaitSliceMs);
    }
}

std::optional<DiscInfo> readDiscCached(const QString &source, int timeoutMs, bool *timedOut)
{
    // Used from the GUI thread only, like the device that asks.
    static std::optional<CachedAnswer> cached;
    const SourceStamp stamp = stampOf(source);
    if (cached && cached->stamp == stamp &&
        (stamp.size >= 0 || cached->age.elapsed() < kDriveAnswerMs)) {
        if (timedOut)
            *timedOut = false;
        return cached->disc;
    }
    std::optional<DiscInfo> disc = readDiscWithin(source, timeoutMs, timedOut);
    cached.reset();
    if (disc) {
        cached = CachedAnswer{stamp, *disc, {}};
        cached->age.start();
    }
    return disc;
}

} // namespace orvane::playback

#include "playback/cd/boundeddisc.h"

#include "core/busywork.h"

#include <QDeadlineTimer>

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

} // namespace

std::optional<DiscInfo> readDiscWithin(const QString &source, int timeoutMs)
{
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
        if (deadline.hasExpired() || core::busyWorkCancelled())
            return std::nullopt;
        core::pumpEvents(kWaitSliceMs);
    }
}

} // namespace orvane::playback

#pragma once

#include "playback/cd/disc.h"

namespace orvane::playback {

// readDisc() on a worker thread, waited for through the event pump for at
// most timeoutMs. A drive that does not answer in time (a disc spinning up,
// a hung device) gives "no disc"; its worker is left to finish on its own
// and its answer is dropped. Also ends early when busy work is cancelled.
std::optional<DiscInfo> readDiscWithin(const QString &source, int timeoutMs);

} // namespace orvane::playback

#pragma once

#include "playback/cd/disc.h"

namespace orvane::playback {

// readDisc() on a worker thread, waited for through the event pump for at
// most timeoutMs. A drive that does not answer in time (a disc spinning up,
// a hung device) gives "no disc"; its worker is left to finish on its own
// and its answer is dropped. Also ends early when busy work is cancelled.
// timedOut, when given, tells a drive that did not answer from one that has
// no readable disc.
std::optional<DiscInfo> readDiscWithin(const QString &source, int timeoutMs,
                                       bool *timedOut = nullptr);

// readDiscWithin() that reuses the last answer for the same source: for an
// image while the file is unchanged, for a drive for a moment (opening the
// device for adding and then again for playing reads the disc once).
std::optional<DiscInfo> readDiscCached(const QString &source, int timeoutMs,
                                       bool *timedOut = nullptr);

} // namespace orvane::playback

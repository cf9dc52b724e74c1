#pragma once

// What the files of MpvRealPlayer share among themselves; not for use
// outside the engine.

#include <QtGlobal>

namespace orvane::playback::mpv {

// Reply ids of the properties the engine watches.
enum ObservedProperty : quint64 {
    kPropPause = 1,
    kPropPausedForCache,
    kPropCacheState,
    kPropDuration,
    kPropWidth,
    kPropHeight,
    kPropMetadata,
};

// Async command replies carry tags from this range; observed properties use
// the small numbers above.
constexpr quint64 kFirstTag = 1000;

} // namespace orvane::playback::mpv

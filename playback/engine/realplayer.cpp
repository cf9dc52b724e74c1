#include "playback/engine/realplayer.h"

namespace orvane::playback {

// Out of line so that the class's vtable and meta object live in one place.
RealPlayer::~RealPlayer() = default;

} // namespace orvane::playback

#include "playback/logging.h"

namespace orvane::playback {
Q_LOGGING_CATEGORY(lcPlayback, "orvane.playback", QtWarningMsg)
} // namespace orvane::playback

#include "playlist/logging.h"

namespace orvane::playlist {
Q_LOGGING_CATEGORY(lcPlaylist, "orvane.playlist", QtWarningMsg)
} // namespace orvane::playlist

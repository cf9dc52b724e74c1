#pragma once

#include <QLoggingCategory>

namespace orvane::playlist {
// The playlist layer's messages; warnings show by default.
Q_DECLARE_LOGGING_CATEGORY(lcPlaylist)
} // namespace orvane::playlist

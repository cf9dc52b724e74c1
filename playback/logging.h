#pragma once

#include <QLoggingCategory>

namespace orvane::playback {
// The playback layer's messages; the engines log under orvane.playback.gst and
// orvane.playback.mpv.
Q_DECLARE_LOGGING_CATEGORY(lcPlayback)
} // namespace orvane::playback

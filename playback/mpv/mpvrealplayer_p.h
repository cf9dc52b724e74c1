#pragma once

// What the files of MpvRealPlayer share among themselves; not for use
// outside the engine.

#include <QVariant>
#include <QtGlobal>

#include <iterator>

struct mpv_node;
struct mpv_event_property;

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
    kPropTimePos,
    kPropSeekable,
    kPropFirstStatistic, // the statistics lines follow, in their order
};

// The lines of statisticsText(): label and the property behind it.
struct StatisticLine {
    const char *label;
    const char *property;
};
inline constexpr StatisticLine kStatisticLines[] = {
    {"Audio codec", "audio-codec-name"},    {"Audio bit rate", "audio-bitrate"},
    {"Video codec", "video-codec"},         {"Video bit rate", "video-bitrate"},
    {"Frames dropped", "frame-drop-count"}, {"Format", "file-format"},
};
inline constexpr int kStatisticCount = int(std::size(kStatisticLines));

// What the engine asks once a clip has loaded, in this order; the answer to
// the last one completes the clip.
inline constexpr const char *kOpenQueries[] = {"metadata", "duration", "width", "height",
                                               "seekable"};
inline constexpr int kOpenQueryCount = int(std::size(kOpenQueries));
enum OpenQuery { kOpenMetadata, kOpenDuration, kOpenWidth, kOpenHeight, kOpenSeekable };

// Async command and property replies carry tags from this range; observed
// properties use the small numbers above.
constexpr quint64 kFirstTag = 1000;

QVariant fromNode(const mpv_node &node);
// The value of a property event or reply; invalid when it has none.
QVariant valueOf(const mpv_event_property &property);

} // namespace orvane::playback::mpv

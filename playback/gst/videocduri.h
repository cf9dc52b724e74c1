#pragma once

#include <QString>

#include <optional>
#include <utility>

namespace orvane::playback::gst {

// The URI scheme of the Video CD source element: the drive device or disc
// image path, percent-encoded, and the disc track after '#', as in
// "orvane-vcd:///media/discs/holiday.cue#2".
inline constexpr char kVideoCdScheme[] = "orvane-vcd";

// The URI that plays disc track `track` (1..99) of `source`, an absolute
// path of a drive device (/dev/sr0) or a disc image (.cue, .toc, .nrg).
// Empty for a relative path or a track out of range.
QString videoCdUri(const QString &source, int track);

// The source path and disc track of a URI videoCdUri() made. Refuses
// anything else: another scheme, a host, a relative or empty path, bad
// escapes, escaped NUL bytes or bytes that are not UTF-8, and a track that
// is missing, not plain digits or outside 1..99.
std::optional<std::pair<QString, int>> parseVideoCdUri(const QString &uri);

} // namespace orvane::playback::gst

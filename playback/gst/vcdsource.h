#pragma once

#include "playback/gst/videocduri.h"

namespace orvane::playback::gst {

// The factory name of the element that reads a Video CD track.
inline constexpr char kVideoCdSourceFactory[] = "orvanevcdsrc";

// Registers the element that reads the MPEG track of a Video CD, from a
// drive or from a disc image, for videoCdUri()'s URIs, so that playbin
// plays them. GStreamer must be initialised. Once per process, from any
// thread. It also sets the process's libcdio log handler: the default one
// ends the program on a libcdio error, such as a folder given as an image.
void registerVideoCdSource();

} // namespace orvane::playback::gst

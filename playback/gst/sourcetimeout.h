#pragma once

#include <gst/gst.h>

namespace orvane::playback::gst {

// Sets a source element's "timeout" property to the given seconds in the
// property's own type and unit, so a network source gives up on a network
// that is not there. Elements without the property, or with a 64-bit one
// of a unit we do not know, are left as they are. True when it was set.
bool setSourceTimeout(GstElement *source, int seconds);

} // namespace orvane::playback::gst

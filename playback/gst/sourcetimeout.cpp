#include "playback/gst/sourcetimeout.h"

#include <cstring>

namespace orvane::playback::gst {

namespace {

// Units of "timeout" per second where they are not seconds. Elements use
// one name for different things: rtspsrc waits that long for UDP before it
// tries TCP, udpsrc posts a message when nothing came for that long.
struct TimeoutUnit {
    const char *factory;
    gint64 perSecond;
};
constexpr TimeoutUnit kUnits[] = {
    {"rtspsrc", 1000000},   // microseconds
    {"udpsrc", 1000000000}, // nanoseconds
};

// How many of the property's units make a second; 0 when unknown.
gint64 unitsPerSecond(GstElement *source, GType valueType)
{
    if (GstElementFactory *factory = gst_element_get_factory(source)) {
        const gchar *name = gst_plugin_feature_get_name(GST_PLUGIN_FEATURE(factory));
        for (const TimeoutUnit &unit : kUnits) {
            if (name && std::strcmp(name, unit.factory) == 0)
                return unit.perSecond;
        }
    }
    // A 32-bit timeout is seconds wherever GStreamer has one (souphttpsrc,
    // curlhttpsrc, tcpclientsrc, rtmpsrc); a 64-bit one of an element we
    // do not know could be micro- or nanoseconds, so it is not guessed.
    const bool is32Bit = valueType == G_TYPE_UINT || valueType == G_TYPE_INT;
    return is32Bit ? 1 : 0;
}

} // namespace

bool setSourceTimeout(GstElement *source, int seconds)
{
    GParamSpec *spec = g_object_class_find_property(G_OBJECT_GET_CLASS(source), "timeout");
    if (!spec || !(spec->flags & G_PARAM_WRITABLE))
        return false;
    const GType valueType = G_PARAM_SPEC_VALUE_TYPE(spec);
    const gint64 perSecond = unitsPerSecond(source, valueType);
    if (perSecond == 0)
        return false;
    GValue amount = G_VALUE_INIT;
    g_value_init(&amount, G_TYPE_INT64);
    g_value_set_int64(&amount, gint64(seconds) * perSecond);
    GValue value = G_VALUE_INIT;
    g_value_init(&value, valueType);
    const bool converted = g_value_transform(&amount, &value);
    if (converted) {
        g_param_value_validate(spec, &value); // into the property's range
        g_object_set_property(G_OBJECT(source), "timeout", &value);
    }
    g_value_unset(&value);
    g_value_unset(&amount);
    return converted;
}

} // namespace orvane::playback::gst

// Network sources' timeouts, set on the real elements and read back.
#include "playback/gst/sourcetimeout.h"

#include <gtest/gtest.h>

using orvane::playback::gst::setSourceTimeout;

namespace {

struct SourceCase {
    const char *factory;
    guint64 expected; // 5 s in the element's own unit
};

class SourceTimeoutTest : public ::testing::TestWithParam<SourceCase>
{
protected:
    static void SetUpTestSuite() { gst_init(nullptr, nullptr); }
};

// Each value type read with its own getter: a 64-bit property set through a
// 32-bit vararg would read back 5 (or garbage), not 5 s.
guint64 timeoutOf(GstElement *element)
{
    GParamSpec *spec = g_object_class_find_property(G_OBJECT_GET_CLASS(element), "timeout");
    GValue value = G_VALUE_INIT;
    g_value_init(&value, G_PARAM_SPEC_VALUE_TYPE(spec));
    g_object_get_property(G_OBJECT(element), "timeout", &value);
    guint64 result = 0;
    if (G_VALUE_HOLDS_UINT64(&value))
        result = g_value_get_uint64(&value);
    else if (G_VALUE_HOLDS_UINT(&value))
        result = g_value_get_uint(&value);
    else if (G_VALUE_HOLDS_INT(&value))
        result = guint64(g_value_get_int(&value));
    g_value_unset(&value);
    return result;
}

TEST_P(SourceTimeoutTest, FiveSecondsInTheElementsOwnUnit)
{
    const SourceCase source = GetParam();
    GstElement *element = gst_element_factory_make(source.factory, nullptr);
    if (!element)
        GTEST_SKIP() << source.factory << " is not installed";
    gst_object_ref_sink(element);
    EXPECT_TRUE(setSourceTimeout(element, 5));
    EXPECT_EQ(timeoutOf(element), source.expected);
    gst_object_unref(element);
}

INSTANTIATE_TEST_SUITE_P(Sources, SourceTimeoutTest,
                         ::testing::Values(SourceCase{"souphttpsrc", 5},
                                           SourceCase{"curlhttpsrc", 5},
                                           SourceCase{"tcpclientsrc", 5},
                                           SourceCase{"rtspsrc", 5000000},
                                           SourceCase{"udpsrc", 5000000000}),
                         [](const auto &test) { return std::string(test.param.factory); });

TEST_F(SourceTimeoutTest, LeavesSourcesWithoutATimeoutAlone)
{
    GstElement *element = gst_element_factory_make("filesrc", nullptr);
    ASSERT_NE(element, nullptr);
    gst_object_ref_sink(element);
    EXPECT_FALSE(setSourceTimeout(element, 5));
    gst_object_unref(element);
}

} // namespace

// The loadfile command as libmpv receives it.
#include "playback/mpv/loadfilecommand.h"
#include "playback/mpv/mpvrealplayer_p.h"

#include <QVariantMap>

#include <gtest/gtest.h>

using orvane::playback::mpv::fromNode;
using orvane::playback::mpv::LoadfileCommand;

namespace {

// Named arguments only: a positional fourth argument is an index on newer
// libmpv, and a comma or '=' inside a value must not split it.
TEST(LoadfileCommand, NamesEveryArgumentAndKeepsOptionValuesWhole)
{
    LoadfileCommand command("/media/a,b=c.wav", {{"start", "2.500"},
                                                 {"demuxer-lavf-o", "max_probe_packets=0"},
                                                 {"demuxer-lavf-probe-info", "nostreams"}});
    ASSERT_EQ(command.node()->format, MPV_FORMAT_NODE_MAP);
    const QVariantMap expected{
        {QStringLiteral("name"), QStringLiteral("loadfile")},
        {QStringLiteral("url"), QStringLiteral("/media/a,b=c.wav")},
        {QStringLiteral("flags"), QStringLiteral("replace")},
        {QStringLiteral("options"),
         QVariantMap{{QStringLiteral("start"), QStringLiteral("2.500")},
                     {QStringLiteral("demuxer-lavf-o"), QStringLiteral("max_probe_packets=0")},
                     {QStringLiteral("demuxer-lavf-probe-info"), QStringLiteral("nostreams")}}}};
    EXPECT_EQ(fromNode(*command.node()).toMap(), expected);
}

TEST(LoadfileCommand, LeavesOptionsOutWhenThereAreNone)
{
    LoadfileCommand command("https://example.org/live", {});
    ASSERT_EQ(command.node()->format, MPV_FORMAT_NODE_MAP);
    const QVariantMap expected{{QStringLiteral("name"), QStringLiteral("loadfile")},
                               {QStringLiteral("url"), QStringLiteral("https://example.org/live")},
                               {QStringLiteral("flags"), QStringLiteral("replace")}};
    EXPECT_EQ(fromNode(*command.node()).toMap(), expected);
}

} // namespace

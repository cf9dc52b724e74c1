// Which Qt platform the program runs on, and where it tells the user that
// video cannot be shown.
#include "app/platformchoice.h"
#include "playback/status.h"

#include <QByteArrayList>

#include <gtest/gtest.h>

using orvane::app::choosePlatform;
using orvane::app::DisplayEnvironment;
using orvane::playback::videoHiddenOn;

namespace {

QByteArray chosen(const DisplayEnvironment &env, std::initializer_list<const char *> args = {})
{
    std::vector<const char *> argv{"orvane"};
    argv.insert(argv.end(), args.begin(), args.end());
    return choosePlatform(env, int(argv.size()), argv.data());
}

// The platform the program ends up on: ours, else the user's.
QString runsOn(const DisplayEnvironment &env, std::initializer_list<const char *> args = {})
{
    const QByteArray platform = chosen(env, args);
    return QString::fromLatin1(platform.isEmpty() ? env.platform : platform.split(';').first());
}

TEST(PlatformChoice, XWaylandComesFirstOnAWaylandDesktop)
{
    const DisplayEnvironment both{":0", "wayland-0", {}};
    EXPECT_EQ(chosen(both), QByteArray("xcb;wayland")); // wayland only if X does not answer
    EXPECT_FALSE(videoHiddenOn(runsOn(both)));
    EXPECT_EQ(chosen({":1", {}, {}}), QByteArray("xcb"));
}

TEST(PlatformChoice, WaylandAloneRunsOnWaylandAndSaysVideoIsNotShown)
{
    const DisplayEnvironment wayland{{}, "wayland-0", {}};
    EXPECT_EQ(chosen(wayland), QByteArray("wayland"));
    EXPECT_TRUE(videoHiddenOn(runsOn(wayland)));
}

TEST(PlatformChoice, TheUsersChoiceStays)
{
    EXPECT_TRUE(chosen({":0", "wayland-0", "wayland"}).isEmpty());
    EXPECT_TRUE(videoHiddenOn(runsOn({":0", "wayland-0", "wayland"})));
    EXPECT_TRUE(chosen({":0", "wayland-0", {}}, {"-platform", "wayland"}).isEmpty());
    EXPECT_TRUE(chosen({":0", {}, {}}, {"a.mp3", "--platform", "offscreen"}).isEmpty());
    // Nothing to run on: Qt says so itself.
    EXPECT_TRUE(chosen({}).isEmpty());
}

TEST(PlatformChoice, OnlyPlatformsWithAScreenButNoPlaceForVideoGetTheNote)
{
    for (const char *name : {"wayland", "wayland-egl", "eglfs", "vnc"})
        EXPECT_TRUE(videoHiddenOn(QString::fromLatin1(name))) << name;
    for (const char *name : {"xcb", "offscreen", "minimal", ""})
        EXPECT_FALSE(videoHiddenOn(QString::fromLatin1(name))) << name;
}

} // namespace

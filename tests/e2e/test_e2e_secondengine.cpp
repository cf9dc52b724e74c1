// The libmpv engine in the window with what once crashed or hung it:
// RealVideo with its own picture, an MPRIS seek while the picture plays,
// the engine's statistics while RealAudio plays, and RealAudio under a
// name another engine claims.
#include "tests/e2e/e2emedia.h"
#include "tests/e2e/e2etest.h"
#include "tests/e2e/stories.h"
#include "tests/support/qtprint.h"

#include <QFile>

using namespace orvane::e2e;

using SecondEngine = DesktopTest;

TEST_F(SecondEngine, PlaysRealVideoWithoutLosingTheWindow)
{
    // Started as from a launcher, without standard input (Player does so).
    Player &player = startPlayer({realVideoClip(12)});
    ASSERT_TRUE(waitForWord(player, QStringLiteral("Playing")))
        << player.statusText().toStdString();
    EXPECT_TRUE(
        waitUntil([&] { return shownPosition(player) >= 6.0 || !player.isRunning(); }, 15000))
        << player.statusText().toStdString();
    EXPECT_TRUE(player.isRunning()) << "the program still runs 6 s into the clip";
    EXPECT_GE(shownPosition(player), 6.0);
}

TEST_F(SecondEngine, AnMprisSeekDuringRealVideoLeavesTheWindowAnswering)
{
    Player &player = startPlayer({realVideoClip(20)});
    ASSERT_TRUE(waitUntil([&] { return shownPosition(player) >= 0.8; }, 20000))
        << player.statusText().toStdString();
    player.playerctl({QStringLiteral("position"), QStringLiteral("10")});
    EXPECT_TRUE(waitUntil([&] { return std::abs(shownPosition(player) - 10.0) < 2.0; }, 5000))
        << "the seek moves the time: " << player.statusText().toStdString();
    ASSERT_TRUE(clickControl(player, QStringLiteral("Pause")));
    EXPECT_TRUE(waitForWord(player, QStringLiteral("Paused"), 5000))
        << "and the window still takes clicks: " << player.statusText().toStdString();
    EXPECT_NEAR(player.playerctl({QStringLiteral("position")}).toDouble(), 10.0, 2.5);
}

TEST_F(SecondEngine, ShowsItsStatisticsWhileRealAudioPlays)
{
    Player &player = startPlayer({realAudioClip(20)});
    ASSERT_TRUE(waitForWord(player, QStringLiteral("Playing")));
    player.activate();
    ASSERT_TRUE(player.keyForPopup(QStringLiteral("alt+o"))) << "the Options menu opens";
    ASSERT_TRUE(player.keyForPopup(QStringLiteral("s"))) << "and its Engine Statistics";
    player.key(QStringLiteral("m"));
    ASSERT_FALSE(player.waitForActiveWindow(QStringLiteral("^mpv Engine")).isEmpty())
        << "the statistics of the mpv engine come up";
    EXPECT_TRUE(player.isRunning());
    player.key(QStringLiteral("Escape"));
    EXPECT_TRUE(player.waitForNoWindow(QStringLiteral("^mpv Engine")));
    const double at = shownPosition(player);
    EXPECT_TRUE(waitUntil([&] { return shownPosition(player) > at + 1.0; }, 5000))
        << "and the clip plays on: " << player.statusText().toStdString();
}

TEST_F(SecondEngine, PlaysRealAudioNamedAsAnotherTypeWithTryOtherMode)
{
    writeSettings("[General Setting]\nTry Open Other Mode=True\n");
    const QString named = m_desktop.home() + QStringLiteral("/talk.avi");
    ASSERT_TRUE(QFile::copy(realAudioClip(20), named));
    Player &player = startPlayer({named});
    ASSERT_TRUE(waitForStart(player, 20)) << player.statusText().toStdString();
    const QRect groove = player.accessibility().extents(player.control(QStringLiteral("Seek")));
    ASSERT_FALSE(groove.isEmpty());
    player.click(alongSlider(groove, 0.5));
    EXPECT_TRUE(waitUntil([&] { return std::abs(shownPosition(player) - 10.0) < 2.0; }, 5000))
        << "it seeks: " << player.statusText().toStdString();
}

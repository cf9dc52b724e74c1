// What the window shows must be true at every moment: while the user drags
// the seek bar, behind an open dialog, after a menu was browsed, after the
// end of the list, and when the control bar comes back.
#include "tests/e2e/e2emedia.h"
#include "tests/e2e/e2etest.h"
#include "tests/e2e/stories.h"
#include "tests/support/qtprint.h"

#include <QRegularExpression>

#include <cmath>

using namespace orvane::e2e;

namespace {

class Display : public DesktopTest
{
protected:
    Accessible seekBar(Player &player) { return player.control(QStringLiteral("Seek")); }

    double seekValue(Player &player)
    {
        return player.accessibility().currentValue(seekBar(player)).value_or(-1);
    }

    // One command of a menu of the menu bar, by its mnemonic letters.
    bool command(Player &player, const QString &menu, const QString &item)
    {
        player.activate();
        const int windows = player.visibleWindows();
        if (!player.keyForPopup(menu))
            return false;
        player.key(item);
        return waitUntil([&] { return player.visibleWindows() == windows; }, 5000);
    }
};

} // namespace

TEST_F(Display, TheSeekBarShowsTheTimeUnderTheHandleWhileItIsDragged)
{
    Player &player = startPlayer({mp3Clip(QStringLiteral("Long"), 120)});
    ASSERT_TRUE(waitForStart(player, 120)) << player.statusText().toStdString();
    const QRect groove = player.accessibility().extents(seekBar(player));
    ASSERT_FALSE(groove.isEmpty());

    const double maximum = player.accessibility().maximumValue(seekBar(player)).value_or(1);
    const QPoint handle = alongSlider(groove, seekValue(player) / maximum);
    player.dragAndHold(handle, alongSlider(groove, 0.25));
    // The hand moves in steps of several seconds: the time of the step
    // before the last one would be far off.
    EXPECT_TRUE(waitUntil([&] { return std::abs(shownPosition(player) - 30.0) < 1.5; }, 3000))
        << "held at a quarter, the line reads 0:30: " << player.statusText().toStdString();
    EXPECT_TRUE(player.statusText().contains(QStringLiteral("Release to seek here")))
        << player.statusText().toStdString();
    player.release();
    EXPECT_TRUE(waitForWord(player, QStringLiteral("Playing"), 5000));
    EXPECT_NEAR(shownPosition(player), 30.0, 3.0);
}

TEST_F(Display, TheTimeRunsOnBehindTheEngineStatistics)
{
    Player &player = startPlayer({mp3Clip(QStringLiteral("Long"), 30)});
    ASSERT_TRUE(waitForWord(player, QStringLiteral("Playing")));
    player.activate();
    ASSERT_TRUE(player.keyForPopup(QStringLiteral("alt+o")));
    ASSERT_TRUE(player.keyForPopup(QStringLiteral("s")));
    player.key(QStringLiteral("g"));
    ASSERT_FALSE(player.waitForActiveWindow(QStringLiteral("^Statistics$")).isEmpty());

    AtSpi &atspi = player.accessibility();
    const Accessible app = atspi.application(player.pid());
    const Accessible value =
        atspi.findByNamePattern(app, QRegularExpression(QStringLiteral(R"(^\d+\.\d\d s$)")));
    ASSERT_TRUE(value.isValid()) << "the dialog shows the position";
    const QString first = atspi.name(value);
    const double shown = shownPosition(player);
    EXPECT_TRUE(waitUntil([&] { return shownPosition(player) > shown + 1.5; }, 5000))
        << "the main window's time runs while the dialog is open: "
        << player.statusText().toStdString();
    const double seek = seekValue(player);
    EXPECT_TRUE(waitUntil([&] { return seekValue(player) > seek; }, 5000)) << "and its seek bar";
    EXPECT_TRUE(waitUntil([&] { return atspi.name(value) != first; }, 5000))
        << "the dialog's own position follows: " << first.toStdString();
    player.key(QStringLiteral("Escape"));
    EXPECT_TRUE(player.waitForNoWindow(QStringLiteral("^Statistics$")));
}

TEST_F(Display, PausedMediaIsStillPausedAfterTheMenusWereBrowsed)
{
    Player &player = startPlayer({mp3Clip(QStringLiteral("Long"), 30)});
    ASSERT_TRUE(waitForWord(player, QStringLiteral("Playing")));
    ASSERT_TRUE(clickControl(player, QStringLiteral("Pause")));
    ASSERT_TRUE(waitForWord(player, QStringLiteral("Paused"), 5000));
    player.activate();
    ASSERT_TRUE(player.keyForPopup(QStringLiteral("alt+f")));
    player.key(QStringLiteral("Right"));
    player.key(QStringLiteral("Escape"));
    player.key(QStringLiteral("Escape"));
    EXPECT_TRUE(waitForWord(player, QStringLiteral("Paused"), 5000))
        << "not the idle text: " << player.statusText().toStdString();
}

TEST_F(Display, TheSeekHandleGoesBackToTheStartAfterTheEnd)
{
    Player &player = startPlayer({mp3Clip(QStringLiteral("Short"), 2)});
    ASSERT_TRUE(waitForStart(player, 2));
    EXPECT_TRUE(waitUntil([&] { return seekValue(player) > 0; }, 5000));
    ASSERT_TRUE(waitUntil(
        [&] { return player.playerctl({QStringLiteral("status")}) == QStringLiteral("Stopped"); },
        10000));
    EXPECT_TRUE(waitUntil([&] { return seekValue(player) == 0; }, 3000))
        << "the handle stays at " << seekValue(player);
}

TEST_F(Display, TheControlBarComesBackWithItsPanels)
{
    Player &player = startPlayer({mp3Clip(QStringLiteral("Long"), 30)});
    ASSERT_TRUE(waitForWord(player, QStringLiteral("Playing")));
    for (const char *panel : {"p", "s", "t", "v", "i"})
        ASSERT_TRUE(command(player, QStringLiteral("alt+c"), QString::fromLatin1(panel))) << panel;
    EXPECT_FALSE(clickControl(player, QStringLiteral("Pause"))) << "every panel is hidden";

    ASSERT_TRUE(command(player, QStringLiteral("alt+c"), QStringLiteral("c")));
    EXPECT_TRUE(waitUntil([&] { return clickControl(player, QStringLiteral("Pause")); }, 5000))
        << "Control Bar shows the panels again, not an empty strip";
    EXPECT_TRUE(waitForWord(player, QStringLiteral("Paused"), 5000));
}

// On a Wayland desktop with XWayland the program must run on X, where the
// engines can put their video into the window; a Wayland display that does
// not answer must not keep it from starting.
TEST_F(Display, AWaylandDesktopWithXWaylandRunsOnX)
{
    m_players.push_back(std::make_unique<Player>(m_desktop, m_folder));
    Player &player = *m_players.back();
    player.setEnvironment(QStringLiteral("QT_QPA_PLATFORM"), QString()); // the user chose none
    player.setEnvironment(QStringLiteral("WAYLAND_DISPLAY"),
                          QStringLiteral("orvane-test-no-such-wayland"));
    player.setEnvironment(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
    ASSERT_TRUE(player.start());
    EXPECT_FALSE(player.window().isEmpty()) << "no window on X: " << player.log().toStdString();
    // Without the note that video is not shown.
    EXPECT_TRUE(waitUntil([&] { return player.statusText() == QStringLiteral("Ready"); }, 20000))
        << player.statusText().toStdString();
}

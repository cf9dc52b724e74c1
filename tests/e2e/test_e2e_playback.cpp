// A user plays, pauses, seeks and moves through a playlist, with either
// engine: the GStreamer engine (MP3) and the libmpv engine (RealMedia).
#include "tests/e2e/e2emedia.h"
#include "tests/e2e/e2etest.h"
#include "tests/e2e/stories.h"
#include "tests/support/qtprint.h"

using namespace orvane::e2e;

namespace {

class Playback : public DesktopTest, public ::testing::WithParamInterface<EngineCase>
{
protected:
    QString clip(const QString &title, double seconds) { return GetParam().clip(title, seconds); }
    double position(Player &player) { return shownPosition(player); }
};

} // namespace

TEST_P(Playback, PlaysWhatItWasStartedWithAndTheTimeRuns)
{
    Player &player =
        startPlayer({clip(QStringLiteral("First"), 20), clip(QStringLiteral("Second"), 20)});
    ASSERT_TRUE(waitForWord(player, QStringLiteral("Playing")))
        << player.statusText().toStdString();
    const QString status = player.statusText();
    EXPECT_NEAR(statusLength(status).value_or(-1), 20.0, 1.2) << status.toStdString();
    const double first = position(player);
    EXPECT_TRUE(waitUntil([&] { return position(player) > first + 1.0; }, 5000))
        << "the time in the status line runs: " << player.statusText().toStdString();
    EXPECT_GT(player.playerctl({QStringLiteral("position")}).toDouble(), first + 0.5)
        << "MPRIS Position runs too";
    EXPECT_FALSE(m_desktop
                     .run(QStringLiteral("pactl"), {QStringLiteral("list"), QStringLiteral("short"),
                                                    QStringLiteral("sink-inputs")})
                     .isEmpty())
        << "the sound reaches the sound server";
}

TEST_P(Playback, PausesAndResumesFromTheToolbar)
{
    Player &player = startPlayer({clip(QStringLiteral("First"), 20)});
    ASSERT_TRUE(waitForWord(player, QStringLiteral("Playing")));
    ASSERT_TRUE(clickControl(player, QStringLiteral("Pause")));
    ASSERT_TRUE(waitForWord(player, QStringLiteral("Paused"), 5000))
        << player.statusText().toStdString();
    const double pausedAt = position(player);
    EXPECT_FALSE(waitUntil([&] { return position(player) > pausedAt + 0.3; }, 1200))
        << "the time stands while paused";
    EXPECT_EQ(player.playerctl({QStringLiteral("status")}), QStringLiteral("Paused"));
    ASSERT_TRUE(clickControl(player, QStringLiteral("Play")));
    ASSERT_TRUE(waitForWord(player, QStringLiteral("Playing"), 5000));
    EXPECT_TRUE(waitUntil([&] { return position(player) > pausedAt + 0.5; }, 5000))
        << "and runs again from where it stood";
}

TEST_P(Playback, SeeksWhereTheSeekBarIsClickedOrDragged)
{
    Player &player = startPlayer({clip(QStringLiteral("First"), 20)});
    ASSERT_TRUE(waitForWord(player, QStringLiteral("Playing")));
    const Accessible seekBar = player.control(QStringLiteral("Seek"));
    const QRect groove = player.accessibility().extents(seekBar);
    ASSERT_FALSE(groove.isEmpty());

    player.click(alongSlider(groove, 0.75));
    EXPECT_TRUE(waitUntil([&] { return std::abs(position(player) - 15.0) < 2.0; }, 5000))
        << "a click at three quarters plays from 15 s: " << player.statusText().toStdString();

    const double value = player.accessibility().currentValue(seekBar).value_or(-1);
    const double maximum = player.accessibility().maximumValue(seekBar).value_or(1);
    const QPoint handle = alongSlider(groove, value / maximum);
    player.drag(handle, alongSlider(groove, 0.25));
    EXPECT_TRUE(waitUntil([&] { return std::abs(position(player) - 5.0) < 2.0; }, 5000))
        << "the handle dragged to a quarter plays from 5 s: " << player.statusText().toStdString();
    EXPECT_TRUE(waitForWord(player, QStringLiteral("Playing"), 5000));

    // A wheel notch is a step of three seconds, and it sticks: nine
    // seconds on, sooner than playing gets there.
    const double before = position(player);
    player.scroll(alongSlider(groove, 0.5), 3);
    EXPECT_TRUE(waitUntil([&] { return position(player) > before + 6.0; }, 2500))
        << "three notches up from " << before << " s: " << player.statusText().toStdString();
    EXPECT_FALSE(waitUntil([&] { return position(player) < before + 6.0; }, 1500))
        << "and the next refresh keeps it: " << player.statusText().toStdString();
}

TEST_P(Playback, MovesToTheNextAndPreviousItemWithTheKeys)
{
    Player &player =
        startPlayer({clip(QStringLiteral("First"), 20), clip(QStringLiteral("Second"), 20)});
    ASSERT_TRUE(waitForStart(player, 20));
    player.activate();
    player.key(QStringLiteral("ctrl+Right"));
    EXPECT_TRUE(waitForStart(player, 21)) << player.statusText().toStdString();
    player.key(QStringLiteral("ctrl+Left"));
    EXPECT_TRUE(waitForStart(player, 20)) << player.statusText().toStdString();
}

TEST_P(Playback, StopsAfterTheLastItemUnlessRepeatAllIsOn)
{
    Player &player =
        startPlayer({clip(QStringLiteral("First"), 2), clip(QStringLiteral("Second"), 2)});
    ASSERT_TRUE(waitForStart(player, 2));
    EXPECT_TRUE(waitForStart(player, 3)) << "the end of the first plays the second";
    EXPECT_TRUE(waitUntil(
        [&] { return player.playerctl({QStringLiteral("status")}) == QStringLiteral("Stopped"); },
        10000))
        << "and the end of the last stops: " << player.statusText().toStdString();
    EXPECT_EQ(player.statusText(), QStringLiteral("Ready"));

    player.activate();
    const int windows = player.visibleWindows();
    ASSERT_TRUE(player.keyForPopup(QStringLiteral("alt+p"))) << "the Play menu opens";
    player.key(QStringLiteral("r")); // Repeat All
    EXPECT_TRUE(waitUntil([&] { return player.visibleWindows() == windows; }, 5000));
    ASSERT_TRUE(clickControl(player, QStringLiteral("Play")));
    EXPECT_TRUE(waitForStart(player, 2)) << "Play starts again at the top";
    EXPECT_TRUE(waitForStart(player, 3));
    EXPECT_TRUE(waitForStart(player, 2)) << "with Repeat All the last item leads to the first";
}

INSTANTIATE_TEST_SUITE_P(Engines, Playback, ::testing::ValuesIn(kEngines),
                         [](const auto &engine) { return std::string(engine.param.name); });

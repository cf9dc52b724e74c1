// Time and status texts, the seek-scale table, the seek bar and the status
// refresh, with fake engines.
#include "controllerfixture.h"

#include "playback/status.h"

using namespace orvane;
using namespace orvane::playback;
using orvane::test::FakeControllerTest;

TEST(StatusTexts, TimeText)
{
    const struct {
        double seconds;
        const char *text;
    } cases[] = {
        {83.25, "01:23.25"},  {125.0, "02:05.00"}, {0.0, "00:00.00"},     {83.6, "01:23.60"},
        {59.999, "01:00.00"}, {0.125, "00:00.12"}, {6000.0, "100:00.00"}, {-3.0, "00:00.00"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(timeText(c.seconds), QString::fromLatin1(c.text)) << c.seconds;
}

TEST(StatusTexts, SeekScaleTable)
{
    const struct {
        double length;
        int scale, maximum, steps;
    } cases[] = {
        {240, 1, 240, 30},  {300, 1, 300, 30},  {300.5, 2, 150, 30},
        {1200, 2, 600, 30}, {1800, 2, 900, 30}, {7200, 10, 720, 12},
    };
    for (const auto &c : cases) {
        const SeekScaleChoice choice = seekScaleFor(c.length);
        EXPECT_EQ(choice.scale, c.scale) << c.length;
        EXPECT_EQ(choice.stepSeconds / choice.scale, c.steps) << c.length;
        EXPECT_EQ(qRound(c.length / choice.scale), c.maximum) << c.length;
    }
}

TEST_F(FakeControllerTest, StatusLineFollowsTheEngine)
{
    test::resetPlaybackState();
    status.writes = 0;
    session.UpdateStatus();
    EXPECT_EQ(status.shown, QStringLiteral("Ready"));
    session.UpdateStatus();
    EXPECT_EQ(status.writes, 2); // "Ready" is written on every pass

    test::addItem(view, test::fileItem(test::mediaFile(QStringLiteral("a.mp3"))));
    view.setSelectedPosition(0);
    mp.length = 1200.0;
    mp.position = 83.25;
    ASSERT_TRUE(PlayItem(mp, rp, view, &seek));
    session.UpdateStatus();
    EXPECT_EQ(status.shown, QStringLiteral("01:23.25 / 20:00.00     Playing"));
    EXPECT_EQ(session.seekScale(), 2);
    EXPECT_EQ(seek.maximum_, 600);
    EXPECT_EQ(seek.ticks, 30);
    EXPECT_EQ(seek.large, 30);
    EXPECT_EQ(seek.value_, 42);
    EXPECT_TRUE(seek.enabled);
    const int writes = status.writes;
    session.UpdateStatus();
    EXPECT_EQ(status.writes, writes); // nothing changed, nothing written

    // A window that cannot be seen (minimised, unmapped) is not written to;
    // the next pass on the screen catches up.
    window.shown = false;
    mp.position = 90.0;
    session.UpdateStatus();
    EXPECT_EQ(status.writes, writes);
    EXPECT_EQ(seek.value_, 42);
    window.shown = true;
    session.UpdateStatus();
    EXPECT_EQ(status.shown, QStringLiteral("01:30.00 / 20:00.00     Playing"));
    EXPECT_EQ(seek.value_, 45);

    // A stream without a length: the bar goes off, the line still runs,
    // with the unknown length, and is written once per change.
    mp.length = 0.0;
    session.UpdateStatus();
    EXPECT_FALSE(seek.enabled);
    EXPECT_EQ(status.shown, QStringLiteral("01:30.00 / ??:??.??     Playing"));
    const int streamWrites = status.writes;
    session.UpdateStatus();
    EXPECT_EQ(status.writes, streamWrites);
}

TEST_F(FakeControllerTest, RunningTimeIsShownToTheSecond)
{
    test::addItem(view, test::fileItem(test::mediaFile(QStringLiteral("a.mp3"))));
    view.setSelectedPosition(0);
    mp.length = 240.0;
    mp.position = 10.0;
    ASSERT_TRUE(PlayItem(mp, rp, view, &seek));
    session.UpdateStatus();
    ASSERT_EQ(status.shown, QStringLiteral("00:10.00 / 04:00.00     Playing"));
    const int writes = status.writes;
    struct Step {
        double position;
        bool written;
        const char *why;
    };
    const Step steps[] = {
        {10.40, false, "the same second, later"},
        {10.99, false, "still the same second"},
        {11.02, true, "the next second"},
        {11.50, false, "within it again"},
        {4.25, true, "a seek back"},
        {9.75, true, "a seek ahead"},
    };
    int expected = writes;
    for (const Step &step : steps) {
        mp.position = step.position;
        session.UpdateStatus();
        expected += step.written ? 1 : 0;
        EXPECT_EQ(status.writes, expected) << step.why;
    }
    // A new play mode is written whatever the time does.
    mp.pause();
    mp.position = 9.80;
    session.UpdateStatus();
    EXPECT_EQ(status.shown, QStringLiteral("00:09.80 / 04:00.00     Paused"));
}

TEST_F(FakeControllerTest, DraggingTheSeekBarSeeksOnRelease)
{
    test::addItem(view, test::fileItem(test::mediaFile(QStringLiteral("a.mp3"))));
    view.setSelectedPosition(0);
    mp.length = 1200.0;
    ASSERT_TRUE(PlayItem(mp, rp, view, &seek));
    session.UpdateStatus();
    ASSERT_EQ(session.seekScale(), 2);

    seek.value_ = 75;
    session.silSeek_Scroll();
    EXPECT_EQ(status.shown, QStringLiteral("02:30.00 / 20:00.00     Release to seek here"));
    session.UpdateStatus(); // leaves the bar and line alone while dragging
    EXPECT_EQ(seek.value_, 75);
    session.silSeek_Change();
    EXPECT_EQ(mp.position, 150.0);
    EXPECT_FALSE(session.seekDragging());

    // A change the refresh made itself never seeks.
    mp.position = 10.0;
    session.UpdateStatus();
    session.silSeek_Change();
    EXPECT_EQ(mp.position, 10.0);
}

TEST_F(FakeControllerTest, SeekingBeyondTheLengthDoesNothing)
{
    test::addItem(view, test::fileItem(test::mediaFile(QStringLiteral("a.mp3"))));
    test::addItem(view, test::fileItem(test::mediaFile(QStringLiteral("b.ra")), true, 2));
    view.setSelectedPosition(0);
    mp.length = 100.0;
    mp.position = 5.0;
    ASSERT_TRUE(PlayItem(mp, rp, view, &seek));
    EXPECT_FALSE(SeekMedia(mp, rp, 100.5));
    EXPECT_EQ(mp.position, 5.0);
    EXPECT_TRUE(SeekMedia(mp, rp, 100.0));

    view.setSelectedPosition(1);
    ASSERT_TRUE(PlayItem(mp, rp, view, &seek));
    EXPECT_FALSE(SeekMedia(mp, rp, 90.0)); // the fake's length is 90 s
    EXPECT_TRUE(SeekMedia(mp, rp, 89.9996));
    EXPECT_EQ(rp.position(), 90000);
}

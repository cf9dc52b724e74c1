// The controller, navigation and commands on the real engines and real
// files (GStreamer with fake sinks, libmpv with null outputs), against the
// real playlist model.
#include "controllerfixture.h"

#include "playback/gst/gstmediaplayer.h"
#include "playback/mpv/mpvrealplayer.h"
#include "playback/navigation.h"
#include "playlist/playlistops.h"
#include "tests/support/media.h"

#include <QElapsedTimer>

using namespace orvane;
using namespace orvane::playback;
using test::addItem;
using test::fileItem;

namespace {

QString tone(const QString &name, double seconds, int frequency)
{
    return test::generatedMedia(
        name, {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
               QStringLiteral("sine=frequency=%1:duration=%2").arg(frequency).arg(seconds)});
}

QString location(const QString &path)
{
    return QStringLiteral("file://") + path;
}

class EngineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::resetPlaybackState();
        session.connectEngines();
        connect(mp, [this](int from, int to) {
            if (from == MediaPlayer::Closed && to == MediaPlayer::Stopped)
                ++opens;
        });
        ResetEngines(mp, rp, &seek, true);
    }
    void TearDown() override { ResetEngines(mp, rp, nullptr, true); }

    template <typename F> void connect(MediaPlayer &engine, F f)
    {
        QObject::connect(&engine, &MediaPlayer::playStateChanged, &session, f);
    }
    int add(const QString &path, bool checked = true, qint32 type = kMediaPlayerFile)
    {
        return addItem(view, fileItem(location(path), checked, type));
    }
    bool playAt(int position)
    {
        view.setSelectedPosition(position);
        return PlayItem(mp, rp, view, &seek);
    }
    bool waitForMode(PlayMode mode)
    {
        return test::waitUntil([&] { return GetPlayMode(mp, rp) == mode; });
    }

    gst::GstMediaPlayer mp{
        {QStringLiteral("fakesink sync=true"), QStringLiteral("fakesink sync=true"), 8000}};
    mpv::MpvRealPlayer rp{nullptr, {QStringLiteral("null"), QStringLiteral("null"), 5, {}}};
    playlist::PlayListModel view;
    test::FakeSeekBar seek;
    test::FakeStatusLine status;
    test::FakeWindow window;
    test::FakeMessageBox box;
    PlaybackSession session{mp, rp, view, &seek, &status, &window};
    int opens = 0; // locations the first engine opened
};

} // namespace

TEST_F(EngineTest, RepeatAllPlaysTheFirstCheckedItemAgain)
{
    add(tone(QStringLiteral("ctl-a.wav"), 0.6, 440), false);
    add(tone(QStringLiteral("ctl-b.wav"), 0.6, 550));
    session.setRepeatAll(true);
    // A start over comes as a Playing report or, changed to without a gap,
    // as nextStarted.
    int starts = 0;
    connect(mp, [&](int, int to) { starts += to == MediaPlayer::Playing ? 1 : 0; });
    QObject::connect(&mp, &MediaPlayer::nextStarted, &session, [&] { ++starts; });
    ASSERT_TRUE(playAt(1));
    ASSERT_TRUE(test::waitUntil([&] { return starts >= 3; }));
    EXPECT_EQ(view.selectedPosition(), 1);
    EXPECT_EQ(opens, 1); // loaded once, started over by the engine
    session.ovmPlay_MenuClick(12);
    ASSERT_TRUE(test::waitUntil([&] { return state::LoadedMediaType == kMediaNone; }));
}

// The next item opens behind the playing one; what the user changes
// before the end decides what really follows.
TEST_F(EngineTest, TheItemPreparedBehindThePlayingOneFollowsOnlyWhileItIsStillNext)
{
    const QString a = location(tone(QStringLiteral("ctl-a.wav"), 1.5, 440));
    const QString b = location(tone(QStringLiteral("ctl-b.wav"), 0.6, 550));
    const QString c = location(tone(QStringLiteral("ctl-c.wav"), 0.6, 660));
    add(a.mid(7));
    add(b.mid(7));
    add(c.mid(7));
    QStringList played;
    QObject::connect(&mp, &MediaPlayer::nextStarted, &session, [&] { played << mp.fileName(); });

    // Untouched, b follows a without the engine stopping in between.
    int stops = 0;
    connect(mp, [&](int, int to) { stops += to == MediaPlayer::Stopped ? 1 : 0; });
    ASSERT_TRUE(playAt(0));
    ASSERT_TRUE(test::waitUntil([&] { return mp.nextLocations() == QStringList{b}; }));
    ASSERT_TRUE(test::waitUntil([&] { return played.size() == 1; }));
    EXPECT_EQ(played.first(), b);
    EXPECT_EQ(view.selectedPosition(), 1);
    EXPECT_EQ(stops, 1); // only the one of the first open
    EXPECT_EQ(opens, 1);

    // b unchecked while a plays: c follows a, and b never plays.
    ASSERT_TRUE(playAt(0));
    ASSERT_TRUE(test::waitUntil([&] { return mp.nextLocations() == QStringList{b}; }));
    playlist::PlayList[playlist::IndexFromKey(&view, view.key(1))].DOPLAY = playlist::kFalse;
    session.PlayListChanged();
    EXPECT_NE(mp.nextLocations(), QStringList{b});
    ASSERT_TRUE(test::waitUntil([&] { return view.selectedPosition() == 2; }));
    EXPECT_EQ(mp.fileName(), c);
    EXPECT_FALSE(played.mid(1).contains(b));

    // Stop forgets it: nothing starts after the stop.
    played.clear();
    ASSERT_TRUE(playAt(0));
    ASSERT_TRUE(test::waitUntil([&] { return !mp.nextLocations().isEmpty(); }));
    session.Stop();
    EXPECT_TRUE(mp.nextLocations().isEmpty());
    test::settle();
    EXPECT_TRUE(played.isEmpty());
    EXPECT_NE(mp.playState(), MediaPlayer::Playing);

    // Past the last checked item the list comes to rest on its first.
    view.setSelectedPosition(2);
    session.ovmPlay_MenuClick(11);
    ASSERT_TRUE(waitForMode(kPlayModePlaying));
    test::settle(); // the Playing report clears the stop of above
    ASSERT_TRUE(test::waitUntil([&] { return session.stopRequested(); }));
    test::settle();
    EXPECT_EQ(view.selectedPosition(), 0);
    EXPECT_EQ(state::LoadedMediaType, kMediaNone);
    EXPECT_EQ(window.pressed, QStringLiteral("stop"));
    EXPECT_TRUE(mp.fileName().isEmpty());
}

// An item's repeats are the engine's; only the last of them leads on.
// A click on an item (or Play after Stop) starts it with the stop request
// still standing until the engine reports it plays; a short clip asks for
// its follower before that report, and must get it.
TEST_F(EngineTest, AnItemStartedAfterAStopStillHandsOverToTheNext)
{
    const QString a = location(tone(QStringLiteral("ctl-a.wav"), 1.5, 440));
    const QString b = location(tone(QStringLiteral("ctl-b.wav"), 0.6, 550));
    add(a.mid(7));
    add(b.mid(7));
    ASSERT_TRUE(playAt(0));
    ASSERT_TRUE(test::waitUntil([&] { return !mp.nextLocations().isEmpty(); }));
    session.Stop();
    test::settle();
    QStringList followed;
    QObject::connect(&mp, &MediaPlayer::nextStarted, &session, [&] { followed << mp.fileName(); });

    session.setStopRequested(true); // as a click on the item does
    ASSERT_TRUE(playAt(0));
    EXPECT_TRUE(test::waitUntil([&] { return followed == QStringList{b}; }))
        << followed.join(u' ').toStdString();
}

TEST_F(EngineTest, AnItemThatRepeatsHandsOverOnlyAfterItsLastPlay)
{
    add(tone(QStringLiteral("ctl-a.wav"), 1.5, 440));
    const QString b = location(tone(QStringLiteral("ctl-b.wav"), 0.6, 550));
    add(b.mid(7));
    playlist::PlayList[playlist::IndexFromKey(&view, view.key(0))].DOLOOP = 3;
    ASSERT_TRUE(playAt(0));
    const QString a = mp.fileName();
    EXPECT_EQ(session.NextLocation(a, 0), QString());
    EXPECT_EQ(session.NextLocation(a, 1), QString());
    EXPECT_EQ(session.NextLocation(a, 2), b);
    // Asked about something that no longer plays: nothing.
    EXPECT_EQ(session.NextLocation(b, 2), QString());
    // Forever (0) never leads on.
    playlist::PlayList[playlist::IndexFromKey(&view, view.key(0))].DOLOOP = 0;
    EXPECT_EQ(session.NextLocation(a, 5), QString());
    session.Stop();
}

// Under load a seek can take longer than the user waits before pressing
// Pause: the press must pause the clip, not leave it playing.
TEST_F(EngineTest, PauseDuringASeekPauses)
{
    const QString rm =
        test::generatedMedia(QStringLiteral("ctl-long.rm"),
                             {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                              QStringLiteral("sine=duration=10"), QStringLiteral("-c:a"),
                              QStringLiteral("real_144"), QStringLiteral("-ar"),
                              QStringLiteral("8000"), QStringLiteral("-ac"), QStringLiteral("1")});
    add(rm, true, kRealPlayerFile);
    ASSERT_TRUE(playAt(0));
    ASSERT_TRUE(waitForMode(kPlayModePlaying));
    rp.setPosition(5000);
    ASSERT_EQ(GetPlayMode(mp, rp), kPlayModeSeeking);
    session.ovmPlay_MenuClick(11);
    ASSERT_TRUE(waitForMode(kPlayModePaused));
    test::settle();
    EXPECT_EQ(GetPlayMode(mp, rp), kPlayModePaused);
    EXPECT_NEAR(rp.position(), 5000, 500);
}

TEST_F(EngineTest, RealPlayerItemHandsOverToTheFirstEngine)
{
    const QString rm =
        test::generatedMedia(QStringLiteral("ctl-tone.rm"),
                             {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                              QStringLiteral("sine=duration=1"), QStringLiteral("-c:a"),
                              QStringLiteral("real_144"), QStringLiteral("-ar"),
                              QStringLiteral("8000"), QStringLiteral("-ac"), QStringLiteral("1")});
    add(rm, true, kRealPlayerFile);
    add(tone(QStringLiteral("ctl-long.wav"), 20, 440));
    ASSERT_TRUE(playAt(0));
    EXPECT_EQ(state::LoadedMediaType, kRealPlayerFile);
    ASSERT_TRUE(test::waitUntil([&] { return view.selectedPosition() == 1; }, 20000));
    ASSERT_TRUE(waitForMode(kPlayModePlaying));
    EXPECT_EQ(state::LoadedMediaType, kMediaPlayerFile);
    EXPECT_TRUE(rp.source().isEmpty());
    EXPECT_FALSE(session.stopRequested());
    EXPECT_TRUE(box.shown.isEmpty());
}

TEST_F(EngineTest, MissingFileFailsWithoutWaitingForTheLimit)
{
    add(QStringLiteral("/nonexistent/ctl-missing.mp3"));
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(playAt(0));
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_FALSE(state::IgnoreError);
}

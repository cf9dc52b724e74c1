// Navigation, commands, load waits and error reports with fake engines.
#include "controllerfixture.h"

#include "core/drives.h"
#include "playback/errorhandlers.h"
#include "playback/eventpump.h"
#include "playback/navigation.h"
#include "playback/processing.h"
#include "playlist/playlistops.h"
#include "tests/support/qtprint.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

using namespace orvane;
using namespace orvane::playback;
using test::addItem;
using test::fileItem;

namespace {

class NavigationTest : public test::FakeControllerTest
{
protected:
    // Items a (checked), b (not checked), c (checked); a plays.
    void playFirstOfThree()
    {
        addItem(view, fileItem(test::mediaFile(QStringLiteral("a.mp3"))));
        addItem(view, fileItem(test::mediaFile(QStringLiteral("b.mp3")), false));
        addItem(view, fileItem(test::mediaFile(QStringLiteral("c.mp3"))));
        view.setSelectedPosition(0);
        ASSERT_TRUE(PlayItem(mp, rp, view, &seek));
        test::settle();
    }
};

} // namespace

TEST_F(NavigationTest, EndOfItemSkipsUncheckedItemsAndStopsAtTheEnd)
{
    playFirstOfThree();
    EXPECT_EQ(window.pressed, QStringLiteral("play"));
    mp.finish();
    test::settle();
    EXPECT_EQ(view.selectedPosition(), 2);
    EXPECT_EQ(mp.loads.last(), test::mediaFile(QStringLiteral("c.mp3")));

    window.info = QStringLiteral("c");
    mp.finish();
    test::settle();
    EXPECT_EQ(view.selectedPosition(), 0);
    EXPECT_TRUE(session.stopRequested());
    EXPECT_EQ(state::LoadedMediaType, kMediaNone);
    EXPECT_EQ(window.pressed, QStringLiteral("stop"));
    EXPECT_EQ(window.info, QString());
    EXPECT_TRUE(mp.fileName().isEmpty());
    EXPECT_FALSE(mp.loads.contains(test::mediaFile(QStringLiteral("b.mp3"))));
}

// A file deleted after it was added: the advance and Forward go past it,
// the status line names it, and a list of nothing else comes to rest.
TEST_F(NavigationTest, MissingFilesArePassedOverAndNamed)
{
    const QString gone = test::mediaFile(QStringLiteral("gone.mp3"));
    addItem(view, fileItem(test::mediaFile(QStringLiteral("a.mp3"))));
    addItem(view, fileItem(gone));
    addItem(view, fileItem(test::mediaFile(QStringLiteral("c.mp3"))));
    view.setSelectedPosition(0);
    ASSERT_TRUE(PlayItem(mp, rp, view, &seek));
    test::settle();
    ASSERT_TRUE(QFile::remove(gone));

    mp.finish();
    test::settle();
    EXPECT_EQ(view.selectedPosition(), 2);
    EXPECT_TRUE(mp.loads.last().endsWith(QStringLiteral("c.mp3")));
    EXPECT_FALSE(mp.loads.contains(gone)) << "the engine is not bothered with it";

    // Reverse goes past it too; Forward with nothing playable after the
    // selection beeps, names the file and leaves the selection alone.
    session.ovmPlay_MenuClick(14);
    EXPECT_EQ(view.selectedPosition(), 0);
    playlist::PlayList[playlist::IndexFromKey(&view, view.key(2))].DOPLAY = playlist::kFalse;
    session.ovmPlay_MenuClick(15);
    EXPECT_EQ(box.beeps, 1);
    EXPECT_EQ(view.selectedPosition(), 0);
    EXPECT_TRUE(status.shown.contains(QStringLiteral("gone.mp3"))) << status.shown.toStdString();
}

TEST_F(NavigationTest, AListOfMissingFilesStopsEvenWithRepeatAll)
{
    const QString a = test::mediaFile(QStringLiteral("lost-a.mp3"));
    const QString b = test::mediaFile(QStringLiteral("lost-b.mp3"));
    addItem(view, fileItem(a));
    addItem(view, fileItem(b));
    view.setSelectedPosition(0);
    ASSERT_TRUE(PlayItem(mp, rp, view, &seek));
    test::settle();
    session.ovmPlay_MenuClick(17, false);
    ASSERT_TRUE(QFile::remove(a) && QFile::remove(b));

    mp.finish();
    test::settle();
    EXPECT_EQ(mp.loads.size(), 1);
    EXPECT_TRUE(session.stopRequested());
    EXPECT_EQ(window.pressed, QStringLiteral("stop"));
    session.UpdateStatus();
    EXPECT_TRUE(status.shown.contains(QStringLiteral("lost-")))
        << "not Ready: " << status.shown.toStdString();

    // Play on the missing item says so again; nothing is loaded.
    session.ovmPlay_MenuClick(11);
    EXPECT_EQ(mp.loads.size(), 1);
    EXPECT_TRUE(status.shown.contains(QStringLiteral("lost-a.mp3"))) << status.shown.toStdString();
}

TEST_F(NavigationTest, StartingItemsReadsTheMixerAndNeverWritesIt)
{
    playFirstOfThree();
    EXPECT_EQ(state::LoadedKey, view.key(0));
    const int refreshes = window.soundRefreshes;
    EXPECT_GE(refreshes, 1) << "the controls show the mixer when an item plays";
    mp.finish();
    test::settle();
    EXPECT_EQ(state::LoadedKey, view.key(2)) << "the loaded key follows the advance";
    EXPECT_GT(window.soundRefreshes, refreshes);
    EXPECT_EQ(window.soundActions, 0) << "no replay of the mute button's write";
}

TEST_F(NavigationTest, RepeatAllStartsAgainAtTheFirstCheckedItem)
{
    playlist::PlayListItem first = fileItem(test::mediaFile(QStringLiteral("x.mp3")), false);
    addItem(view, first);
    playFirstOfThree(); // the view now reads x, a, b, c; x unchecked
    view.setSelectedPosition(3);
    ASSERT_TRUE(PlayItem(mp, rp, view, &seek));
    test::settle();
    session.ovmPlay_MenuClick(17, false);
    ASSERT_TRUE(session.repeatAll());
    mp.finish();
    test::settle();
    EXPECT_EQ(view.selectedPosition(), 1);
    EXPECT_EQ(mp.loads.last(), test::mediaFile(QStringLiteral("a.mp3")));
    EXPECT_EQ(mp.playState(), MediaPlayer::Playing);
    EXPECT_FALSE(session.stopRequested()); // cleared by the engine's report
}

TEST_F(NavigationTest, PlayPauseResumesWithoutReloading)
{
    playFirstOfThree();
    session.ovmPlay_MenuClick(11);
    EXPECT_EQ(mp.playState(), MediaPlayer::Paused);
    test::settle();
    EXPECT_EQ(window.pressed, QStringLiteral("pause"));
    session.ovmPlay_MenuClick(11);
    EXPECT_EQ(mp.playState(), MediaPlayer::Playing);
    EXPECT_EQ(mp.loads.size(), 1);
    EXPECT_EQ(mp.plays, 2);

    // Playing the item that already plays changes nothing.
    EXPECT_TRUE(PlayItem(mp, rp, view, &seek));
    EXPECT_EQ(mp.loads.size(), 1);
    EXPECT_EQ(mp.plays, 2);
}

TEST_F(NavigationTest, StopBringsNoAdvance)
{
    playFirstOfThree();
    session.ovmPlay_MenuClick(12);
    test::settle();
    EXPECT_EQ(view.selectedPosition(), 0);
    EXPECT_EQ(mp.loads.size(), 1);
    EXPECT_EQ(state::LoadedMediaType, kMediaNone);
    EXPECT_EQ(window.pressed, QStringLiteral("stop"));
    // The next PlayPause loads the selected item from its start.
    session.ovmPlay_MenuClick(11);
    EXPECT_EQ(mp.loads.size(), 2);
    EXPECT_EQ(mp.playState(), MediaPlayer::Playing);
}

TEST_F(NavigationTest, ForwardMovesThroughMarkersFirst)
{
    playFirstOfThree();
    mp.markers = 3;
    mp.marker = 1;
    session.ovmPlay_MenuClick(15);
    session.ovmPlay_MenuClick(15);
    EXPECT_EQ(mp.marker, 3);
    EXPECT_EQ(view.selectedPosition(), 0);
    session.ovmPlay_MenuClick(15);
    EXPECT_EQ(view.selectedPosition(), 2);
    mp.markers = 0; // c has no chapters
    session.ovmPlay_MenuClick(14);
    EXPECT_EQ(view.selectedPosition(), 0);
    EXPECT_EQ(box.beeps, 0);
    session.ovmPlay_MenuClick(14); // nothing before the first item
    EXPECT_EQ(box.beeps, 1);
    EXPECT_EQ(view.selectedPosition(), 0);
}

TEST_F(NavigationTest, ForwardWithNothingLoadedBeeps)
{
    addItem(view, fileItem(test::mediaFile(QStringLiteral("a.mp3"))));
    view.setSelectedPosition(0);
    session.tobControl_ButtonClick(QStringLiteral("Forward"));
    EXPECT_EQ(box.beeps, 1);
    EXPECT_TRUE(mp.loads.isEmpty());
}

TEST_F(NavigationTest, EntryOfALoadedFileChangesWithoutReloading)
{
    playlist::PlayListItem one = fileItem(test::mediaFile(QStringLiteral("list.asx")));
    one.NUMBER = 1;
    playlist::PlayListItem three = one;
    three.NUMBER = 3;
    addItem(view, one);
    addItem(view, three);
    view.setSelectedPosition(0);
    ASSERT_TRUE(PlayItem(mp, rp, view, &seek));
    view.setSelectedPosition(1);
    ASSERT_TRUE(PlayItem(mp, rp, view, &seek));
    EXPECT_EQ(mp.loads.size(), 1);
    EXPECT_EQ(mp.entryCalls, (QList<qint32>{1, 3}));
    EXPECT_EQ(state::LoadedEntry, 3);

    // Another file opens at its first entry: its item's entry is chosen
    // even when the last file stood at the same number.
    playlist::PlayListItem other = three;
    other.FILENAME = test::mediaFile(QStringLiteral("other.asx"));
    view.setSelectedPosition(addItem(view, other));
    ASSERT_TRUE(PlayItem(mp, rp, view, &seek));
    EXPECT_EQ(mp.entryCalls, (QList<qint32>{1, 3, 3}));
}

TEST_F(NavigationTest, RealPlayerItemsLoopAndSwitchEngines)
{
    addItem(view, fileItem(test::mediaFile(QStringLiteral("a.mp3"))));
    playlist::PlayListItem real =
        fileItem(test::mediaFile(QStringLiteral("b.rm")), true, kRealPlayerFile);
    real.DOLOOP = 0;
    addItem(view, real);
    view.setSelectedPosition(0);
    ASSERT_TRUE(PlayItem(mp, rp, view, &seek));
    test::settle();
    mp.finish();
    test::settle();
    EXPECT_EQ(view.selectedPosition(), 1);
    EXPECT_EQ(rp.playState(), RealPlayer::Playing);
    EXPECT_TRUE(rp.looping);
    EXPECT_TRUE(mp.fileName().isEmpty());
    EXPECT_EQ(state::LoadedMediaType, kRealPlayerFile);
    EXPECT_FALSE(session.stopRequested());
}

TEST_F(NavigationTest, FailedLoadsAndErrorReports)
{
    mp.failing.insert(test::mediaFile(QStringLiteral("bad.mp3")));
    addItem(view, fileItem(test::mediaFile(QStringLiteral("bad.mp3"))));
    view.setSelectedPosition(0);
    EXPECT_FALSE(PlayItem(mp, rp, view, &seek));
    EXPECT_FALSE(state::IgnoreError);
    EXPECT_TRUE(box.shown.isEmpty()); // loading is silent

    core::modMain::ShowErrors = true;
    RealPlayer_OnErrorMessage(RealPlayer::Informational, 11, QStringLiteral("skipped"));
    EXPECT_TRUE(state::IgnoreError);
    EXPECT_EQ(state::RealStatus, 4);
    EXPECT_TRUE(box.shown.isEmpty());
    RealPlayer_OnErrorMessage(RealPlayer::Error, 2, QStringLiteral("not found"));
    EXPECT_FALSE(state::IgnoreError);
    ASSERT_EQ(box.shown.size(), 1);
    EXPECT_EQ(box.shown[0].text, QStringLiteral("RealPlayer Error!\r\n\r\nnot found"));
}

TEST_F(NavigationTest, LoadWaitsAreBoundedAndEndOnStop)
{
    const int saved = LoadWaitLimitMs;
    LoadWaitLimitMs = 300;
    mp.silent.insert(test::mediaFile(QStringLiteral("stream")));
    addItem(view, fileItem(test::mediaFile(QStringLiteral("stream"))));
    view.setSelectedPosition(0);
    EXPECT_FALSE(PlayItem(mp, rp, view, &seek)); // runs out
    EXPECT_TRUE(mp.fileName().isEmpty());
    EXPECT_FALSE(isLoadWaiting());

    LoadWaitLimitMs = 60000;
    QTimer::singleShot(50, &session, [this] { session.ovmPlay_MenuClick(12); });
    QElapsedTimer clock;
    clock.start();
    session.ovmPlay_MenuClick(11);
    EXPECT_LT(clock.elapsed(), 30000);
    EXPECT_TRUE(session.stopRequested());
    EXPECT_TRUE(mp.fileName().isEmpty());
    LoadWaitLimitMs = saved;
}

TEST_F(NavigationTest, VideoCdTrackPlaysFromTheMappedFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("mpegav")));
    QFile file(dir.path() + QStringLiteral("/mpegav/avseq03.dat"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    core::setDriveTableSource([&] {
        return core::DriveTable::build({}, {{QStringLiteral("V"), dir.path()}}, {});
    });
    playlist::PlayListItem item;
    item.MEDIATYPE = kVideoCdTrack;
    item.DOPLAY = playlist::kTrue;
    item.DOLOOP = 1;
    item.DRIVE = QStringLiteral("V:");
    item.TRACK = 3;
    view.setSelectedPosition(addItem(view, item));
    EXPECT_TRUE(PlayItem(mp, rp, view, &seek));
    core::setDriveTableSource({});
    EXPECT_EQ(mp.loads.value(0), dir.path() + QStringLiteral("/mpegav/avseq03.dat"));
    EXPECT_EQ(state::LoadedMediaType, kVideoCdTrack);
}

TEST_F(NavigationTest, LoopModeTakesPendingTextsInOrderAndQuits)
{
    QStringList handed;
    ProcessingLoop loop(session, [&](const QString &text) {
        handed << text;
        if (handed.size() == 1) // a hand-over arriving while adding runs
            core::modMain::PendingCommand.push(QStringLiteral("third"));
    });
    core::modMain::PendingCommand.push(QStringLiteral("first"));
    core::modMain::PendingCommand.push(QStringLiteral("second"));
    QTimer::singleShot(200, [] { core::modMain::QuitProcessing = true; });
    loop.start(1, 500);
    ASSERT_TRUE(
        test::waitUntil([&] { return core::modMain::QuitProcessing && !loop.isLooping(); }));
    EXPECT_EQ(handed, (QStringList{QStringLiteral("first"), QStringLiteral("second"),
                                   QStringLiteral("third")}));
    EXPECT_EQ(status.shown, QStringLiteral("Ready"));
    // About one pass per display frame, never a spin.
    EXPECT_LT(loop.steps(), 200u);
}

TEST_F(NavigationTest, LoopModeRefreshesPlayingMediaWithoutEvents)
{
    addItem(view, fileItem(test::mediaFile(QStringLiteral("a.mp3"))));
    view.setSelectedPosition(0);
    ASSERT_TRUE(PlayItem(mp, rp, view, &seek));
    test::settle();
    ProcessingLoop loop(session, [](const QString &) {});
    // The fake engine moves on silently with the clock, as a playing file
    // does: only the loop's own wake-ups, one as each second is reached,
    // can show it.
    QElapsedTimer clock;
    clock.start();
    mp.livePosition = [&clock] { return clock.elapsed() / 1000.0; };
    QTimer::singleShot(2500, [] { core::modMain::QuitProcessing = true; });
    loop.start(1, 500);
    ASSERT_TRUE(
        test::waitUntil([&] { return core::modMain::QuitProcessing && !loop.isLooping(); }, 10000));
    const QString shown = status.shown;
    EXPECT_TRUE(shown.startsWith(QStringLiteral("00:02.")) &&
                shown.endsWith(QStringLiteral(" / 04:00.00     Playing")))
        << qPrintable(shown);
    EXPECT_GE(loop.steps(), 3u);
    EXPECT_LT(loop.steps(), 12u) << "a pass a second, not a spin";
}

TEST_F(NavigationTest, TimerModeRunsOneStepPerTick)
{
    ProcessingLoop loop(session, [](const QString &) {});
    core::modMain::PendingCommand.push(QStringLiteral("x"));
    loop.start(0, 20);
    ASSERT_TRUE(test::waitUntil([&] { return loop.steps() >= 3; }));
    EXPECT_TRUE(core::modMain::PendingCommand.isEmpty());
    EXPECT_EQ(status.shown, QStringLiteral("Ready"));
    loop.stop();
}

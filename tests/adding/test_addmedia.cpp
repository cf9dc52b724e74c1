// Adding media with both real engines on files made by ffmpeg.
#include "addingfixture.h"

#include "core/busywork.h"
#include "core/drives.h"
#include "core/language.h"
#include "playlist/locations.h"
#include "playlist/playlistfile.h"
#include "playlist/playlistops.h"
#include "tests/support/media.h"

#include <QDir>
#include <QFile>
#include <QTcpServer>

namespace orvane::test {
namespace {

using playlist::PlayListItem;

QString status(const char *key)
{
    return core::GetText(QStringLiteral("Status"), QString::fromLatin1(key));
}

QString realAudioNamedAvi()
{
    // RealAudio 1.0 behind an extension that names the first engine.
    return generatedMedia(QStringLiteral("ra144.avi"),
                          {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                           QStringLiteral("sine=frequency=330:duration=2"), QStringLiteral("-c:a"),
                           QStringLiteral("real_144"), QStringLiteral("-ar"),
                           QStringLiteral("8000"), QStringLiteral("-ac"), QStringLiteral("1"),
                           QStringLiteral("-f"), QStringLiteral("rm")});
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST_F(AddingTest, MissingFileIsLoggedAndTheFirstNewItemPlays)
{
    core::modMain::AutoPlay = true;
    const QString first = fileLocation(toneMp3());
    const QString missing = fileLocation(temp.filePath(QStringLiteral("missing.mp3")));
    const QString third = fileLocation(toneWav());

    ASSERT_TRUE(add(first + u'|' + missing + u'|' + third));

    ASSERT_EQ(view.count(), 2);
    EXPECT_EQ(recordAt(0).FILENAME, first);
    EXPECT_EQ(recordAt(0).MEDIATYPE, playlist::kMediaWmp);
    EXPECT_EQ(recordAt(0).TITLE, QStringLiteral("Tone Title"));
    EXPECT_EQ(recordAt(0).AUTHOR, QStringLiteral("Tone Artist"));
    EXPECT_EQ(recordAt(0).DOPLAY, playlist::kTrue);
    EXPECT_EQ(recordAt(0).DOLOOP, 1);
    EXPECT_EQ(recordAt(1).FILENAME, third);
    EXPECT_EQ(recordAt(1).TITLE, QStringLiteral("tone-3s")) << "an untagged file: its name";
    EXPECT_EQ(view.item(0).subItem2, first);
    EXPECT_TRUE(view.item(0).checked);

    ASSERT_EQ(window.errorLog.size(), 1);
    EXPECT_EQ(window.errorLog[0], std::make_pair(QStringLiteral("err0"), missing));
    EXPECT_EQ(window.statusCalls.last().line1, status("mesComplete"));
    EXPECT_EQ(window.statusCalls[0].line1, status("mesFilename"));

    EXPECT_EQ(view.selectedPosition(), 0);
    EXPECT_EQ(playback::state::LoadedMediaType, playlist::kMediaWmp);
    EXPECT_EQ(playback::state::LoadedSource, first);

    // Everything SetBusyState took away came back.
    EXPECT_TRUE(core::modMain::ShowErrors);
    EXPECT_TRUE(window.viewVisible && window.engineVisible[0] && window.engineVisible[1]);
    EXPECT_EQ(window.geometry[0], QRect(0, 0, 320, 240));
    EXPECT_EQ(window.geometry[1], QRect(5, 5, 100, 50));
    EXPECT_FALSE(mediaPlayer.isMuted());
    EXPECT_FALSE(realPlayer.isMute());
}

TEST_F(AddingTest, PlaylistFileAtTheHeadReplacesThePlaylist)
{
    const QString ovl = temp.filePath(QStringLiteral("list.ovl"));
    {
        playlist::PlayListModel other;
        ASSERT_TRUE(adding::AddMedia(fileLocation(toneWav()), mediaPlayer, realPlayer, other,
                                     nullptr, nullptr));
        ASSERT_TRUE(playlist::SavePlayList(other, ovl, false));
    }
    playlist::ResetPlayList();
    ASSERT_TRUE(add(fileLocation(toneMp3())));
    ASSERT_EQ(view.count(), 1);

    core::modMain::AutoPlay = true;
    ASSERT_TRUE(add(ovl + u'|' + fileLocation(toneMp3())));

    ASSERT_EQ(view.count(), 1);
    EXPECT_EQ(recordAt(0).FILENAME, fileLocation(toneWav()));
    EXPECT_EQ(window.statusCalls.last().line1, status("mesPlaylist"));
    EXPECT_EQ(window.errorLogsShown, 0);
    // The opened list plays from its first item.
    EXPECT_EQ(view.selectedPosition(), 0);
    EXPECT_EQ(playback::state::LoadedSource, fileLocation(toneWav()));
}

TEST_F(AddingTest, TryOtherEngineDecidesAFileTheFirstEngineCannotDecode)
{
    const QString location = fileLocation(realAudioNamedAvi());
    ASSERT_EQ(playlist::MediaKindOf(location), playlist::kKindWmp);

    EXPECT_FALSE(add(location));
    EXPECT_EQ(view.count(), 0);
    ASSERT_EQ(window.errorLog.size(), 1);
    EXPECT_EQ(window.errorLog[0].second, location);

    core::modMain::TryOtherEngine = true;
    ASSERT_TRUE(add(location));
    ASSERT_EQ(view.count(), 1);
    EXPECT_EQ(recordAt(0).MEDIATYPE, playlist::kMediaReal);
    EXPECT_EQ(recordAt(0).NUMBER, 1);
    EXPECT_EQ(recordAt(0).FILENAME, location);
}

TEST_F(AddingTest, AsxEntriesBecomeItemsWithTheirTitlesAndNumbers)
{
    const QString asx = temp.filePath(QStringLiteral("two.asx"));
    writeFile(asx, QStringLiteral("<asx version=\"3.0\">\n"
                                  "<entry><title>First Entry</title><ref href=\"%1\"/></entry>\n"
                                  "<entry><title>Second Entry</title><ref href=\"%2\"/></entry>\n"
                                  "</asx>\n")
                       .arg(toneMp3(), toneWav())
                       .toUtf8());

    ASSERT_TRUE(add(fileLocation(asx)));

    ASSERT_EQ(view.count(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(recordAt(i).MEDIATYPE, playlist::kMediaWmp);
        EXPECT_EQ(recordAt(i).FILENAME, fileLocation(asx));
        EXPECT_EQ(recordAt(i).NUMBER, i + 1);
    }
    EXPECT_EQ(view.item(0).text, QStringLiteral("First Entry"));
    EXPECT_EQ(view.item(1).text, QStringLiteral("Second Entry"));
}

TEST_F(AddingTest, KeysContinueAfterDeletionsAndShortPathShowsTheName)
{
    ASSERT_TRUE(add(fileLocation(toneMp3()) + u'|' + fileLocation(toneWav())));
    ASSERT_EQ(view.count(), 2);
    view.setSelectedPosition(1);
    ASSERT_TRUE(playlist::DeleteSelectedItem(view));

    core::modMain::UseShortPath = true;
    ASSERT_TRUE(add(fileLocation(toneWav())));

    ASSERT_EQ(view.count(), 2);
    EXPECT_EQ(view.key(1), QStringLiteral("num2"));
    EXPECT_EQ(view.item(1).subItem2, QStringLiteral("tone-3s.wav"));
    EXPECT_EQ(recordAt(1).FILENAME, fileLocation(toneWav()));
    EXPECT_EQ(view.selectedPosition(), 1);
}

// Presses a button of the progress dialog once the probe of the location
// with the given number has started waiting for its engine.
void pressDuringProbe(FakeWindow &window, qint32 number, bool cancel)
{
    window.onShow = [number, cancel](RecordingProgress &progress, const StatusCall &call) {
        if (call.current != number)
            return;
        QTimer::singleShot(0, [&progress, cancel] {
            progress.SkipRequested = true;
            progress.CancelRequested = progress.CancelRequested || cancel;
        });
    };
}

TEST_F(AddingTest, SkipFailsTheLocationBeingProbed)
{
    const QString second = fileLocation(toneWav());
    pressDuringProbe(window, 2, false);

    ASSERT_TRUE(add(fileLocation(toneMp3()) + u'|' + second + u'|' + fileLocation(toneMp3())));

    EXPECT_EQ(view.count(), 2);
    ASSERT_EQ(window.errorLog.size(), 1);
    EXPECT_EQ(window.errorLog[0].second, second);
}

TEST_F(AddingTest, CancelEndsTheWalkAndKeepsWhatWasAdded)
{
    const QString third = fileLocation(toneMp3(2.0));
    pressDuringProbe(window, 2, true);

    ASSERT_TRUE(add(fileLocation(toneMp3()) + u'|' + fileLocation(toneWav()) + u'|' + third));

    ASSERT_EQ(view.count(), 1);
    EXPECT_EQ(recordAt(0).FILENAME, fileLocation(toneMp3()));
    EXPECT_EQ(window.statusCalls.last().line1, status("mesCancel"));
    for (const StatusCall &call : window.statusCalls)
        EXPECT_NE(call.line2, third);
    EXPECT_EQ(window.errorLogsShown, 0) << "the file Cancel cut short is no failure";
    // The walk ended early: nothing was selected for it.
    EXPECT_EQ(view.selectedPosition(), -1);
}

// Closing the window cuts the walk short in the middle of a probe: the
// probe gives up at once, nothing after it is added, no log comes up and
// nothing starts to play under a window that is going away.
TEST_F(AddingTest, ClosingTheWindowEndsTheWalkWithoutALogOrPlay)
{
    core::modMain::AutoPlay = true;
    const QString missing = fileLocation(temp.filePath(QStringLiteral("missing.mp3")));
    window.onShow = [&](RecordingProgress &, const StatusCall &call) {
        if (call.current == 2)
            core::cancelBusyWork();
    };

    ASSERT_TRUE(add(fileLocation(toneMp3()) + u'|' + missing + u'|' + fileLocation(toneWav())));

    ASSERT_EQ(view.count(), 1);
    EXPECT_EQ(window.errorLogsShown, 0);
    EXPECT_EQ(playback::state::LoadedMediaType, 0);
    EXPECT_FALSE(core::isBusy());
    EXPECT_FALSE(core::busyWorkCancelled()) << "the next walk runs whole";
    EXPECT_FALSE(add(missing));
    EXPECT_EQ(window.errorLogsShown, 1);
}

TEST_F(AddingTest, FolderAddsItsMediaFilesInNaturalOrder)
{
    QDir root(temp.path());
    ASSERT_TRUE(root.mkpath(QStringLiteral("music/sub")));
    ASSERT_TRUE(root.mkpath(QStringLiteral("music/empty")));
    ASSERT_TRUE(root.mkpath(QStringLiteral("nothing")));
    const QString music = temp.filePath(QStringLiteral("music"));
    ASSERT_TRUE(QFile::copy(toneMp3(), music + QStringLiteral("/track10.mp3")));
    ASSERT_TRUE(QFile::copy(toneWav(), music + QStringLiteral("/Track2.WAV")));
    ASSERT_TRUE(QFile::copy(toneWav(), music + QStringLiteral("/sub/track1.wav")));
    writeFile(music + QStringLiteral("/notes.txt"), "not media");
    writeFile(temp.filePath(QStringLiteral("nothing/readme.txt")), "not media");
    // A link back up must not make the walk go round for ever.
    ASSERT_TRUE(QFile::link(music, music + QStringLiteral("/sub/loop")));

    const QString nothing = temp.filePath(QStringLiteral("nothing")) + u'/';
    ASSERT_TRUE(add(music + u'|' + nothing));

    ASSERT_EQ(view.count(), 3);
    EXPECT_EQ(recordAt(0).FILENAME, fileLocation(music + QStringLiteral("/sub/track1.wav")));
    EXPECT_EQ(recordAt(1).FILENAME, fileLocation(music + QStringLiteral("/Track2.WAV")));
    EXPECT_EQ(recordAt(2).FILENAME, fileLocation(music + QStringLiteral("/track10.mp3")));
    ASSERT_EQ(window.errorLog.size(), 1);
    EXPECT_TRUE(window.errorLog[0].second.endsWith(QStringLiteral("/nothing/")))
        << window.errorLog[0].second.toStdString();
}

TEST(NaturalOrder, DigitRunsCompareAsNumbers)
{
    const struct {
        const char *a;
        const char *b;
        bool less;
    } cases[] = {
        {"track2", "track10", true},
        {"track10", "track2", false},
        {"a", "B", true},
        {"x007", "x7", true},
        {"x7", "x007", false},
        {"disc1/2", "disc1/10", true},
        {"same", "same", false},
        {"abc", "abcd", true},
        {"99999999999999999999999", "100000000000000000000000", true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(adding::NaturalLess(QString::fromLatin1(c.a), QString::fromLatin1(c.b)), c.less)
            << c.a << " < " << c.b;
}

TEST_F(AddingTest, VideoCdFolderGivesOneItemPerTrack)
{
    const QString mpeg = generatedMedia(
        QStringLiteral("vcd-track.mpg"),
        {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
         QStringLiteral("testsrc=size=352x240:rate=25:duration=1"), QStringLiteral("-f"),
         QStringLiteral("lavfi"), QStringLiteral("-i"), QStringLiteral("sine=duration=1"),
         QStringLiteral("-c:v"), QStringLiteral("mpeg1video"), QStringLiteral("-c:a"),
         QStringLiteral("mp2"), QStringLiteral("-f"), QStringLiteral("mpeg")});
    const QString disc = temp.filePath(QStringLiteral("vcd"));
    ASSERT_TRUE(QDir().mkpath(disc + QStringLiteral("/MPEGAV")));
    ASSERT_TRUE(QFile::copy(mpeg, disc + QStringLiteral("/MPEGAV/AVSEQ01.DAT")));
    ASSERT_TRUE(QFile::copy(mpeg, disc + QStringLiteral("/MPEGAV/AVSEQ02.DAT")));
    core::setDriveTableSource([disc] {
        return core::DriveTable::build({}, {{QStringLiteral("V"), disc}}, {});
    });

    const bool added = add(QStringLiteral("VideoCD://V:/"));
    core::setDriveTableSource({});

    ASSERT_TRUE(added);
    ASSERT_EQ(view.count(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(recordAt(i).MEDIATYPE, playlist::kMediaVideoCd);
        EXPECT_EQ(recordAt(i).DRIVE, QStringLiteral("V:"));
        EXPECT_EQ(recordAt(i).TRACK, i + 1);
        EXPECT_EQ(recordAt(i).FILENAME, QStringLiteral("VideoCD://V:/%1/").arg(i + 1));
    }
    EXPECT_EQ(view.item(1).subItem2, QStringLiteral("VideoCD://V:/2/"));
}

TEST_F(AddingTest, AudioCdWithoutADeviceIsListedAsFailed)
{
    EXPECT_FALSE(add(QStringLiteral("AudioCD://Q:/")));
    EXPECT_EQ(view.count(), 0);
    ASSERT_EQ(window.errorLog.size(), 1);
    EXPECT_EQ(window.errorLog[0].second, QStringLiteral("AudioCD://Q:/"));
}

TEST_F(AddingTest, AListArrivingDuringAWalkIsAddedAfterIt)
{
    const QString late = fileLocation(toneMp3(2.0));
    bool nestedResult = true;
    window.onShow = [&](RecordingProgress &, const StatusCall &call) {
        if (call.current != 1)
            return;
        window.onShow = nullptr;
        QTimer::singleShot(0, [&] {
            EXPECT_TRUE(adding::AddingInProgress());
            nestedResult = add(late);
        });
    };

    ASSERT_TRUE(add(fileLocation(toneMp3()) + u'|' + fileLocation(toneWav())));

    EXPECT_FALSE(nestedResult);
    EXPECT_FALSE(adding::AddingInProgress());
    ASSERT_EQ(view.count(), 3);
    EXPECT_EQ(recordAt(0).FILENAME, fileLocation(toneMp3()));
    EXPECT_EQ(recordAt(1).FILENAME, fileLocation(toneWav()));
    EXPECT_EQ(recordAt(2).FILENAME, late);
}

TEST_F(AddingTest, AnEngineThatNeverAnswersFailsTheLocationAtTheBound)
{
    // A server that takes the connection and never says a word.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    const QString stream =
        QStringLiteral("http://127.0.0.1:%1/stream.mp3").arg(silent.serverPort());
    adding::addingOptions().engineWaitMs = 300;

    EXPECT_FALSE(adding::TryOpen(stream, mediaPlayer, realPlayer, adding::kProbeMediaPlayer));

    // The engine left opening is closed by the next probe, which works.
    adding::addingOptions().engineWaitMs = 3000;
    ASSERT_TRUE(add(stream + u'|' + fileLocation(toneWav())));
    ASSERT_EQ(view.count(), 1);
    EXPECT_EQ(recordAt(0).FILENAME, fileLocation(toneWav()));
    ASSERT_EQ(window.errorLog.size(), 1);
    EXPECT_EQ(window.errorLog[0].second, stream);
}

} // namespace
} // namespace orvane::test

// A user with an audio CD: the disc (an image the settings map to a drive
// letter) is added by its drive, its tracks are named from CD-TEXT, and
// they play, pause, seek and follow each other in the real window.
#include "tests/e2e/e2emedia.h"
#include "tests/e2e/e2etest.h"
#include "tests/e2e/stories.h"
#include "tests/support/discimages.h"
#include "tests/support/qtprint.h"

#include <QElapsedTimer>
#include <QImage>
#include <QSet>

using namespace orvane::e2e;
using orvane::test::audioDiscImage;
using orvane::test::ImageTrack;

namespace {

class AudioCd : public DesktopTest
{
protected:
    void mapDrive(const QString &target) { writeSettings("[Drives]\nX=" + target.toUtf8() + '\n'); }
    QString title(Player &player)
    {
        return player.playerctl({QStringLiteral("metadata"), QStringLiteral("title")});
    }

    // Opens the mapped drive as a user does: the open dialog, its source
    // list moved down to the disc kind (1: audio CD, 2: Video CD), Open.
    bool openFromDialog(Player &player, int sourceSteps, const char *shot)
    {
        player.activate();
        if (!player.keyForPopup(QStringLiteral("ctrl+o")) ||
            player.waitForActiveWindow(QStringLiteral("^Open Media")).isEmpty())
            return false;
        player.key(QStringLiteral("alt+s"));
        for (int i = 0; i < sourceSteps; ++i)
            player.key(QStringLiteral("Down"));
        m_desktop.screenshot(QStringLiteral(ORVANE_E2E_ARTIFACT_DIR "/") +
                             QString::fromLatin1(shot) + QStringLiteral(".png"));
        player.key(QStringLiteral("Return"));
        return player.waitForNoWindow(QStringLiteral("^Open Media"));
    }
};

const QString kDisc = QStringLiteral("AudioCD://X:/");

// Distinct colours on the screen: a test picture has thousands, the idle
// window's logo and panels a few hundred.
int screenColours(const Desktop &desktop, const QString &png)
{
    if (!desktop.screenshot(png))
        return -1;
    const QImage image = QImage(png).convertToFormat(QImage::Format_RGB32);
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            colours.insert(image.pixel(x, y));
    return int(colours.size());
}

} // namespace

TEST_F(AudioCd, TracksAreNamedFromCdTextAndTheFirstEndsIntoTheSecond)
{
    const QString cue = audioDiscImage(QStringLiteral("e2e-cd-named"),
                                       {{3, QStringLiteral("Sunrise"), QStringLiteral("Ann")},
                                        {4, QStringLiteral("Noon"), QStringLiteral("Bob")},
                                        {2, QStringLiteral("Dusk"), {}},
                                        {1, {}, {}, true}},
                                       QStringLiteral("Day"), QStringLiteral("Various"));
    ASSERT_FALSE(cue.isEmpty());
    mapDrive(cue);
    Player &player = startPlayer();
    ASSERT_TRUE(openFromDialog(player, 1, "cd-open-audio"));
    ASSERT_TRUE(waitForWord(player, QStringLiteral("Playing"), 10000))
        << player.statusText().toStdString();
    EXPECT_EQ(player.playlist(), (QStringList{QStringLiteral("Sunrise"), QStringLiteral("Noon"),
                                              QStringLiteral("Dusk")}))
        << "three audio tracks; the data track is no sound";
    EXPECT_EQ(title(player), QStringLiteral("Sunrise"));
    EXPECT_NEAR(statusLength(player.statusText()).value_or(-1), 3.0, 0.1);
    EXPECT_FALSE(m_desktop
                     .run(QStringLiteral("pactl"), {QStringLiteral("list"), QStringLiteral("short"),
                                                    QStringLiteral("sink-inputs")})
                     .isEmpty())
        << "the disc's sound reaches the sound server";
    EXPECT_TRUE(waitUntil([&] { return title(player) == u"Noon"; }, 8000))
        << "the end of track 1 plays track 2: " << player.statusText().toStdString();
    EXPECT_TRUE(waitForWord(player, QStringLiteral("Playing"), 5000));
    EXPECT_NEAR(statusLength(player.statusText()).value_or(-1), 4.0, 0.1);
}

TEST_F(AudioCd, PausesResumesAndSeeksWithinTheTrack)
{
    const QString cue = audioDiscImage(QStringLiteral("e2e-cd-long"),
                                       {{20, QStringLiteral("Long"), {}}, {2, {}, {}}});
    ASSERT_FALSE(cue.isEmpty());
    mapDrive(cue);
    Player &player = startPlayer({kDisc});
    ASSERT_TRUE(waitForWord(player, QStringLiteral("Playing"), 10000));
    EXPECT_EQ(player.playlist().value(1), QStringLiteral("Unknown")) << "no CD-TEXT, no name";
    const double first = shownPosition(player);
    EXPECT_TRUE(waitUntil([&] { return shownPosition(player) > first + 1.0; }, 5000))
        << "the time runs: " << player.statusText().toStdString();

    ASSERT_TRUE(clickControl(player, QStringLiteral("Pause")));
    ASSERT_TRUE(waitForWord(player, QStringLiteral("Paused"), 5000))
        << player.statusText().toStdString();
    const double pausedAt = shownPosition(player);
    EXPECT_FALSE(waitUntil([&] { return shownPosition(player) > pausedAt + 0.3; }, 1200))
        << "the time stands while paused";
    ASSERT_TRUE(clickControl(player, QStringLiteral("Play")));
    EXPECT_TRUE(waitUntil([&] { return shownPosition(player) > pausedAt + 0.5; }, 5000))
        << "and runs on from where it stood: " << player.statusText().toStdString();

    const QRect groove = player.accessibility().extents(player.control(QStringLiteral("Seek")));
    ASSERT_FALSE(groove.isEmpty());
    player.click(alongSlider(groove, 0.75));
    EXPECT_TRUE(waitUntil([&] { return std::abs(shownPosition(player) - 15.0) < 2.0; }, 5000))
        << "a click at three quarters plays from 15 s: " << player.statusText().toStdString();
    EXPECT_TRUE(waitForWord(player, QStringLiteral("Playing"), 5000));

    player.playerctl({QStringLiteral("pause")});
    EXPECT_TRUE(waitForWord(player, QStringLiteral("Paused"), 5000)) << "MPRIS pauses the disc";
}

TEST_F(AudioCd, AnotherDiscInTheDriveIsRefused)
{
    const QString first = audioDiscImage(QStringLiteral("e2e-cd-first"), {{20, {}, {}}});
    const QString other = audioDiscImage(QStringLiteral("e2e-cd-other"), {{7, {}, {}}});
    ASSERT_FALSE(first.isEmpty());
    mapDrive(first);
    Player &player = startPlayer({kDisc});
    ASSERT_TRUE(waitForWord(player, QStringLiteral("Playing"), 10000));
    ASSERT_TRUE(clickControl(player, QStringLiteral("Stop")));
    ASSERT_TRUE(
        waitUntil([&] { return !player.statusText().contains(QStringLiteral("Playing")); }, 5000))
        << player.statusText().toStdString();
    const QStringList before = player.visibleWindowIds();
    mapDrive(other); // the disc is changed while the program runs
    ASSERT_TRUE(clickControl(player, QStringLiteral("Play")));
    EXPECT_TRUE(waitUntil(
        [&] {
            for (const QString &id : player.visibleWindowIds())
                if (!before.contains(id))
                    return true;
            return false;
        },
        5000))
        << "a message says the disc is another one";
    EXPECT_FALSE(player.statusText().contains(QStringLiteral("Playing")));
}

TEST_F(AudioCd, BadDiscsAreReportedSoon)
{
    const QString good = audioDiscImage(QStringLiteral("e2e-cd-bad"), {{2, {}, {}}});
    ASSERT_FALSE(good.isEmpty());
    const QString folder = QFileInfo(good).absolutePath();
    // A cue sheet whose frame field is 100, one whose bin is gone, and a
    // disc of nothing but data.
    const auto writeCue = [&](const QString &name, const QByteArray &text) {
        QFile file(folder + u'/' + name + QStringLiteral(".cue"));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
        return file.fileName();
    };
    QFile::copy(folder + QStringLiteral("/e2e-cd-bad.bin"),
                folder + QStringLiteral("/e2e-cd-msf.bin"));
    const QString badMsf =
        writeCue(QStringLiteral("e2e-cd-msf"),
                 "FILE \"e2e-cd-msf.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:100\n");
    const QString missing =
        writeCue(QStringLiteral("e2e-cd-gone"),
                 "FILE \"e2e-cd-gone.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n");
    const QString data = audioDiscImage(QStringLiteral("e2e-cd-data"), {{2, {}, {}, true}});
    writeSettings("[Drives]\nP=" + badMsf.toUtf8() + "\nQ=" + missing.toUtf8() +
                  "\nR=" + data.toUtf8() + "\nS=/dev/null\n");
    QElapsedTimer clock;
    clock.start();
    Player &player =
        startPlayer({QStringLiteral("AudioCD://P:/"), QStringLiteral("AudioCD://Q:/"),
                     QStringLiteral("AudioCD://R:/"), QStringLiteral("AudioCD://S:/")});
    EXPECT_FALSE(player.waitForWindow(QStringLiteral("^Could Not Add"), 10000).isEmpty())
        << "the error log lists the discs";
    EXPECT_LT(clock.elapsed(), 9000) << "four bad discs take the program a few seconds at most";
    EXPECT_EQ(player.playlistRows(), 0);
    EXPECT_TRUE(player.isRunning());
}

TEST_F(AudioCd, VideoCdTracksOfAnImagePlayWithTheirPicture)
{
    const QString cue = orvane::test::videoCdImage(QStringLiteral("e2e-vcd"), {3, 2});
    ASSERT_FALSE(cue.isEmpty());
    mapDrive(cue);
    Player &player = startPlayer();
    ASSERT_TRUE(openFromDialog(player, 2, "cd-open-video"));
    ASSERT_TRUE(waitForWord(player, QStringLiteral("Playing"), 10000))
        << player.statusText().toStdString();
    EXPECT_EQ(player.playlistRows(), 2) << "the disc's two MPEG tracks";
    EXPECT_NEAR(statusLength(player.statusText()).value_or(-1), 3.0, 0.3);
    const QString png = m_desktop.home() + QStringLiteral("/vcd.png");
    const int playing = screenColours(m_desktop, png);
    EXPECT_TRUE(waitUntil(
        [&] {
            const QString status = player.statusText();
            return status.contains(QStringLiteral("Playing")) &&
                   std::abs(statusLength(status).value_or(-1) - 2.0) < 0.3;
        },
        8000))
        << "track 1 ends into track 2: " << player.statusText().toStdString();
    ASSERT_TRUE(clickControl(player, QStringLiteral("Stop")));
    ASSERT_TRUE(
        waitUntil([&] { return !player.statusText().contains(QStringLiteral("Playing")); }, 5000));
    const int stopped = screenColours(m_desktop, png);
    EXPECT_GT(playing, 2 * stopped) << "a picture on screen while playing: " << playing
                                    << " colours against " << stopped << " when stopped";
}

// Audio CD items through a fake MCI device: repeats, the wrong disc, pause
// and resume, the mode query and seeking.
#include "controllerfixture.h"

#include "core/language.h"
#include "playback/status.h"

using namespace orvane;
using namespace orvane::playback;

namespace {

class CdTest : public test::FakeControllerTest
{
protected:
    int addTrack(int track, qint16 repeats, qint32 identity = 1234)
    {
        playlist::PlayListItem item;
        item.MEDIATYPE = kAudioCdTrack;
        item.DOPLAY = playlist::kTrue;
        item.DOLOOP = repeats;
        item.DRIVE = QStringLiteral("D:");
        item.TRACK = track;
        item.NUMBER = identity;
        item.FILENAME = QStringLiteral("AudioCD://D:/%1/").arg(track);
        return test::addItem(view, item);
    }
    // Plays the running track to its end and lets the status step see it.
    void endTrack()
    {
        session.UpdateStatus(); // notices "playing"
        cd.advance(10000);
        session.UpdateStatus(); // notices the end
    }
    int playsOfTrack(int track)
    {
        return cd.countOf(QStringLiteral("play Medias from %1:0:0").arg(track));
    }

    test::FakeCdDevice cd;
};

} // namespace

TEST_F(CdTest, TrackRepeatsItsCountThenTheNextItemPlays)
{
    addTrack(1, 3);
    addTrack(2, 1);
    view.setSelectedPosition(0);
    ASSERT_TRUE(PlayItem(mp, rp, view, &seek));
    for (int i = 0; i < 3; ++i)
        endTrack();
    EXPECT_EQ(playsOfTrack(1), 3);
    EXPECT_EQ(playsOfTrack(2), 1);
    EXPECT_EQ(view.selectedPosition(), 1);
    EXPECT_EQ(cd.track, 2);
}

TEST_F(CdTest, RepeatCountZeroRepeatsUntilStopped)
{
    addTrack(1, 0);
    addTrack(2, 1);
    view.setSelectedPosition(0);
    ASSERT_TRUE(PlayItem(mp, rp, view, &seek));
    for (int i = 0; i < 6; ++i)
        endTrack();
    EXPECT_EQ(playsOfTrack(1), 7);
    EXPECT_EQ(playsOfTrack(2), 0);

    session.UpdateStatus();
    session.ovmPlay_MenuClick(12); // Stop
    session.UpdateStatus();
    EXPECT_EQ(playsOfTrack(1), 7);
    EXPECT_EQ(state::LoadedMediaType, kMediaNone);
    EXPECT_EQ(window.pressed, QStringLiteral("stop"));
    EXPECT_EQ(window.info, QString());
}

TEST_F(CdTest, WrongDiscIsRefused)
{
    addTrack(1, 1, 999);
    view.setSelectedPosition(0);
    EXPECT_FALSE(PlayItem(mp, rp, view, &seek));
    ASSERT_EQ(box.shown.size(), 1);
    EXPECT_EQ(box.shown[0].text,
              core::GetText(QStringLiteral("Status"), QStringLiteral("mesFDiscID")));
    EXPECT_EQ(box.shown[0].icon, core::MessageIcon::Critical);
    EXPECT_EQ(cd.countOf(QStringLiteral("play ")), 0);
}

TEST_F(CdTest, PauseAndResumeKeepThePosition)
{
    addTrack(2, 1);
    view.setSelectedPosition(0);
    ASSERT_TRUE(PlayItem(mp, rp, view, &seek));
    cd.advance(30.0);
    session.ovmPlay_MenuClick(11); // pauses
    EXPECT_EQ(GetPlayMode(mp, rp), kPlayModePaused);
    session.UpdateStatus();
    EXPECT_EQ(window.pressed, QStringLiteral("pause"));

    session.ovmPlay_MenuClick(11); // resumes where it stood
    EXPECT_EQ(cd.commands.last(), QStringLiteral("play Medias to 2:03:00:00"));
    EXPECT_EQ(cd.countOf(QStringLiteral("open ")), 1);
    EXPECT_DOUBLE_EQ(cd.position, 30.0);
    EXPECT_EQ(GetPlayMode(mp, rp), kPlayModePlaying);

    // After a stop the same track starts over on a reopened device.
    session.ovmPlay_MenuClick(12);
    ASSERT_TRUE(PlayItem(mp, rp, view, &seek));
    EXPECT_EQ(cd.countOf(QStringLiteral("open ")), 2);
    EXPECT_EQ(cd.commands.last(), QStringLiteral("play Medias from 2:0:0 to 2:03:00:00"));
}

TEST_F(CdTest, ModeQueryAndSeeking)
{
    addTrack(4, 1);
    cd.trackSeconds = {200, 180, 240, 250};
    view.setSelectedPosition(0);
    ASSERT_TRUE(PlayItem(mp, rp, view, &seek));
    ASSERT_TRUE(SeekMedia(mp, rp, 95.0));
    EXPECT_EQ(cd.commands.last(), QStringLiteral("play Medias from 4:1:35:0 to 4:04:10:00"));
    const qsizetype sent = cd.commands.size();
    EXPECT_FALSE(SeekMedia(mp, rp, 251.0));
    for (qsizetype i = sent; i < cd.commands.size(); ++i)
        EXPECT_TRUE(cd.commands[i].startsWith(QStringLiteral("status")))
            << cd.commands[i].toStdString();

    cd.mode = QStringLiteral("stopped");
    cd.position = 90.0;
    EXPECT_EQ(GetPlayMode(mp, rp), kPlayModePaused); // stopped mid-track
    cd.position = 0.0;
    EXPECT_EQ(GetPlayMode(mp, rp), kPlayModeStopped);
    cd.position = 250.0;
    EXPECT_EQ(GetPlayMode(mp, rp), kPlayModeStopped);
    ASSERT_TRUE(SeekMedia(mp, rp, 10.0));
    EXPECT_EQ(cd.commands.last(), QStringLiteral("seek Medias to 4:0:10:0"));

    QString text;
    double position = 0, length = 0;
    ASSERT_TRUE(ReadStatus(mp, rp, text, position, length));
    EXPECT_EQ(text, QStringLiteral("00:10.00 / 04:10.00     Paused"));
}

// The "cdaudio" device on generated disc images: the command strings parse
// as written, the device answers from the disc, and the sound pipeline
// plays, pauses, seeks and ends a track as the status replies say.
#include "playback/cd/cdaudiodevice.h"
#include "playback/cd/disc.h"
#include "playback/mci/mcicommand.h"

#include "tests/support/discimages.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <gtest/gtest.h>

using namespace orvane::playback;
using namespace orvane::playback::mci;
using orvane::test::audioDiscImage;

namespace {

quint32 errorOf(const QString &text)
{
    const auto parsed = parseMciCommand(text);
    return std::holds_alternative<quint32>(parsed) ? std::get<quint32>(parsed) : 0;
}

MciCommand commandOf(const QString &text)
{
    const auto parsed = parseMciCommand(text);
    EXPECT_TRUE(std::holds_alternative<MciCommand>(parsed)) << qPrintable(text);
    return std::holds_alternative<MciCommand>(parsed) ? std::get<MciCommand>(parsed) : MciCommand{};
}

class Device : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        qputenv("ORVANE_CD_AUDIO_SINK", "fakesink sync=true");
        cue = audioDiscImage(QStringLiteral("device-disc"),
                             {{2, QStringLiteral("One"), QStringLiteral("Ann")},
                              {1, {}, {}, true},
                              {3, QStringLiteral("Three"), {}}});
    }

    CdAudioDevice device{[](const QString &name) -> std::optional<CdAudioDevice::Source> {
                             if (name == u"X:")
                                 return CdAudioDevice::Source{cue, false};
                             if (name == u"M:")
                                 return CdAudioDevice::Source{QStringLiteral("/nonexistent.cue")};
                             return std::nullopt;
                         },
                         3000};

    QString ask(const QString &command, quint32 expected = 0)
    {
        QString reply;
        EXPECT_EQ(device.sendString(command, reply), expected) << qPrintable(command);
        return reply;
    }
    void openDisc()
    {
        ask(QStringLiteral("open X: type cdaudio alias Medias wait"));
        ask(QStringLiteral("set Medias time format tmsf"));
    }
    // Waits for the position reply to satisfy the predicate.
    bool positionReaches(const std::function<bool(const QString &)> &ok, int ms = 5000)
    {
        const QDeadlineTimer deadline(ms);
        while (!deadline.hasExpired()) {
            if (ok(ask(QStringLiteral("status Medias position"))))
                return true;
            QThread::msleep(20);
        }
        return false;
    }

    static inline QString cue;
};

} // namespace

TEST(MciCommand, ParsesTheCommandsThePlayerSends)
{
    const MciCommand open = commandOf(QStringLiteral("open D: type cdaudio alias Medias wait"));
    EXPECT_EQ(open.verb, Verb::Open);
    EXPECT_EQ(open.device, QStringLiteral("D:"));
    EXPECT_EQ(open.type, QStringLiteral("cdaudio"));
    EXPECT_EQ(open.alias, QStringLiteral("Medias"));
    EXPECT_TRUE(open.wait);

    const MciCommand length = commandOf(QStringLiteral("STATUS Medias Length Track 12"));
    EXPECT_EQ(length.item, QStringLiteral("length"));
    EXPECT_EQ(length.track, 12);

    const MciCommand play = commandOf(QStringLiteral("play Medias from 3:1:20:0 to 3:04:05:06"));
    EXPECT_EQ(play.from, (TimeArgument{{3, 1, 20, 0}}));
    EXPECT_EQ(play.to, (TimeArgument{{3, 4, 5, 6}}));
    EXPECT_TRUE(commandOf(QStringLiteral("seek Medias to start")).toStart);
    EXPECT_EQ(commandOf(QStringLiteral("set Medias time format tmsf")).item,
              QStringLiteral("time format tmsf"));
    EXPECT_EQ(commandOf(QStringLiteral("open \"a b\" alias x")).device, QStringLiteral("a b"));
}

TEST(MciCommand, NamesWhatIsWrongInACommand)
{
    EXPECT_EQ(errorOf(QString()), kMciUnrecognizedCommand);
    EXPECT_EQ(errorOf(QStringLiteral("eject Medias")), kMciUnrecognizedCommand);
    EXPECT_EQ(errorOf(QStringLiteral("status")), kMciInvalidDeviceName);
    EXPECT_EQ(errorOf(QStringLiteral("open \"D:")), kMciNoClosingQuote);
    EXPECT_EQ(errorOf(QStringLiteral("seek Medias")), kMciMissingParameter);
    EXPECT_EQ(errorOf(QStringLiteral("play Medias from 1:x")), kMciOutsideRange);
    EXPECT_EQ(errorOf(QStringLiteral("play Medias from 1:2:3:4:5")), kMciOutsideRange);
    EXPECT_EQ(errorOf(QStringLiteral("play Medias from 1:300")), kMciOutsideRange);
    EXPECT_EQ(errorOf(QStringLiteral("play Medias sideways")), kMciUnrecognizedKeyword);
    EXPECT_EQ(errorOf(QStringLiteral("status Medias length track")), kMciMissingParameter);
    EXPECT_EQ(errorOf(QStringLiteral("open D: colour red")), kMciUnrecognizedKeyword);
}

TEST_F(Device, AnswersFromTheDiscItOpened)
{
    ASSERT_FALSE(cue.isEmpty());
    ask(QStringLiteral("status Medias mode"), kMciInvalidDeviceName);
    ask(QStringLiteral("open Q: type cdaudio alias Medias"), kMciInvalidDeviceName);
    ask(QStringLiteral("open M: type cdaudio alias Medias"), kMciMediaNotPresent);
    openDisc();
    ask(QStringLiteral("open X: type cdaudio alias Medias wait"), kMciDuplicateAlias);

    EXPECT_EQ(ask(QStringLiteral("capability Medias device type")), QStringLiteral("cdaudio"));
    EXPECT_EQ(ask(QStringLiteral("status Medias number of tracks")), QStringLiteral("3"));
    EXPECT_EQ(ask(QStringLiteral("status Medias length track 1")), QStringLiteral("00:02:00"));
    EXPECT_EQ(ask(QStringLiteral("status Medias type track 2")), QStringLiteral("other"));
    ask(QStringLiteral("status Medias length track 4"), kMciOutsideRange);
    EXPECT_EQ(ask(QStringLiteral("status Medias mode")), QStringLiteral("stopped"));
    EXPECT_EQ(ask(QStringLiteral("status Medias position")), QStringLiteral("01:00:00:00"));

    // The identity reads back as the signed number an item keeps.
    const auto disc = readDisc(cue);
    ASSERT_TRUE(disc);
    EXPECT_EQ(ask(QStringLiteral("info Medias identity")),
              QString::number(qint32(cddbDiscId(*disc))));

    ask(QStringLiteral("play Medias from 2:0:0:0"), kMciDataTrack);
    ask(QStringLiteral("play Medias from 1:0:2:1"), kMciOutsideRange); // past the end
    ask(QStringLiteral("play Medias from 1:0:0:75"), kMciOutsideRange);
    ask(QStringLiteral("set Medias time format frames"), kMciBadTimeFormat);
    ask(QStringLiteral("status Other mode"), kMciInvalidDeviceName);

    ask(QStringLiteral("set Medias time format msf"));
    EXPECT_EQ(ask(QStringLiteral("status Medias position track 3")), QStringLiteral("00:05:00"))
        << "two seconds of lead-in, 2 s and 1 s tracks";
    ask(QStringLiteral("close Medias wait"));
    ask(QStringLiteral("status Medias mode"), kMciInvalidDeviceName);
}

TEST_F(Device, PlaysPausesSeeksAndStopsAtTheTrackEnd)
{
    openDisc();
    const QString length = ask(QStringLiteral("status Medias length track 3"));
    EXPECT_EQ(length, QStringLiteral("00:03:00"));
    ask(QStringLiteral("play Medias from 3:0:0 to 3:") + length);
    EXPECT_EQ(ask(QStringLiteral("status Medias mode")), QStringLiteral("playing"));
    EXPECT_EQ(ask(QStringLiteral("status Medias current track")), QStringLiteral("3"));
    ASSERT_TRUE(positionReaches([](const QString &p) { return p >= u"03:00:00:20"; }));

    ask(QStringLiteral("pause Medias"));
    EXPECT_EQ(ask(QStringLiteral("status Medias mode")), QStringLiteral("paused"));
    const QString held = ask(QStringLiteral("status Medias position"));
    QThread::msleep(300); // the position must not move while paused
    EXPECT_EQ(ask(QStringLiteral("status Medias position")), held);

    // A play from a position seeks; the end of the track stops the device
    // right at the track's length, which is how the player sees an end.
    ask(QStringLiteral("play Medias from 3:0:2:0 to 3:") + length);
    ASSERT_TRUE(positionReaches([](const QString &p) { return p == u"03:00:03:00"; }, 4000));
    EXPECT_EQ(ask(QStringLiteral("status Medias mode")), QStringLiteral("stopped"));

    // "to" short of the end holds the device there.
    ask(QStringLiteral("play Medias from 1:0:0:0 to 1:0:0:30"));
    ASSERT_TRUE(positionReaches([](const QString &p) { return p == u"01:00:00:30"; }, 4000));
    EXPECT_EQ(ask(QStringLiteral("status Medias mode")), QStringLiteral("stopped"));

    ask(QStringLiteral("seek Medias to 1:0:1:0"));
    EXPECT_EQ(ask(QStringLiteral("status Medias position")), QStringLiteral("01:00:01:00"));
    ask(QStringLiteral("stop Medias"));
    ask(QStringLiteral("seek Medias to start"));
    EXPECT_EQ(ask(QStringLiteral("status Medias position")), QStringLiteral("01:00:00:00"));
}

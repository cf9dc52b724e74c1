// The volume slider and mute button against a real mixer: a private
// PulseAudio server with a null sink, reached through ALSA's "default"
// card as on a desktop.
#include "playback/mixer/modmixer.h"
#include "tests/support/pulse.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <poll.h>

#include <vector>

using namespace orvane::playback;
using orvane::test::PulseServer;

namespace {

QString pactl(const PulseServer &server, const QStringList &args)
{
    QProcess p;
    p.setProcessEnvironment(server.clientEnvironment());
    p.start(QStringLiteral("pactl"), args);
    p.waitForFinished(10000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The sink's volume as raw values, one per channel.
QList<int> sinkVolume(const PulseServer &server)
{
    const QString out = pactl(server, {QStringLiteral("get-sink-volume"), server.sinkName()});
    QList<int> values;
    static const QRegularExpression raw(QStringLiteral(":\\s*(\\d+)\\s*/"));
    auto it = raw.globalMatch(out);
    while (it.hasNext())
        values.append(it.next().captured(1).toInt());
    return values;
}

bool sinkMuted(const PulseServer &server)
{
    return pactl(server, {QStringLiteral("get-sink-mute"), server.sinkName()})
        .contains(QStringLiteral("yes"));
}

} // namespace

TEST(MixerLevel, ScalesTheSliderOntoTheControlRange)
{
    struct Case {
        long minimum, maximum;
        int volume;
        long level;
    };
    const Case cases[] = {
        {0, 65535, 500, 32768}, // 32767.5 rounds to even
        {0, 65536, 500, 32768}, {0, 65536, 1, 66}, {0, 100, 1000, 100},
        {-50, 50, 0, -50},      {0, 31, 500, 16}, // 15.5 rounds to even
    };
    for (const Case &c : cases)
        EXPECT_EQ(mixerLevel(c.minimum, c.maximum, c.volume), c.level)
            << c.maximum << " " << c.volume;
}

TEST(Mixer, SetsVolumeAndMuteOfTheDesktopSink)
{
    PulseServer server;
    ASSERT_TRUE(server.start()) << server.error().toStdString();
    server.exportToThisProcess();
    setMixerCard("default");

    EXPECT_FALSE(SetVolume(nullptr, nullptr, false, 500));
    EXPECT_FALSE(sinkMuted(server));
    const QList<int> half = sinkVolume(server);
    ASSERT_FALSE(half.isEmpty());
    for (int v : half)
        EXPECT_EQ(v, 32768) << "half of 0..65536";

    EXPECT_TRUE(SetVolume(nullptr, nullptr, true, 500)) << "the switch was set";
    EXPECT_TRUE(sinkMuted(server));

    EXPECT_FALSE(SetVolume(nullptr, nullptr, false, 1000)) << "the slider always unmutes";
    EXPECT_FALSE(sinkMuted(server));
    for (int v : sinkVolume(server))
        EXPECT_EQ(v, 65536);
}

TEST(MixerReading, FollowsTheMixerWithoutJumpingOnItsOwnWrites)
{
    MixerReading coarse;
    coarse.hasVolume = true;
    coarse.maximum = 31;
    coarse.level = 16;
    EXPECT_EQ(coarse.sliderValue(), 516);
    EXPECT_EQ(coarse.followedSliderValue(500), 500) << "500 wrote 16: the slider stays";
    EXPECT_EQ(coarse.followedSliderValue(600), 516) << "the mixer moved elsewhere";

    MixerReading fine;
    fine.hasVolume = true;
    fine.maximum = 65536;
    fine.level = 19661; // pactl's 30 %
    EXPECT_EQ(fine.sliderValue(), 300);
    EXPECT_EQ(fine.followedSliderValue(1000), 300);

    MixerReading odd = fine;
    odd.level = 70000; // above its own range
    EXPECT_EQ(odd.sliderValue(), 1000);
    odd.minimum = odd.maximum = 5; // no range at all
    EXPECT_EQ(odd.sliderValue(), 0);
    MixerReading none;
    EXPECT_EQ(none.followedSliderValue(420), 420) << "without a volume control nothing moves";
}

TEST(Mixer, ReadsAndWatchesChangesMadeByOthers)
{
    PulseServer server;
    ASSERT_TRUE(server.start()) << server.error().toStdString();
    server.exportToThisProcess();
    setMixerCard("default");

    pactl(server, {QStringLiteral("set-sink-volume"), server.sinkName(), QStringLiteral("30%")});
    MixerReading reading;
    ASSERT_TRUE(GetVolume(reading));
    EXPECT_TRUE(reading.hasVolume);
    EXPECT_EQ(reading.sliderValue(), 300);
    EXPECT_FALSE(reading.muted);

    MixerWatch watch;
    const QList<int> fds = watch.descriptors();
    ASSERT_FALSE(fds.isEmpty());
    std::vector<pollfd> polls;
    for (int fd : fds)
        polls.push_back({fd, POLLIN, 0});
    const auto readable = [&](int ms) { return poll(polls.data(), polls.size(), ms) > 0; };
    // What opening the mixer stirred up is not a change.
    while (readable(200))
        watch.takeEvents();

    pactl(server, {QStringLiteral("set-sink-mute"), server.sinkName(), QStringLiteral("1")});
    EXPECT_TRUE(readable(5000)) << "a mute set by another program wakes the watch";
    EXPECT_TRUE(watch.takeEvents());
    ASSERT_TRUE(GetVolume(reading));
    EXPECT_TRUE(reading.muted);
    EXPECT_EQ(reading.sliderValue(), 300) << "muting keeps the level";
    EXPECT_FALSE(readable(300)) << "taken events leave the watch quiet";
}

TEST(Mixer, NoMixerAtAllIsSilentFalse)
{
    setMixerCard("hw:97");
    EXPECT_FALSE(SetVolume(nullptr, nullptr, true, 500));
    EXPECT_FALSE(SetVolume(nullptr, nullptr, false, 0));
    MixerReading reading;
    EXPECT_FALSE(GetVolume(reading));
    EXPECT_TRUE(MixerWatch().descriptors().isEmpty());
    setMixerCard(nullptr);
}

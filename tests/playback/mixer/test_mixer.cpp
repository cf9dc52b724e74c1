// The volume slider and mute button against a real mixer: a private
// PulseAudio server with a null sink, reached through ALSA's "default"
// card as on a desktop.
#include "playback/mixer/modmixer.h"
#include "tests/support/pulse.h"

#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

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

TEST(Mixer, NoMixerAtAllIsSilentFalse)
{
    setMixerCard("hw:97");
    EXPECT_FALSE(SetVolume(nullptr, nullptr, true, 500));
    EXPECT_FALSE(SetVolume(nullptr, nullptr, false, 0));
    setMixerCard(nullptr);
}

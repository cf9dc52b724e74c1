// Short tones in a row, as a listener hears them through the sound server:
// one item follows the other without a pause in between, and the window
// names the item that sounds.
#include "tests/e2e/e2etest.h"
#include "tests/e2e/stories.h"
#include "tests/support/media.h"
#include "tests/support/qtprint.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

using namespace orvane::e2e;

namespace {

// The monitor is read at a low rate: enough for a tone of a few hundred
// hertz, and little data to look through while the story runs.
constexpr int kRate = 8000;
constexpr int kBlock = kRate / 200; // 5 ms
constexpr double kLoud = 600.0;     // RMS of a block that carries the tone
// A change prepared before the end leaves no pause at all; closing one
// file and opening the next costs 70 ms and more even on an idle machine,
// so the bound lies well below that and well below what a listener hears.
constexpr double kPreparedChangeMs = 40.0;

// What the null sink played, from the moment the recorder runs. The
// recording goes to a file, so it never waits for the test to read it.
class SinkRecorder
{
public:
    explicit SinkRecorder(const Desktop &desktop)
        : m_path(desktop.home() + QStringLiteral("/sink.raw"))
    {
        // A null sink that nothing plays into hands its monitor nothing, not
        // silence: a stream of zeros keeps it running, so a pause between
        // items is recorded as long as it lasts.
        m_silence.setProcessEnvironment(desktop.environment());
        m_silence.start(QStringLiteral("pacat"),
                        {QStringLiteral("--playback"), QStringLiteral("-d"),
                         QStringLiteral("orvane_null"), QStringLiteral("--format=s16le"),
                         QStringLiteral("--rate=%1").arg(kRate), QStringLiteral("--channels=1"),
                         QStringLiteral("--raw"), QStringLiteral("/dev/zero")});
        m_parec.setProcessEnvironment(desktop.environment());
        m_parec.setStandardOutputFile(m_path);
        m_parec.start(QStringLiteral("parec"),
                      {QStringLiteral("-d"), QStringLiteral("orvane_null.monitor"),
                       QStringLiteral("--format=s16le"), QStringLiteral("--rate=%1").arg(kRate),
                       QStringLiteral("--channels=1"), QStringLiteral("--latency-msec=20"),
                       QStringLiteral("--raw")});
    }
    ~SinkRecorder()
    {
        for (QProcess *p : {&m_parec, &m_silence}) {
            p->kill();
            p->waitForFinished(2000);
        }
    }

    // Data flowing means the recording has begun.
    bool waitForData()
    {
        return waitUntil([&] { return QFileInfo(m_path).size() > kBlock * 8; }, 10000, 20);
    }

    // The recording in 5 ms blocks: whether the tone sounds in each, and
    // how often the wave crossed zero in it (which tells the tones apart).
    struct Block {
        bool loud = false;
        int crossings = 0;
    };
    std::vector<Block> blocks() const
    {
        QFile file(m_path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QByteArray data = file.readAll();
        std::vector<Block> out;
        const qsizetype samples = data.size() / 2;
        qint16 last = 0;
        for (qsizetype start = 0; start + kBlock <= samples; start += kBlock) {
            double sum = 0;
            Block block;
            for (int i = 0; i < kBlock; ++i) {
                qint16 s = 0;
                std::memcpy(&s, data.constData() + 2 * (start + i), 2);
                sum += double(s) * s;
                block.crossings += (s < 0) != (last < 0);
                last = s;
            }
            block.loud = std::sqrt(sum / kBlock) > kLoud;
            out.push_back(block);
        }
        return out;
    }

private:
    QString m_path;
    QProcess m_silence;
    QProcess m_parec;
};

struct Sounding {
    double toneSeconds = 0;     // how long a tone sounded
    double longestChangeMs = 0; // the longest silence where one tone gave way to another
    double longestDropMs = 0;   // the longest silence inside one tone
    int tones = 0;              // tones told apart by their pitch
    bool ended = false;         // silence for a while after the last tone
};

// Every loud block gets the nearest of the tones' pitches, judged over the
// 40 ms around it; blocks of one pitch make a tone, and bursts of under
// 50 ms count for nothing. A silence between two runs of the same pitch is
// a drop-out inside an item, one where the pitch changes is the change of
// items.
Sounding measure(const std::vector<SinkRecorder::Block> &blocks, const QList<int> &pitches)
{
    const auto pitchAt = [&](size_t i) {
        int crossings = 0;
        int counted = 0;
        for (size_t j = i < 4 ? 0 : i - 4; j < std::min(blocks.size(), i + 4); ++j) {
            if (blocks[j].loud) {
                crossings += blocks[j].crossings;
                ++counted;
            }
        }
        const double hertz = crossings * 100.0 / std::max(counted, 1);
        return *std::min_element(pitches.begin(), pitches.end(), [&](int a, int b) {
            return std::abs(a - hertz) < std::abs(b - hertz);
        });
    };
    struct Run {
        int pitch;
        size_t begin;
        size_t end; // one past its last loud block
        int loud;
    };
    std::vector<Run> runs;
    for (size_t i = 0; i < blocks.size(); ++i) {
        if (!blocks[i].loud)
            continue;
        const int pitch = pitchAt(i);
        if (runs.empty() || runs.back().pitch != pitch)
            runs.push_back({pitch, i, i + 1, 1});
        runs.back().end = i + 1;
        ++runs.back().loud;
    }
    std::erase_if(runs, [](const Run &r) { return r.loud < 10; });
    Sounding s;
    for (size_t r = 0; r < runs.size(); ++r) {
        s.toneSeconds += runs[r].loud * 0.005;
        if (r == 0) {
            s.tones = 1;
            continue;
        }
        const double silenceMs = double(runs[r].begin - runs[r - 1].end) * 5.0;
        if (runs[r].pitch != runs[r - 1].pitch) {
            ++s.tones;
            s.longestChangeMs = std::max(s.longestChangeMs, silenceMs);
        } else {
            s.longestDropMs = std::max(s.longestDropMs, silenceMs);
        }
    }
    s.ended = !runs.empty() && blocks.size() - runs.back().end > 100; // half a second
    return s;
}

QString wavTone(const QString &title, double seconds, int frequency)
{
    return orvane::test::generatedMedia(
        QStringLiteral("e2e-gap-%1.wav").arg(title.toLower()),
        {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
         QStringLiteral("sine=frequency=%1:duration=%2").arg(frequency).arg(seconds),
         QStringLiteral("-ar"), QStringLiteral("44100"), QStringLiteral("-metadata"),
         QStringLiteral("title=") + title});
}

// RealAudio 1.0, which only the second engine plays.
QString realTone(double seconds, int frequency)
{
    return orvane::test::generatedMedia(
        QStringLiteral("e2e-gap-%1hz.rm").arg(frequency),
        {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
         QStringLiteral("sine=frequency=%1:duration=%2").arg(frequency).arg(seconds),
         QStringLiteral("-c:a"), QStringLiteral("real_144"), QStringLiteral("-ar"),
         QStringLiteral("8000"), QStringLiteral("-ac"), QStringLiteral("1"), QStringLiteral("-f"),
         QStringLiteral("rm")});
}

class Gap : public DesktopTest
{
protected:
    // Plays the files from the command line with the sink recorded, until
    // the list has played out.
    Sounding playThrough(const QStringList &files, const QList<int> &pitches, double seconds)
    {
        SinkRecorder recorder(m_desktop);
        EXPECT_TRUE(recorder.waitForData()) << "the sink's monitor records";
        Player &player = startPlayer(files);
        Sounding s;
        waitUntil(
            [&] {
                s = measure(recorder.blocks(), pitches);
                return s.ended && s.toneSeconds > seconds - 0.5;
            },
            int(seconds * 1000) + 20000, 100);
        std::printf("%d tones, %.2f s; longest change %.0f ms, longest drop-out %.0f ms\n", s.tones,
                    s.toneSeconds, s.longestChangeMs, s.longestDropMs);
        RecordProperty("longest_change_ms", int(s.longestChangeMs));
        EXPECT_TRUE(player.isRunning());
        return s;
    }
};

} // namespace

TEST_F(Gap, TonesOfTheFirstEngineFollowEachOtherWithoutAPause)
{
    const Sounding s =
        playThrough({wavTone(QStringLiteral("One"), 1, 440), wavTone(QStringLiteral("Two"), 1, 550),
                     wavTone(QStringLiteral("Three"), 2, 660)},
                    {440, 550, 660}, 4);
    ASSERT_TRUE(s.ended) << "the list plays out";
    EXPECT_EQ(s.tones, 3);
    EXPECT_NEAR(s.toneSeconds, 4.0, 0.3) << "every item sounds whole";
    EXPECT_LT(s.longestChangeMs, kPreparedChangeMs);
}

TEST_F(Gap, TheWindowFollowsTheItemThatSounds)
{
    SinkRecorder recorder(m_desktop);
    ASSERT_TRUE(recorder.waitForData());
    Player &player = startPlayer(
        {wavTone(QStringLiteral("One"), 1, 440), wavTone(QStringLiteral("Long"), 6, 660)});
    ASSERT_TRUE(waitForStart(player, 6)) << player.statusText().toStdString();
    EXPECT_EQ(player.playerctl({QStringLiteral("metadata"), QStringLiteral("title")}),
              QStringLiteral("Long"));
    EXPECT_EQ(player.playerctl({QStringLiteral("status")}), QStringLiteral("Playing"));
    // The second item plays to its end like any other, and the list stops.
    EXPECT_TRUE(waitUntil(
        [&] { return player.playerctl({QStringLiteral("status")}) == QStringLiteral("Stopped"); },
        15000))
        << player.statusText().toStdString();
    const Sounding s = measure(recorder.blocks(), {440, 660});
    EXPECT_EQ(s.tones, 2);
    EXPECT_NEAR(s.toneSeconds, 7.0, 0.3);
    EXPECT_LT(s.longestChangeMs, kPreparedChangeMs);
}

TEST_F(Gap, StopNearTheEndPlaysNothingMore)
{
    SinkRecorder recorder(m_desktop);
    ASSERT_TRUE(recorder.waitForData());
    Player &player = startPlayer(
        {wavTone(QStringLiteral("Long"), 6, 660), wavTone(QStringLiteral("One"), 1, 440)});
    // The item after it is prepared about a second before the end.
    ASSERT_TRUE(
        waitUntil([&] { return player.playerctl({QStringLiteral("position")}).toDouble() >= 5.4; },
                  20000, 20))
        << player.statusText().toStdString();
    ASSERT_TRUE(clickControl(player, QStringLiteral("Stop")));
    EXPECT_TRUE(waitUntil(
        [&] { return player.playerctl({QStringLiteral("status")}) == QStringLiteral("Stopped"); },
        5000));
    // Longer than the rest of the item and the whole of the next one.
    EXPECT_FALSE(waitUntil(
        [&] {
            return measure(recorder.blocks(), {440, 660}).tones > 1;
        },
        2500))
        << "the prepared item sounds after Stop";
    EXPECT_EQ(player.playerctl({QStringLiteral("status")}), QStringLiteral("Stopped"));
}

TEST_F(Gap, TheSecondEngineChangesItemsQuickly)
{
    const Sounding s = playThrough({realTone(2, 440), realTone(3, 660)}, {440, 660}, 5);
    ASSERT_TRUE(s.ended) << "the list plays out";
    EXPECT_EQ(s.tones, 2);
    EXPECT_NEAR(s.toneSeconds, 5.0, 0.4) << "every item sounds whole";
    // libmpv keeps its sound output open from one file to the next.
    EXPECT_LT(s.longestChangeMs, 100.0);
}

// Finding RealMedia files without packet times and planning their times,
// on files ffmpeg makes and on damaged copies of them.
#include "playback/mpv/realmediatiming.h"
#include "tests/playback/mpv/mpvtesthelpers.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace orvane::playback::mpv::rm;
using namespace orvane::test;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

quint32 be32At(const QByteArray &bytes, qint64 at)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.constData() + at);
    return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | p[3];
}

void putBe(QByteArray &bytes, qint64 at, quint32 value, int width)
{
    for (int k = 0; k < width; ++k)
        bytes[at + k] = char(quint8(value >> (8 * (width - 1 - k))));
}

ReadAt readerOf(const QByteArray &bytes)
{
    return [&bytes](qint64 offset, char *buffer, qint64 size) -> qint64 {
        if (offset < 0 || offset >= bytes.size())
            return 0;
        const qint64 count = qMin(size, bytes.size() - offset);
        std::copy_n(bytes.constData() + offset, count, buffer);
        return count;
    };
}

std::optional<TimingPlan> planFor(const QByteArray &bytes)
{
    const std::optional<TimingHeader> header = readTimingHeader(bytes.left(kHeadBytes));
    if (!header)
        return std::nullopt;
    return planTiming(*header, bytes.size(), readerOf(bytes));
}

// The times the packets carry (ffmpeg's audio files hold one stream).
QList<quint32> packetTimes(const QByteArray &bytes)
{
    QList<quint32> times;
    qint64 at = bytes.indexOf("DATA") + 18;
    while (at + 12 <= bytes.size()) {
        const quint32 length = be32At(bytes, at) & 0xffff;
        times.append(be32At(bytes, at + 6));
        if (length < 12)
            break;
        at += length;
    }
    return times;
}

struct FileCase {
    const char *name;
    QString (*make)();
    bool retimed;
    int durationMs; // of the sound ffmpeg encoded, when retimed
};

class GeneratedFileTest : public ::testing::TestWithParam<FileCase>
{
};

TEST_P(GeneratedFileTest, OnlyAudioWithoutTimesIsRetimed)
{
    const QByteArray bytes = readAll(GetParam().make());
    ASSERT_FALSE(bytes.isEmpty());
    const std::optional<TimingPlan> plan = planFor(bytes);
    ASSERT_EQ(plan.has_value(), GetParam().retimed);
    if (!plan)
        return;
    EXPECT_NEAR(plan->durationMs, GetParam().durationMs, 150);
    QByteArray patched = bytes;
    applyPlan(*plan, 0, patched.data(), patched.size());
    // The headers now state the length, and the packets run on from 0.
    EXPECT_EQ(be32At(patched, patched.indexOf("PROP") + 30), plan->durationMs);
    EXPECT_EQ(be32At(patched, patched.indexOf("MDPR") + 36), plan->durationMs);
    EXPECT_FALSE(readTimingHeader(patched.left(kHeadBytes)).has_value());
    const QList<quint32> times = packetTimes(patched);
    ASSERT_EQ(times.size(), plan->packets);
    EXPECT_EQ(times.first(), 0u);
    EXPECT_TRUE(std::is_sorted(times.begin(), times.end()));
    EXPECT_LE(times.last(), plan->durationMs); // a last packet may be too short to count
    EXPECT_GT(times.last(), plan->durationMs - 300);
}

// RealAudio 14.4 is 20 bytes for each 20 ms at 8 kbit/s: the times are exact.
TEST(RealMediaTiming, RealAudio144PacketsGetTheirExactTimes)
{
    const QByteArray bytes = readAll(realAudioClip());
    const std::optional<TimingPlan> plan = planFor(bytes);
    ASSERT_TRUE(plan.has_value());
    QByteArray patched = bytes;
    applyPlan(*plan, 0, patched.data(), patched.size());
    const QList<quint32> times = packetTimes(patched);
    for (qsizetype i = 0; i < times.size(); ++i)
        ASSERT_EQ(times[i], quint32(20 * i)) << "packet " << i;
    EXPECT_EQ(plan->durationMs, quint32(20 * times.size()));
}

INSTANTIATE_TEST_SUITE_P(Files, GeneratedFileTest,
                         ::testing::Values(FileCase{"RealAudio144", realAudioClip, true, 3000},
                                           FileCase{"AacInRealMedia", aacRealMediaClip, true, 3000},
                                           FileCase{"Rv10WithRealAudio144", realVideoClip, false,
                                                    0},
                                           FileCase{"Ac3InRealMedia", ac3RealMediaClip, false, 0},
                                           FileCase{"Mp3", [] { return toneMp3(3.0); }, false, 0}),
                         [](const auto &testCase) { return std::string(testCase.param.name); });

// libmpv reads in pieces of any size; a changed field may lie across two.
TEST(RealMediaTiming, PatchesApplyAcrossReadBoundaries)
{
    const QByteArray bytes = readAll(realAudioClip());
    const std::optional<TimingPlan> plan = planFor(bytes);
    ASSERT_TRUE(plan.has_value());
    QByteArray whole = bytes;
    applyPlan(*plan, 0, whole.data(), whole.size());
    for (const qint64 piece : {1, 3, 5, 7, 13, 4093, 65536}) {
        QByteArray pieces = bytes;
        for (qint64 at = 0; at < pieces.size(); at += piece)
            applyPlan(*plan, at, pieces.data() + at, qMin(piece, pieces.size() - at));
        EXPECT_EQ(pieces, whole) << "pieces of " << piece;
    }
}

// Byte offsets in ffmpeg's RealAudio file, found rather than assumed.
struct Layout {
    qint64 prop, mdpr, data, packets;
};

Layout layoutOf(const QByteArray &bytes)
{
    const qint64 data = bytes.indexOf("DATA");
    return {bytes.indexOf("PROP"), bytes.indexOf("MDPR"), data, data + 18};
}

struct Damage {
    const char *name;
    void (*apply)(QByteArray &bytes, const Layout &at);
};

class DamagedHeaderTest : public ::testing::TestWithParam<Damage>
{
};

TEST_P(DamagedHeaderTest, GivesNoPlan)
{
    QByteArray bytes = readAll(realAudioClip());
    ASSERT_TRUE(planFor(bytes).has_value()); // the damage alone makes the difference
    GetParam().apply(bytes, layoutOf(bytes));
    EXPECT_FALSE(readTimingHeader(bytes.left(kHeadBytes)).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Damages, DamagedHeaderTest,
    ::testing::Values(
        Damage{"Empty", [](QByteArray &b, const Layout &) { b.clear(); }},
        Damage{"SignatureOnly", [](QByteArray &b, const Layout &) { b.truncate(4); }},
        Damage{"CutInFileHeader", [](QByteArray &b, const Layout &l) { b.truncate(l.prop + 30); }},
        Damage{"CutInStreamHeader",
               [](QByteArray &b, const Layout &l) { b.truncate(l.mdpr + 60); }},
        Damage{"CutAfterDataHeader", [](QByteArray &b, const Layout &l) { b.truncate(l.packets); }},
        Damage{"CutInSecondPacket",
               [](QByteArray &b, const Layout &l) { b.truncate(l.packets + 32 + 6); }},
        Damage{"OtherSignature", [](QByteArray &b, const Layout &) { b[1] = 'X'; }},
        Damage{"ChunkSizeZero", [](QByteArray &b, const Layout &l) { putBe(b, l.prop + 4, 0, 4); }},
        Damage{"ChunkSizeHuge",
               [](QByteArray &b, const Layout &l) { putBe(b, l.prop + 4, 0xffffffff, 4); }},
        Damage{"FileHeaderTooShort",
               [](QByteArray &b, const Layout &l) { putBe(b, l.prop + 4, 20, 4); }},
        Damage{"FileHeaderStatesLength",
               [](QByteArray &b, const Layout &l) { putBe(b, l.prop + 30, 3000, 4); }},
        Damage{"FileHasAnIndex",
               [](QByteArray &b, const Layout &l) { putBe(b, l.prop + 38, 9999, 4); }},
        Damage{"StreamHeaderTooShort",
               [](QByteArray &b, const Layout &l) { putBe(b, l.mdpr + 4, 30, 4); }},
        Damage{"StreamNameRunsOver",
               [](QByteArray &b, const Layout &l) { putBe(b, l.mdpr + 40, 255, 1); }},
        Damage{"CodecDataRunsOver",
               [](QByteArray &b,
                  const Layout &) { putBe(b, b.indexOf("realaudio") + 9, 0x7fffffff, 4); }},
        Damage{"NotAudio", [](QByteArray &b, const Layout &) { b[b.indexOf("audio/")] = 'v'; }},
        Damage{"NoBitRate", [](QByteArray &b, const Layout &l) { putBe(b, l.mdpr + 16, 0, 4); }},
        Damage{"StreamStatesLength",
               [](QByteArray &b, const Layout &l) { putBe(b, l.mdpr + 36, 3000, 4); }},
        Damage{"PacketShorterThanItsHeader",
               [](QByteArray &b, const Layout &l) { putBe(b, l.packets + 2, 5, 2); }},
        Damage{"PacketOfUnknownVersion",
               [](QByteArray &b, const Layout &l) { putBe(b, l.packets, 7, 2); }},
        Damage{"PacketOfUnknownStream",
               [](QByteArray &b, const Layout &l) { putBe(b, l.packets + 4, 9, 2); }},
        Damage{"SecondPacketHasATime",
               [](QByteArray &b, const Layout &l) { putBe(b, l.packets + 32 + 6, 20, 4); }},
        Damage{"DataChunkHoldsOnePacket",
               [](QByteArray &b, const Layout &l) { putBe(b, l.data + 4, 18 + 32, 4); }}),
    [](const auto &testCase) { return std::string(testCase.param.name); });

struct DataDamage {
    const char *name;
    void (*apply)(QByteArray &bytes, const Layout &at);
    int packets; // that get a time; 0: no plan, -1: all
    // The length in ms, from the damaged bytes and the count of all packets.
    int (*duration)(const QByteArray &bytes, const Layout &at, int all);
};

int fullPackets(const QByteArray &, const Layout &, int all)
{
    return 20 * all;
}

int fiftyPackets(const QByteArray &, const Layout &, int)
{
    return 20 * 50;
}

class DamagedDataTest : public ::testing::TestWithParam<DataDamage>
{
};

// The header looks right; the packets further on are damaged. The plan
// keeps what came before the damage, within the bytes that are there.
TEST_P(DamagedDataTest, PlanStopsAtTheDamage)
{
    QByteArray bytes = readAll(realAudioClip());
    const Layout layout = layoutOf(bytes);
    const qsizetype all = planFor(bytes)->packets;
    ASSERT_GT(all, 100);
    GetParam().apply(bytes, layout);
    const std::optional<TimingPlan> plan = planFor(bytes);
    const int expected = GetParam().packets < 0 ? int(all) : GetParam().packets;
    ASSERT_EQ(plan.has_value(), expected > 0);
    if (!plan)
        return;
    EXPECT_EQ(plan->packets, expected);
    EXPECT_EQ(plan->durationMs, quint32(GetParam().duration(bytes, layout, int(all))));
    for (const Patch &patch : plan->patches)
        EXPECT_LE(patch.offset + 4, bytes.size());
}

constexpr qint64 kPacket = 32; // each of ffmpeg's RealAudio 14.4 packets

INSTANTIATE_TEST_SUITE_P(
    Damages, DamagedDataTest,
    ::testing::Values(
        DataDamage{"Untouched", [](QByteArray &, const Layout &) {}, -1, fullPackets},
        DataDamage{"CutAfter50Packets",
                   [](QByteArray &b, const Layout &l) { b.truncate(l.packets + 50 * kPacket); }, 50,
                   fiftyPackets},
        // The payload that is there still counts: 8 of its 20 bytes.
        DataDamage{
            "CutInsidePacket51",
            [](QByteArray &b, const Layout &l) { b.truncate(l.packets + 50 * kPacket + 20); }, 51,
            [](const QByteArray &, const Layout &, int) { return 1008; }},
        DataDamage{"CutInsideHeaderOfPacket51",
                   [](QByteArray &b, const Layout &l) { b.truncate(l.packets + 50 * kPacket + 8); },
                   50, fiftyPackets},
        DataDamage{
            "Packet51TooShort",
            [](QByteArray &b, const Layout &l) { putBe(b, l.packets + 50 * kPacket + 2, 11, 2); },
            50, fiftyPackets},
        DataDamage{"Packet51OfUnknownVersion",
                   [](QByteArray &b, const Layout &l) { putBe(b, l.packets + 50 * kPacket, 2, 2); },
                   50, fiftyPackets},
        // One packet up to the end of the file: its payload is all the rest.
        DataDamage{"Packet51RunsPastTheEnd",
                   [](QByteArray &b, const Layout &l) {
                       putBe(b, l.packets + 50 * kPacket + 2, 0xffff, 2);
                   },
                   51,
                   [](const QByteArray &b, const Layout &l, int) {
                       return 1000 + int(b.size() - (l.packets + 50 * kPacket)) - 12;
                   }},
        DataDamage{
            "DataChunkEndsAfter2Packets",
            [](QByteArray &b, const Layout &l) { putBe(b, l.data + 4, 18 + 2 * kPacket, 4); }, 2,
            [](const QByteArray &, const Layout &, int) { return 40; }},
        DataDamage{"DataChunkSizeHuge",
                   [](QByteArray &b, const Layout &l) { putBe(b, l.data + 4, 0xffffffff, 4); }, -1,
                   fullPackets},
        DataDamage{"NoPacketsLeft",
                   [](QByteArray &b, const Layout &l) { b.truncate(l.packets + kPacket); }, 0,
                   fullPackets}),
    [](const auto &testCase) { return std::string(testCase.param.name); });

// A hostile file of endless tiny packets costs bounded memory: no plan.
TEST(RealMediaTiming, TooManyPacketsGiveNoPlan)
{
    const QByteArray real = readAll(realAudioClip());
    const Layout layout = layoutOf(real);
    std::optional<TimingHeader> header = readTimingHeader(real.left(kHeadBytes));
    ASSERT_TRUE(header.has_value());
    header->dataSize = 0xffffffff;
    // Every byte after the DATA header belongs to a 12-byte packet of stream 0 at time 0.
    const ReadAt endlessPackets = [&](qint64 offset, char *buffer, qint64 size) -> qint64 {
        for (qint64 i = 0; i < size; ++i) {
            const qint64 inPacket = (offset + i - layout.packets) % 12;
            buffer[i] = inPacket == 3 ? char(12) : char(0);
        }
        return size;
    };
    const qint64 fileSize = layout.packets + 12 * (kMaxPackets + 1);
    EXPECT_FALSE(planTiming(*header, fileSize, endlessPackets).has_value());
    const std::optional<TimingPlan> plan =
        planTiming(*header, layout.packets + 12 * 1000, endlessPackets);
    ASSERT_TRUE(plan.has_value());
    EXPECT_EQ(plan->packets, 1000);
    EXPECT_EQ(plan->durationMs, 0u); // headers only: no sound, no time
}

// A read error ends the walk like the end of the file.
TEST(RealMediaTiming, ReadErrorGivesNoPlan)
{
    const QByteArray bytes = readAll(realAudioClip());
    const std::optional<TimingHeader> header = readTimingHeader(bytes.left(kHeadBytes));
    ASSERT_TRUE(header.has_value());
    const ReadAt failing = [](qint64, char *, qint64) -> qint64 { return -1; };
    EXPECT_FALSE(planTiming(*header, bytes.size(), failing).has_value());
}

} // namespace

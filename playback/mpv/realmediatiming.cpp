#include "playback/mpv/realmediatiming.h"

#include <algorithm>
#include <limits>

namespace orvane::playback::mpv::rm {

namespace {

constexpr qint64 kChunkHeader = 10; // tag, size, version
constexpr qint64 kDataHeader = 18;  // ... packet count, next DATA chunk
constexpr qint64 kPropSize = 50;
constexpr qint64 kPropDuration = 30; // offsets inside the PROP chunk
constexpr qint64 kPropIndex = 38;
constexpr qint64 kMdprFixed = 41;  // up to and with the name's length byte
constexpr qint64 kMdprNumber = 10; // offsets inside the MDPR chunk
constexpr qint64 kMdprAvgBitRate = 16;
constexpr qint64 kMdprDuration = 36;
constexpr qint64 kPacketV0 = 12;
constexpr qint64 kPacketV1 = 13;
constexpr qint64 kPacketTime = 6;
// Enough packets to tell a file without times from one whose first packets
// merely start together.
constexpr int kPacketsChecked = 16;
// Packet headers are read through a window of this size: small packets
// come many to one read, large ones cost one read each.
constexpr qint64 kWindow = 16 * 1024;

quint16 be16(const char *p)
{
    return quint16((quint8(p[0]) << 8) | quint8(p[1]));
}

quint32 be32(const char *p)
{
    return (quint32(be16(p)) << 16) | be16(p + 2);
}

// The head with every read checked against its end.
class Bytes
{
public:
    explicit Bytes(QByteArrayView view)
        : m_view(view)
    {}
    bool has(qint64 at, qint64 count) const
    {
        return at >= 0 && count >= 0 && at <= m_view.size() && count <= m_view.size() - at;
    }
    QByteArrayView view(qint64 at, qint64 count) const { return m_view.sliced(at, count); }
    quint8 u8(qint64 at) const { return quint8(m_view[at]); }
    quint16 u16(qint64 at) const { return be16(m_view.data() + at); }
    quint32 u32(qint64 at) const { return be32(m_view.data() + at); }

private:
    QByteArrayView m_view;
};

int streamIndex(const TimingHeader &header, quint16 number)
{
    for (size_t i = 0; i < header.streams.size(); ++i) {
        if (header.streams[i].number == number)
            return int(i);
    }
    return -1;
}

// A file header that states no length and points to no index: an index
// would carry the same missing times.
bool readProp(const Bytes &bytes, qint64 at, qint64 size, TimingHeader &header)
{
    if (size < kPropSize || bytes.u16(at + 8) != 0)
        return false;
    if (bytes.u32(at + kPropDuration) != 0 || bytes.u32(at + kPropIndex) != 0)
        return false;
    header.propDurationAt = at + kPropDuration;
    return true;
}

// An audio stream with a bit rate and no length. The names and the codec
// data must fit the chunk, as a sign that the sizes can be trusted.
bool readMdpr(const Bytes &bytes, qint64 at, qint64 size, TimingHeader &header)
{
    if (size < kMdprFixed || bytes.u16(at + 8) != 0)
        return false;
    const qint64 end = at + size;
    const qint64 mimeLengthAt = at + kMdprFixed + bytes.u8(at + kMdprFixed - 1);
    if (mimeLengthAt >= end)
        return false;
    const qint64 mimeAt = mimeLengthAt + 1;
    const qint64 codecDataAt = mimeAt + bytes.u8(mimeLengthAt);
    if (codecDataAt + 4 > end || bytes.u32(codecDataAt) > quint64(end - codecDataAt - 4))
        return false;
    if (!bytes.view(mimeAt, codecDataAt - mimeAt).startsWith("audio/"))
        return false;
    const StreamTiming stream{bytes.u16(at + kMdprNumber), bytes.u32(at + kMdprAvgBitRate),
                              at + kMdprDuration};
    if (stream.avgBitRate == 0 || bytes.u32(stream.durationAt) != 0)
        return false;
    if (streamIndex(header, stream.number) >= 0 || qsizetype(header.streams.size()) >= kMaxStreams)
        return false;
    header.streams.push_back(stream);
    return true;
}

qint64 packetHeaderSize(quint16 version)
{
    return version == 0 ? kPacketV0 : version == 1 ? kPacketV1 : 0;
}

// The packets whose headers lie in the head: sound, of known streams, and
// all at the time 0.
bool firstPacketsHaveNoTime(const Bytes &bytes, const TimingHeader &header)
{
    if (header.streams.empty() || !bytes.has(header.dataAt, kDataHeader) ||
        bytes.u16(header.dataAt + 8) != 0)
        return false;
    const qint64 end = header.dataAt + qint64(header.dataSize);
    qint64 at = header.dataAt + kDataHeader;
    int packets = 0;
    while (packets < kPacketsChecked && at + kPacketV0 <= end && bytes.has(at, kPacketV0)) {
        const qint64 size = packetHeaderSize(bytes.u16(at));
        if (size == 0 || !bytes.has(at, size))
            return size != 0 && packets >= 2;
        const quint16 length = bytes.u16(at + 2);
        if (length < size || streamIndex(header, bytes.u16(at + 4)) < 0 ||
            bytes.u32(at + kPacketTime) != 0)
            return false;
        ++packets;
        at += length;
    }
    return packets >= 2;
}

// Milliseconds that so many payload bytes last at the bit rate.
quint32 playedMs(quint64 bytes, quint32 bitRate)
{
    constexpr quint64 kMax = std::numeric_limits<quint32>::max();
    if (bytes >= (quint64(1) << 50))
        return quint32(kMax);
    return quint32(std::min(bytes * 8000 / bitRate, kMax));
}

// Packet headers through a window of the file, never past the end given.
class HeaderReader
{
public:
    HeaderReader(const ReadAt &read, qint64 end)
        : m_read(read)
        , m_end(end)
        , m_window(kWindow)
    {}
    // The bytes [at, at + count), or null when they are not all there.
    const char *get(qint64 at, qint64 count)
    {
        if (at >= m_start && at + count <= m_start + m_filled)
            return m_window.data() + (at - m_start);
        if (at < 0 || count > m_end - at)
            return nullptr;
        m_start = at;
        m_filled = qMax<qint64>(0, m_read(at, m_window.data(), qMin(kWindow, m_end - at)));
        return m_filled >= count ? m_window.data() : nullptr;
    }

private:
    const ReadAt &m_read;
    qint64 m_end;
    std::vector<char> m_window;
    qint64 m_start = 0;
    qint64 m_filled = 0;
};

struct Scan {
    TimingPlan plan;
    std::vector<quint64> played; // payload bytes of each stream so far
    bool tooMany = false;
};

void scanPackets(const TimingHeader &header, qint64 end, const ReadAt &read, Scan &scan)
{
    HeaderReader reader(read, end);
    qint64 at = header.dataAt + kDataHeader;
    qsizetype seen = 0;
    while (const char *p = reader.get(at, kPacketV0)) {
        const qint64 size = packetHeaderSize(be16(p));
        if (size == 0 || !(p = reader.get(at, size)))
            return;
        const quint16 length = be16(p + 2);
        if (length < size)
            return;
        if (++seen > kMaxPackets) {
            scan.tooMany = true;
            return;
        }
        const int stream = streamIndex(header, be16(p + 4));
        if (stream >= 0) {
            quint64 &played = scan.played[size_t(stream)];
            scan.plan.patches.push_back(
                {at + kPacketTime, playedMs(played, header.streams[size_t(stream)].avgBitRate)});
            played += quint64(qMin<qint64>(length, end - at) - size);
            ++scan.plan.packets;
        }
        at += length;
    }
}

} // namespace

std::optional<TimingHeader> readTimingHeader(QByteArrayView head)
{
    const Bytes bytes(head);
    if (!bytes.has(0, kChunkHeader) || !head.startsWith(".RMF"))
        return std::nullopt;
    TimingHeader header;
    bool sawProp = false;
    qint64 at = 0;
    while (bytes.has(at, kChunkHeader)) {
        const QByteArrayView tag = bytes.view(at, 4);
        const quint32 size = bytes.u32(at + 4);
        if (size < kChunkHeader)
            return std::nullopt;
        if (tag == "DATA") {
            header.dataAt = at;
            header.dataSize = size;
            if (!sawProp || !firstPacketsHaveNoTime(bytes, header))
                return std::nullopt;
            return header;
        }
        if (!bytes.has(at, size)) // cut short: what it says cannot be checked
            return std::nullopt;
        if (tag == "PROP" && (sawProp || !readProp(bytes, at, size, header)))
            return std::nullopt;
        if (tag == "MDPR" && !readMdpr(bytes, at, size, header))
            return std::nullopt;
        sawProp = sawProp || tag == "PROP";
        at += size;
    }
    return std::nullopt; // no packets among the first bytes
}

std::optional<TimingPlan> planTiming(const TimingHeader &header, qint64 fileSize,
                                     const ReadAt &read)
{
    const size_t streams = header.streams.size();
    if (streams == 0 || qsizetype(streams) > kMaxStreams || fileSize <= header.dataAt)
        return std::nullopt;
    Scan scan;
    scan.played.assign(streams, 0);
    // The headers' lengths come first in the file; their values are known
    // only once every packet was seen.
    scan.plan.patches.resize(streams + 1);
    scanPackets(header, qMin(fileSize, header.dataAt + qint64(header.dataSize)), read, scan);
    if (scan.tooMany || scan.plan.packets < 2)
        return std::nullopt;
    TimingPlan &plan = scan.plan;
    for (size_t i = 0; i < streams; ++i) {
        const quint32 ms = playedMs(scan.played[i], header.streams[i].avgBitRate);
        plan.patches[i] = {header.streams[i].durationAt, ms};
        plan.durationMs = std::max(plan.durationMs, ms);
    }
    plan.patches[streams] = {header.propDurationAt, plan.durationMs};
    std::sort(plan.patches.begin(), plan.patches.begin() + qsizetype(streams) + 1,
              [](const Patch &a, const Patch &b) { return a.offset < b.offset; });
    return std::move(scan.plan);
}

void applyPlan(const TimingPlan &plan, qint64 offset, char *buffer, qint64 size)
{
    if (size <= 0)
        return;
    const qint64 end = offset + size;
    auto patch = std::lower_bound(plan.patches.begin(), plan.patches.end(), offset - 3,
                                  [](const Patch &p, qint64 at) { return p.offset < at; });
    for (; patch != plan.patches.end() && patch->offset < end; ++patch) {
        for (int k = 0; k < 4; ++k) {
            const qint64 at = patch->offset + k;
            if (at >= offset && at < end)
                buffer[at - offset] = char(quint8(patch->value >> (24 - 8 * k)));
        }
    }
}

} // namespace orvane::playback::mpv::rm

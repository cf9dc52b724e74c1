// RealMedia files come from anywhere: any bytes must give a plan that only
// touches bytes of the file, in order and without overlaps, or no plan;
// never a crash, a read outside the file or unbounded memory.
#include "playback/mpv/realmediatiming.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

using namespace orvane::playback::mpv::rm;

void checkPlan(const TimingPlan &plan, const QByteArray &bytes)
{
    if (plan.packets < 2 || plan.packets > kMaxPackets)
        std::abort();
    qint64 end = 0; // of the patch before
    for (const Patch &patch : plan.patches) {
        if (patch.offset < end || patch.offset + 4 > bytes.size())
            std::abort();
        end = patch.offset + 4;
    }
    // Read in pieces of any size, the bytes come out as read in one go.
    QByteArray whole = bytes;
    applyPlan(plan, 0, whole.data(), whole.size());
    QByteArray pieces = bytes;
    const qint64 piece = 1 + qint64(quint8(bytes.back())) % 61;
    for (qint64 at = 0; at < pieces.size(); at += piece)
        applyPlan(plan, at, pieces.data() + at, qMin(piece, pieces.size() - at));
    if (pieces != whole)
        std::abort();
}

ReadAt readerOf(const QByteArray &bytes)
{
    return [&bytes](qint64 offset, char *buffer, qint64 size) -> qint64 {
        if (offset < 0 || size < 0)
            std::abort(); // the planner asked for nonsense
        if (offset >= bytes.size())
            return 0;
        const qint64 count = qMin(size, bytes.size() - offset);
        std::memcpy(buffer, bytes.constData() + offset, size_t(count));
        return count;
    };
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<TimingHeader> header = readTimingHeader(bytes.left(kHeadBytes));
    if (header) {
        if (header->streams.empty() || qsizetype(header->streams.size()) > kMaxStreams ||
            header->dataAt < 0 || header->dataAt >= bytes.size())
            std::abort();
        if (const std::optional<TimingPlan> plan =
                planTiming(*header, bytes.size(), readerOf(bytes)))
            checkPlan(*plan, bytes);
    }
    // The planner alone, on packets the header check would turn away: two
    // streams whose length fields sit in the first 12 bytes, the packets
    // right after a DATA header at 12.
    if (bytes.size() < 30)
        return 0;
    TimingHeader direct;
    direct.propDurationAt = 8;
    direct.streams = {{0, 8000, 0}, {1, 1 + quint32(quint8(bytes[0])) * 1000, 4}};
    direct.dataAt = 12;
    direct.dataSize = 0xffffffff;
    if (const std::optional<TimingPlan> plan = planTiming(direct, bytes.size(), readerOf(bytes)))
        checkPlan(*plan, bytes);
    return 0;
}

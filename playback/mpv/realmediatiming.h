#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <functional>
#include <optional>
#include <vector>

namespace orvane::playback::mpv::rm {

// ffmpeg's RealMedia muxer writes audio-only files whose packets all carry
// the time 0 and whose headers state no length. libavformat then knows
// neither where it is nor how long the clip runs, and a seek ends the file.
// The time of each packet follows from the stream's constant bit rate, so
// the engine writes it in while libmpv reads the file: this part finds such
// files and works out which bytes to change; realmediastream reads the file
// with those bytes changed. Nothing here trusts the file: every size is
// checked against the bytes that are there, and the work is bounded.

// How much of the file's start the header check looks at. ffmpeg's headers
// take a few hundred bytes; one with long tags may take a few KiB more.
inline constexpr qsizetype kHeadBytes = 16 * 1024;
// More packets than this (a 11-hour RealAudio 14.4 clip) are not retimed:
// the plan would hold too much memory.
inline constexpr qsizetype kMaxPackets = 2 * 1024 * 1024;
// Audio streams in one file; ffmpeg writes one.
inline constexpr qsizetype kMaxStreams = 16;

struct StreamTiming {
    quint16 number = 0;
    quint32 avgBitRate = 0; // bits per second, > 0
    qint64 durationAt = 0;  // file offset of the stream header's duration
};

// What the header check learnt about a file that needs retiming.
struct TimingHeader {
    qint64 propDurationAt = 0; // file offset of the file header's duration
    std::vector<StreamTiming> streams;
    qint64 dataAt = 0;    // the DATA chunk
    quint32 dataSize = 0; // as stated: may run past the end of the file
};

// From the first bytes of a file (up to kHeadBytes): a RealMedia file whose
// headers state no length, whose streams are all audio with a bit rate, and
// whose first packets (at least two) all carry the time 0. Nothing for any
// other file, also when the bytes are damaged or cut short.
std::optional<TimingHeader> readTimingHeader(QByteArrayView head);

// Four bytes at a file offset to be read as a big-endian value instead.
struct Patch {
    qint64 offset = 0;
    quint32 value = 0;
};

struct TimingPlan {
    std::vector<Patch> patches; // ordered by offset, never overlapping
    quint32 durationMs = 0;     // the longest stream's length
    qsizetype packets = 0;      // packets given a time
};

// Reads up to size bytes at offset into buffer; returns the count read
// (0 at the end of the file), or a negative number on an error.
using ReadAt = std::function<qint64(qint64 offset, char *buffer, qint64 size)>;

// Walks the packet headers of the DATA chunk (only the headers, never the
// payloads) and gives each packet of a known stream the time its stream has
// played until then (payload bits / bit rate), and the headers the lengths.
// Stops at the end of the chunk or the file, or at the first packet header
// that makes no sense (the packets before it keep their new times). Nothing
// when fewer than two packets were found or the file holds too many.
std::optional<TimingPlan> planTiming(const TimingHeader &header, qint64 fileSize,
                                     const ReadAt &read);

// Changes the bytes of the plan that fall into buffer, which holds size
// bytes read at offset; a patch may lie partly inside.
void applyPlan(const TimingPlan &plan, qint64 offset, char *buffer, qint64 size);

} // namespace orvane::playback::mpv::rm

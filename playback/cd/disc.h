#pragma once

#include <QString>
#include <QVector>

#include <cstdint>
#include <optional>

namespace orvane::playback {

// One track of a disc as its table of contents gives it. Addresses are in
// frames of 1/75 s counted from the start of the program area (LSN).
struct DiscTrack {
    int number = 0;
    std::int32_t startLsn = 0;
    std::int32_t frames = 0;
    bool audio = true;
    QString title;     // CD-TEXT, empty when the disc has none
    QString performer; // CD-TEXT
};

struct DiscInfo {
    QVector<DiscTrack> tracks;
    std::int32_t leadoutLsn = 0;
    QString title;     // CD-TEXT of the whole disc
    QString performer; // CD-TEXT of the whole disc

    int firstTrack() const { return tracks.isEmpty() ? 0 : tracks.first().number; }
    int audioTracks() const;
    const DiscTrack *track(int number) const;
};

// The freedb disc id of a table of contents: it names a disc across drives
// and sessions, so an item can tell whether the disc in the drive is still
// the one it was added from.
std::uint32_t cddbDiscId(const DiscInfo &disc);

// Reads the table of contents and CD-TEXT of a drive device or of a disc
// image (.cue, .toc, .nrg, .bin). Empty when there is no readable disc, the
// table is inconsistent, or it has no tracks. This may block on a drive:
// callers bound it.
std::optional<DiscInfo> readDisc(const QString &source);

// The same checks readDisc() makes, on a table already read: tracks
// numbered upwards and starting in order inside the disc.
bool discIsConsistent(const DiscInfo &disc);

} // namespace orvane::playback

#pragma once

#include <QString>

namespace orvane::playlist {

// MEDIATYPE values: the engine that plays an item.
enum MediaType : qint32 {
    kMediaNone = 0, // a record never filled
    kMediaWmp = 1,
    kMediaReal = 2,
    kMediaAudioCd = 3,
    kMediaVideoCd = 4,
};

// Booleans kept in 16-bit fields, as stored in records.
inline constexpr qint16 kTrue = -1;
inline constexpr qint16 kFalse = 0;

// One entry of the playlist. The field order is the record's, the names are
// those of the playlist file. A default record is the blank one: empty
// texts, zero numbers, DOPLAY false.
struct PlayListItem {
    qint32 MEDIATYPE = kMediaNone;
    qint16 DOPLAY = kFalse; // kTrue: play the item, kFalse: skip it
    qint16 DOLOOP = 0;      // times the item is played in a row
    QString FILENAME;       // normalised location
    qint32 NUMBER = 0;      // entry inside a nested playlist, or a disc's identity
    QString DRIVE;          // drive of a disc item ("D:")
    qint32 TRACK = 0;       // track of a disc item, from 1
    QString TITLE;
    QString AUTHOR;
    QString COPYRIGHT;
    QString DESCRIPTHION;

    bool operator==(const PlayListItem &) const = default;
};

} // namespace orvane::playlist

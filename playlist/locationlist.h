#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace orvane::playlist {

// One entry of a location table.
struct LocationEntry {
    QString location;    // canonical form
    QString displayName; // FileNamePart of the location

    bool operator==(const LocationEntry &) const = default;
};
using LocationTable = QList<LocationEntry>;

// Splits a "|"-separated location list into canonical locations, expanding
// .m3u, .m3u8 and .ram playlists in place. A first element without an
// extension followed by others is the folder of the rest (a file dialog's
// multiple selection); an element that is absolute itself ("/x", "D:x",
// "http://x") is not put behind it, and when all the rest are absolute the
// first element is a location of its own. Blank elements are not locations
// and are left out, so the table may be empty.
LocationTable ParseLocationList(const QString &text);

// A location list a user typed (or a file dialog filled in and the user
// edited), made to mean the same files wherever the program runs: its first
// element goes through TypedLocation; the other elements too, unless the
// first is the folder they are relative to.
QString TypedLocationList(const QString &text, const QString &folder, const QString &home);

// Reads a foreign playlist into table (appending): the number of entries
// it gave, or -1 when path names no .m3u, .m3u8 or .ram playlist that can
// be read (a ".ram" that really is a RealMedia file included).
qint32 ReadForeignPlaylist(const QString &path, LocationTable &table);

// The entries of a foreign playlist's bytes, relative locations taken in
// the folder of playlistPath. Its extension chooses the rules: M3U lines
// that start with "#" are comments, .m3u8 is always UTF-8. Empty lines are
// never locations.
LocationTable ForeignPlaylistEntries(const QByteArray &bytes, const QString &playlistPath);

} // namespace orvane::playlist

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace orvane::playback::gst {

// One entry of an .asx/.wax/.wvx playlist: the media it may play (tried in
// order, the first that opens wins) and its descriptive texts.
struct AsxEntry {
    QStringList refs;
    QString title;
    QString author;
    QString copyright;
    QString abstract;
};

struct AsxPlaylist {
    QList<AsxEntry> entries; // only entries with at least one reference
    QString title;           // texts of the playlist itself
    QString author;
    QString copyright;
    QString abstract;
};

struct AsxResult {
    bool ok = false;
    AsxPlaylist playlist;
    QString error; // why it failed, when !ok
};

// Reads the XML of an ASX playlist (element and attribute names in any
// letter case). Files written by hand are often sloppy: a bare "&" is read as
// a character, and entries complete before an XML error are kept. It fails
// when the root is not ASX or no entry with a reference remains. Bounded:
// at most kMaxAsxEntries entries and kMaxAsxRefs references per entry are
// kept, and texts longer than kMaxAsxText characters are cut.
AsxResult parseAsx(const QString &text);

inline constexpr int kMaxAsxEntries = 10000;
inline constexpr int kMaxAsxRefs = 64;
inline constexpr int kMaxAsxText = 4096;
inline constexpr qint64 kMaxAsxFileSize = 4 * 1024 * 1024;

// True for a location or path whose extension names an ASX playlist.
bool isAsxLocation(const QString &location);

// The location a reference of the playlist in folder `asxFolder` (a local
// absolute path) names: URLs as they are, other texts as paths relative to
// that folder ("\" read as "/"). "" for an empty reference.
QString resolveAsxRef(const QString &asxFolder, const QString &href);

} // namespace orvane::playback::gst

#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace orvane::playback::mpv {

// One entry of a ".ram/.rpm" or ".smil/.smi" file: where the media is and
// what the file says about it.
struct RealEntry {
    QString location; // "file://" + absolute path, or a URL as written
    QString title;
    QString author;
    QString copyright;
    QString abstract;
};

struct RealPlaylist {
    enum Kind {
        Playlist, // entries read (possibly none)
        Media,    // not a playlist after all: a RealMedia file named ".ram"
        Invalid,  // unreadable; error says why
    };
    Kind kind = Playlist;
    QList<RealEntry> entries;
    QString error;
};

// Limits that keep a hostile file from costing time or memory.
inline constexpr qsizetype kMaxPlaylistBytes = 1024 * 1024;
inline constexpr qsizetype kMaxPlaylistEntries = 10000;

// True for the names the engine reads as playlists (".ram", ".rpm",
// ".smil", ".smi", compared without regard to case).
bool isRealPlaylistName(const QString &path);
bool isSmilName(const QString &path);

// Reads a RAM file: one location a line (UTF-8 or CP932), blank lines and
// lines starting with '#' ignored, "--stop--" ends the list. Relative paths
// are resolved against baseFolder. A query of the form
// "?title=...&author=...&copyright=...&abstract=..." gives the entry's texts.
RealPlaylist readRam(const QByteArray &bytes, const QString &baseFolder);

// Reads a SMIL document: the media references (audio, video, ref,
// animation, textstream) in document order with their title, author,
// copyright and abstract attributes; a <switch> contributes its first
// choice only; the <head>'s <meta> texts fill what an element leaves empty.
RealPlaylist readSmil(const QByteArray &bytes, const QString &baseFolder);

} // namespace orvane::playback::mpv

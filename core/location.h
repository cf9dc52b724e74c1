#pragma once

#include <QString>

namespace orvane::core {

// What a location from outside (a command line, a drop, a playlist's line,
// another instance, the desktop's media service) names, decided in one
// place for everything that adds or opens media. Only what a player is
// meant to open gets through: local files outside the kernel's device and
// system trees, the streaming schemes below, and the disc pseudo-locations.
// Anything else (a capture device, a file descriptor, a socket) would make
// an engine read what the user never meant to play.
struct Location {
    enum class Kind {
        LocalFile, // target: the absolute path, cleaned and percent-decoded
        Stream,    // target: the URL, its scheme in lower case
        Disc,      // target: the location as given ("AudioCD://D:/3/")
        Refused,   // reason says why
    };

    Kind kind = Kind::Refused;
    QString scheme; // lower case, without "://": "file", "http", "audiocd", "v4l2", ...
    QString target;
    QString reason; // English, for the log; empty unless refused
    // Refused as a local path that is not absolute ("a.mp3", "C:/x" of a
    // Windows list): a file nobody can find, rather than a forbidden one.
    bool relativePath = false;

    bool isLocalFile() const { return kind == Kind::LocalFile; }
    bool isStream() const { return kind == Kind::Stream; }
    bool isRefused() const { return kind == Kind::Refused; }
};

// The streaming schemes an engine is handed: http, https, mms, mmsh, rtsp,
// rtmp. Disc schemes: audiocd, videocd ("AudioCD://" drive "/" track "/").
// A plain text is a local path and must be absolute; "file://" and
// "file://localhost/" URLs name local paths, percent-encoded or not (the
// encoded reading is taken only when no file has the name as written).
// Control characters are refused everywhere: an engine's command line or
// a log would read them as something else.
Location classifyLocation(const QString &location);

// The scheme of a "scheme://..." text in lower case; empty when it has none
// ("C:/x" and "/x" have none).
QString locationScheme(const QString &text);

// The local file a location names; empty for streams, discs and refused
// locations.
QString localFileOf(const QString &location);

} // namespace orvane::core

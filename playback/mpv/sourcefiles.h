#pragma once

#include "playback/mpv/realplaylist.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace orvane::playback::mpv {

// What the engine checks and reads itself before libmpv sees a source: the
// file's type (a FIFO or a device would block libmpv's open for ever) and
// the playlists it expands.

// The result of looking at a local file without opening it.
struct FileCheck {
    int code = 0; // RealPlayer::ErrorCode; 0 when the file may be opened
    QString text; // why not, for the user
    qint64 size = 0;
};
FileCheck checkRegularFile(const QString &path);

// A ".ram/.rpm/.smil/.smi" file read into entries. Playlists it names are
// read in their place (up to 8 deep); an entry leading back into a file
// being read is dropped with a note, as are unreadable nested playlists.
struct SourceNote {
    int code = 0; // RealPlayer::ErrorCode
    QString text;
};
struct SourceExpansion {
    QList<RealEntry> entries;
    QList<SourceNote> notes; // entries passed over, for the user
    QString error;           // the file itself cannot be used
    int errorCode = 0;       // RealPlayer::ErrorCode of error
};
SourceExpansion expandPlaylistFile(const QString &path);

} // namespace orvane::playback::mpv

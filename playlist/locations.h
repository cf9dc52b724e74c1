#pragma once

#include <QString>
#include <QStringList>

namespace orvane::playlist {

// Kinds of location MediaKindOf tells apart.
enum LocationKind : qint32 {
    kKindFolder = -2,
    kKindDriveRoot = -1,
    kKindUnknown = 0,
    kKindWmp = 1,
    kKindReal = 2,
    kKindAudioCd = 3,
    kKindVideoCd = 4,
};

inline const QString kFileScheme = QStringLiteral("file://");
inline const QString kAudioCdScheme = QStringLiteral("AudioCD://");
inline const QString kVideoCdScheme = QStringLiteral("VideoCD://");

// The text after the last separator ("\" when the text has one, else "/"),
// or all of it.
QString FileNamePart(const QString &path);
// The text up to and including the last separator; empty when there is none.
QString FolderPart(const QString &path);

// The canonical form of one location: quotes and blanks removed, "\" turned
// into "/", resolved against base when one is given (entries of foreign
// playlists: "./" and "../" are taken relative to it, any other relative
// name such as "sub/a.mp3" is put in it), the scheme of a local or disc
// location split off into scheme, then, unless noPrefix, prefix (or that
// scheme) put back in front. Web URLs only get their "\" turned round.
// Mode 0 gives "/" separators; any other mode drops one trailing "/" and
// gives a drive path ("D:/x") its Windows form ("D:\x"), which is how a
// disc's drive ("D:") is read. A relative location that climbs above the
// base's root gives "". Pure text: there are no short names to lengthen on
// Linux.
QString NormaliseLocation(const QString &location, const QString &base, bool noPrefix,
                          const QString &prefix, QString *scheme, int mode);

// Which engine plays a location, by the extension lists (searched anywhere
// in the location, letter case ignored, the first engine's list first), or
// a disc kind, a drive root or a folder. Empty list entries match nothing.
qint32 MediaKindOf(const QString &location, const QString &wmpFileTypes,
                   const QString &realFileTypes);
// The same with the lists in use (modMain; the built-in ones when unset).
qint32 MediaKindOf(const QString &location);

// Whether a location says where it is by itself: a URL or disc location
// ("x://..."), an absolute path ("/x") or a drive path ("D:x"). Enclosing
// quotes and blanks are looked through.
bool IsAbsoluteLocation(const QString &location);

// A relative local path made absolute in folder, the current folder of the
// process that was given it; enclosing quotes and blanks go, "." and ".."
// are resolved. Other locations, and blank ones, come back unchanged.
QString AbsoluteLocation(const QString &location, const QString &folder);

// A location a user typed: "~" alone or "~/..." stands for home (a shell
// would have done it for a command line), then AbsoluteLocation. "~user"
// is left as a name.
QString TypedLocation(const QString &typed, const QString &folder, const QString &home);

// The command line a process hands on: its arguments made absolute in its
// current folder, then joined the way core::rawCommandLine joins them, so
// a running instance with another current folder reads the same files.
QString AbsoluteCommandLine(const QStringList &arguments, const QString &folder);
// This process's own arguments, in its current folder.
QString OwnAbsoluteCommandLine();

} // namespace orvane::playlist

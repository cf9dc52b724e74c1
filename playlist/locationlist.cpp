#include "playlist/locationlist.h"

#include "playlist/locations.h"

#include "core/location.h"
#include "core/textcodec.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>

namespace orvane::playlist {

namespace {

// Playlists larger than this are not read: nobody lists that many files,
// and a huge file with a playlist's name must not exhaust memory.
constexpr qint64 kMaxForeignPlaylistBytes = 64 * 1024 * 1024;

enum class ForeignKind { None, M3u, M3u8, Ram };

ForeignKind foreignKindOf(const QString &path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    const QString extension = dot < 0 ? QString() : path.mid(dot).toLower();
    if (extension == u".m3u")
        return ForeignKind::M3u;
    if (extension == u".m3u8")
        return ForeignKind::M3u8;
    if (extension == u".ram")
        return ForeignKind::Ram;
    return ForeignKind::None;
}

// .m3u8 is UTF-8 by definition; the others are UTF-8 or CP932 by content.
QString decoded(const QByteArray &bytes, ForeignKind kind)
{
    if (kind != ForeignKind::M3u8)
        return core::decodeText(bytes).text;
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

// An M3U names a file either by its path or by a "file://" URL, which
// encodes what a URL may not hold ("My%20Song.mp3"); the path is what the
// playlist means.
QString m3uLocation(const QString &line)
{
    if (!line.startsWith(kFileScheme, Qt::CaseInsensitive))
        return line;
    QString path = line.mid(kFileScheme.size());
    if (path.startsWith(QLatin1String("localhost/"), Qt::CaseInsensitive))
        path.remove(0, 9);
    return kFileScheme + QUrl::fromPercentEncoding(path.toUtf8());
}

LocationEntry entryOf(const QString &location)
{
    return {location, FileNamePart(location)};
}

// The folder that the other elements of a list are relative to, if any:
// the first element when no extension follows the last separator or the
// first "." comes after the first "|", or when its own name has no "."
// (folders such as "/home/me/.local/music" have dots further up).
QString leadingFolder(const QString &text)
{
    const QChar separator = text.contains(u'\\') ? u'\\' : u'/';
    const qsizetype lastSeparator = text.lastIndexOf(separator);
    if (lastSeparator < 0)
        return {};
    QString folder = text.left(text.indexOf(u'|'));
    const qsizetype folderSeparator = folder.lastIndexOf(separator);
    const bool namedLikeFolder =
        folderSeparator >= 0 && !folder.mid(folderSeparator + 1).contains(u'.');
    const bool extensionAtEnd = text.indexOf(u'.', lastSeparator + 1) >= 0;
    if (extensionAtEnd && text.indexOf(u'.') < text.indexOf(u'|') && !namedLikeFolder)
        return {};
    if (!folder.endsWith(separator))
        folder += separator;
    return folder;
}

void addElement(const QString &text, LocationTable &table)
{
    QString scheme;
    const QString plain = NormaliseLocation(text, {}, true, {}, &scheme, 0);
    if (plain.contains(QStringLiteral("://"))) {
        table.append(entryOf(plain));
        return;
    }
    if (ReadForeignPlaylist(plain, table) >= 0)
        return;
    table.append(entryOf(NormaliseLocation(text, {}, false, {}, &scheme, 0)));
}

} // namespace

LocationTable ParseLocationList(const QString &text)
{
    LocationTable table;
    QString folder;
    QStringList elements = text.split(u'|');
    // A folder is only the folder of the rest when some of the rest is
    // relative to it; "/music/albums|/other/a.mp3" is two locations.
    if (elements.size() > 1 &&
        !std::all_of(elements.begin() + 1, elements.end(), IsAbsoluteLocation)) {
        folder = leadingFolder(text);
        if (!folder.isEmpty())
            elements.removeFirst();
    }
    for (const QString &element : std::as_const(elements)) {
        if (element.trimmed().isEmpty())
            continue;
        addElement(IsAbsoluteLocation(element) ? element : folder + element, table);
    }
    return table;
}

QString TypedLocationList(const QString &text, const QString &folder, const QString &home)
{
    QStringList elements = text.split(u'|');
    elements.first() = TypedLocation(elements.first(), folder, home);
    if (elements.size() > 1 && leadingFolder(elements.join(u'|')).isEmpty()) {
        for (qsizetype i = 1; i < elements.size(); ++i)
            elements[i] = TypedLocation(elements[i], folder, home);
    }
    return elements.join(u'|');
}

qint32 ReadForeignPlaylist(const QString &path, LocationTable &table)
{
    // A device's or the kernel's file named like a playlist is not read.
    if (foreignKindOf(path) == ForeignKind::None || !core::classifyLocation(path).isLocalFile())
        return -1;
    // Regular files only: opening a FIFO with a playlist's name would block.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly) ||
        file.size() > kMaxForeignPlaylistBytes)
        return -1;
    const QByteArray bytes = file.readAll();
    if (foreignKindOf(path) == ForeignKind::Ram && bytes.left(4).toLower() == ".rmf")
        return -1;
    const LocationTable entries = ForeignPlaylistEntries(bytes, path);
    table.append(entries);
    return qint32(entries.size());
}

LocationTable ForeignPlaylistEntries(const QByteArray &bytes, const QString &playlistPath)
{
    const ForeignKind kind = foreignKindOf(playlistPath);
    const QString text = decoded(bytes, kind);
    const QString base = FolderPart(playlistPath);
    const bool hashComments = kind == ForeignKind::M3u || kind == ForeignKind::M3u8;
    LocationTable entries;
    for (QStringView line : QStringView(text).tokenize(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QStringView blankless = line.trimmed();
        if (blankless.isEmpty() || (hashComments && blankless.startsWith(u'#')))
            continue;
        // Tabs of an indented line are no part of the name either.
        const QString written = hashComments ? m3uLocation(blankless.toString()) : line.toString();
        QString scheme;
        entries.append(entryOf(NormaliseLocation(written, base, false, {}, &scheme, 0)));
    }
    return entries;
}

} // namespace orvane::playlist

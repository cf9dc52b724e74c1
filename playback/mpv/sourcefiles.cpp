#include "playback/mpv/sourcefiles.h"

#include "core/location.h"
#include "playback/engine/realplayer.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <cerrno>
#include <sys/stat.h>

namespace orvane::playback::mpv {

namespace {

constexpr int kMaxNesting = 8;

class Expander
{
public:
    SourceExpansion result;

    void read(const QString &path, int depth)
    {
        const FileCheck check = checkRegularFile(path);
        if (check.code != RealPlayer::NoError)
            return fail(depth, check.code, check.text);
        if (check.size > kMaxPlaylistBytes)
            return fail(depth, RealPlayer::BadPlaylist,
                        QStringLiteral("The playlist is larger than 1 MiB: %1").arg(path));
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return fail(depth, RealPlayer::UnreadableFile,
                        QStringLiteral("The playlist cannot be read: %1").arg(path));
        const QByteArray bytes = file.read(kMaxPlaylistBytes + 1);
        const QString folder = QFileInfo(path).absolutePath();
        const RealPlaylist list =
            isSmilName(path) ? readSmil(bytes, folder) : readRam(bytes, folder);
        if (list.kind == RealPlaylist::Media) {
            result.entries.append(RealEntry{QStringLiteral("file://") + path, {}, {}, {}, {}});
            return;
        }
        if (list.kind == RealPlaylist::Invalid)
            return fail(depth, RealPlayer::BadPlaylist,
                        list.error + QStringLiteral(" (%1)").arg(path));
        const QString canonical = QFileInfo(path).canonicalFilePath();
        m_reading.insert(canonical);
        for (const RealEntry &entry : list.entries)
            add(entry, depth);
        m_reading.remove(canonical);
    }

private:
    void add(const RealEntry &entry, int depth)
    {
        if (result.entries.size() >= kMaxPlaylistEntries)
            return;
        const QString local = core::localFileOf(entry.location);
        if (local.isEmpty() || !isRealPlaylistName(local)) {
            result.entries.append(entry);
            return;
        }
        if (m_reading.contains(QFileInfo(local).canonicalFilePath()))
            result.notes << SourceNote{
                RealPlayer::SelfReference,
                QStringLiteral("The playlist refers to itself: %1").arg(entry.location)};
        else if (depth + 1 >= kMaxNesting)
            result.notes << SourceNote{
                RealPlayer::BadPlaylist,
                QStringLiteral("Playlists nested too deeply: %1").arg(entry.location)};
        else
            read(local, depth + 1);
    }

    // The file asked for fails as a whole; a nested one only loses its entries.
    void fail(int depth, int code, const QString &why)
    {
        if (depth > 0) {
            result.notes << SourceNote{code, why};
            return;
        }
        result.error = why;
        result.errorCode = code;
    }

    QSet<QString> m_reading;
};

} // namespace

FileCheck checkRegularFile(const QString &path)
{
    FileCheck check;
    struct stat info {
    };
    // stat, not open: opening a FIFO blocks until a writer comes.
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) {
        const bool missing = errno == ENOENT || errno == ENOTDIR;
        check.code = missing ? RealPlayer::NotFound : RealPlayer::UnreadableFile;
        check.text = missing ? QStringLiteral("The file does not exist: %1").arg(path)
                             : QStringLiteral("The file cannot be read: %1").arg(path);
    } else if (!S_ISREG(info.st_mode)) {
        check.code = RealPlayer::NotARegularFile;
        check.text = QStringLiteral("Not a regular file: %1").arg(path);
    } else if (info.st_size == 0) {
        check.code = RealPlayer::EmptyFile;
        check.text = QStringLiteral("The file is empty: %1").arg(path);
    } else {
        check.size = info.st_size;
    }
    return check;
}

SourceExpansion expandPlaylistFile(const QString &path)
{
    Expander expander;
    expander.read(path, 0);
    if (!expander.result.error.isEmpty())
        expander.result.entries.clear();
    return expander.result;
}

} // namespace orvane::playback::mpv

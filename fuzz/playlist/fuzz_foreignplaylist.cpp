// Foreign playlists (.m3u, .m3u8, .ram) of any content, read from memory
// and from a file: never a crash, and the count matches the entries.
#include "core/location.h"
#include "playlist/locationlist.h"

#include <QFile>

#include <cstdint>
#include <cstdlib>
#include <unistd.h>

using namespace orvane::playlist;

namespace {

const QString &tempFolder()
{
    static const QString folder = [] {
        QByteArray pattern = "/tmp/orvane-fuzz-foreign-XXXXXX";
        return QString::fromLocal8Bit(::mkdtemp(pattern.data()));
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    static const char *const names[] = {"list.m3u", "list.m3u8", "list.ram", "LIST.RAM"};
    const QString name = QString::fromLatin1(names[data[0] & 3]);
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    for (const LocationEntry &entry :
         ForeignPlaylistEntries(bytes, QStringLiteral("/lists/") + name)) {
        if (entry.location.isEmpty())
            std::abort();
        // Every entry meets the gate adding puts it through.
        (void)orvane::core::classifyLocation(entry.location);
    }
    if (data[0] & 4) {
        const QString path = tempFolder() + u'/' + name;
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
            file.write(bytes) == bytes.size()) {
            file.close();
            LocationTable table;
            const qint32 count = ReadForeignPlaylist(path, table);
            if (count != (count < 0 ? -1 : qint32(table.size())))
                std::abort();
        }
    }
    return 0;
}

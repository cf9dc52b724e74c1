// ASX playlists come from anywhere: the reader must end, bounded, on any bytes.
#include "playback/gst/asxreader.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace orvane::playback::gst;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    // Both ways the engine may have read the file's bytes.
    for (const QString &text : {QString::fromUtf8(bytes), QString::fromLatin1(bytes)}) {
        const AsxResult result = parseAsx(text);
        if (result.ok == result.playlist.entries.isEmpty())
            std::abort(); // success means entries, failure means none
        if (result.playlist.entries.size() > kMaxAsxEntries)
            std::abort();
        for (const AsxEntry &entry : result.playlist.entries) {
            if (entry.refs.isEmpty() || entry.refs.size() > kMaxAsxRefs ||
                entry.title.size() > kMaxAsxText)
                std::abort();
            for (const QString &ref : entry.refs)
                (void)isAsxLocation(resolveAsxRef(QStringLiteral("/media/lists"), ref));
        }
    }
    return 0;
}

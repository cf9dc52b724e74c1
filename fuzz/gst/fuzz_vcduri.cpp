// Video CD URIs reach the source element from playlists and the command
// line: the parser must refuse or give a path and track that make the same
// URI again.
#include "playback/gst/videocduri.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace orvane::playback::gst;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString uri = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto parsed = parseVideoCdUri(uri);
    if (!parsed)
        return 0;
    const auto &[path, track] = *parsed;
    if (track < 1 || track > 99 || !path.startsWith(QLatin1Char('/')) || path.size() < 2 ||
        path.contains(QChar(0)))
        std::abort();
    const QString again = videoCdUri(path, track);
    if (again.isEmpty() || parseVideoCdUri(again) != parsed)
        std::abort();
    return 0;
}

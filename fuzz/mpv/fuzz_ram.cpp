// ".ram/.rpm" files come from anywhere: any bytes must give entries or a
// clear refusal, within the limits, never a crash.
#include "core/location.h"
#include "playback/mpv/realplaylist.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace orvane::playback::mpv;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const RealPlaylist list = readRam(bytes, QStringLiteral("/fuzz/base"));
    if (list.entries.size() > kMaxPlaylistEntries)
        std::abort();
    if (list.kind == RealPlaylist::Invalid && (list.error.isEmpty() || !list.entries.isEmpty()))
        std::abort();
    for (const RealEntry &entry : list.entries) {
        // Every entry is a location the engine can classify.
        if (entry.location.isEmpty())
            std::abort();
        (void)orvane::core::localFileOf(entry.location);
        (void)isRealPlaylistName(entry.location);
    }
    return 0;
}

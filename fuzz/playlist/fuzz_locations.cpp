// Location texts as they come from command lines, drops and playlists:
// normalising, classifying and splitting never crash, and every table entry
// is named after its location.
#include "core/location.h"
#include "playlist/locationlist.h"
#include "playlist/locations.h"

#include <cstdint>
#include <cstdlib>

using namespace orvane::playlist;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const uint8_t flags = data[0];
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const qsizetype split = text.indexOf(u'\x01');
    const QString location = split < 0 ? text : text.left(split);
    const QString base = split < 0 ? QString() : text.mid(split + 1);

    QString scheme;
    const QString normalised = NormaliseLocation(
        location, base, flags & 1, (flags & 2) ? QStringLiteral("VideoCD://") : QString(), &scheme,
        (flags >> 2) & 3);
    MediaKindOf(normalised);
    MediaKindOf(location, QStringLiteral(".mp3;;.rmi"), QStringLiteral(".rm;"));
    // A web or disc location never turns into a local file.
    if (location.startsWith(QLatin1String("http://")) &&
        !orvane::core::localFileOf(location).isEmpty())
        std::abort();
    orvane::core::localFileOf(normalised);
    if (!FolderPart(location).isEmpty() &&
        FolderPart(location) + FileNamePart(location) != location)
        std::abort();
    // Made absolute once, a location stays put: the receiving instance may
    // resolve what the sending one already resolved.
    const QString folder = base.startsWith(u'/') ? base : QStringLiteral("/work/dir");
    const QString absolute = AbsoluteLocation(location, folder);
    if (absolute != location && !IsAbsoluteLocation(absolute))
        std::abort();
    if (AbsoluteLocation(absolute, QStringLiteral("/elsewhere")) != absolute)
        std::abort();
    TypedLocation(location, folder, QStringLiteral("/home/u"));
    TypedLocationList(text, folder, QStringLiteral("/home/u"));
    AbsoluteCommandLine(text.split(u'\x02'), folder);
    for (const LocationEntry &entry : ParseLocationList(text)) {
        if (entry.displayName != FileNamePart(entry.location))
            std::abort();
    }
    return 0;
}

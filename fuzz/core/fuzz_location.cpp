// Any text may arrive as a location: the gate never crashes, and what it
// lets through keeps the promises the engines rely on.
#include "core/location.h"

#include <cstdint>
#include <cstdlib>

using orvane::core::Location;

namespace {

bool underSystemTree(const QString &path)
{
    for (const char *tree : {"/dev", "/proc", "/sys"}) {
        const QLatin1StringView root(tree);
        if (path == root || path.startsWith(root + u'/'))
            return true;
    }
    return false;
}

bool hasControlCharacter(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const Location where = orvane::core::classifyLocation(text);
    if (where.isRefused() != where.target.isEmpty() || where.isRefused() == where.reason.isEmpty())
        std::abort();
    if (hasControlCharacter(where.target))
        std::abort();
    switch (where.kind) {
    case Location::Kind::LocalFile:
        if (!where.target.startsWith(u'/') || underSystemTree(where.target) ||
            where.target.startsWith(QLatin1StringView("//")))
            std::abort();
        break;
    case Location::Kind::Stream:
        if (orvane::core::locationScheme(where.target) != where.scheme ||
            !where.target.startsWith(where.scheme + QLatin1StringView("://")))
            std::abort();
        break;
    case Location::Kind::Disc:
        if (where.scheme != u"audiocd" && where.scheme != u"videocd")
            std::abort();
        break;
    case Location::Kind::Refused:
        break;
    }
    // Classifying what came through gives the same answer (a "%" left
    // after decoding would be read as an escape again).
    if (where.isLocalFile() && !where.target.contains(u'%') &&
        orvane::core::localFileOf(where.target) != where.target)
        std::abort();
    if (where.isStream() && orvane::core::classifyLocation(where.target).target != where.target)
        std::abort();
    return 0;
}

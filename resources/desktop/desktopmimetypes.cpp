// Prints the MimeType= value of the desktop entry: every type the system's
// MIME database gives the extensions Orvane plays, so "Open With" offers it
// for exactly what its engines take, plus its own playlist type.
#include "core/filetypes.h"

#include <QCoreApplication>
#include <QMimeDatabase>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <cstdio>

namespace {

// Types too wide to claim: a player offered for every text file or every
// unknown file is a nuisance in the file manager.
bool tooWide(const QString &type)
{
    return type == u"application/octet-stream" || type.startsWith(u"text/") ||
           type == u"application/xml" || type == u"application/x-zerosize";
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    using namespace orvane::core;
    // The playlists read in place besides the engines' own lists.
    const QString all = kBuiltinWmpFileTypes + u';' + kBuiltinRealFileTypes + u";.m3u;.m3u8";
    const QMimeDatabase db;
    QSet<QString> types{QStringLiteral("application/x-orvane-playlist")};
    for (const QString &entry : all.split(u';', Qt::SkipEmptyParts)) {
        for (const QMimeType &type : db.mimeTypesForFileName(QStringLiteral("x") + entry)) {
            if (!tooWide(type.name()))
                types.insert(type.name());
        }
    }
    QStringList sorted(types.begin(), types.end());
    std::sort(sorted.begin(), sorted.end());
    std::fputs(qPrintable(sorted.join(u';') + u';'), stdout);
    return 0;
}

#include "ui/main/mprisvalues.h"

#include "playlist/locations.h"

#include <QMimeDatabase>
#include <QRegularExpression>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace orvane::ui {

std::optional<bool> repeatAllFromLoopStatus(const QString &status)
{
    if (status == u"None")
        return false;
    if (status == u"Playlist")
        return true;
    return std::nullopt;
}

QString loopStatusOf(bool repeatAll)
{
    return repeatAll ? QStringLiteral("Playlist") : QStringLiteral("None");
}

std::optional<int> sliderValueOfVolume(double volume)
{
    if (std::isnan(volume))
        return std::nullopt;
    // Louder than full is not there to give: the mixer's top is the limit.
    return int(std::lround(std::clamp(volume, 0.0, 1.0) * 1000.0));
}

QString encodedUrl(const QString &location)
{
    if (location.startsWith(playlist::kFileScheme, Qt::CaseInsensitive))
        return QString::fromLatin1(
            QUrl::fromLocalFile(location.mid(playlist::kFileScheme.size())).toEncoded());
    if (location.startsWith(u'/'))
        return QString::fromLatin1(QUrl::fromLocalFile(location).toEncoded());
    const QUrl url(location, QUrl::TolerantMode);
    const QString scheme = url.scheme().toLower();
    if (url.isValid() && (scheme == u"http" || scheme == u"https" || scheme == u"rtsp" ||
                          scheme == u"mms" || scheme == u"ftp"))
        return QString::fromLatin1(url.toEncoded());
    return location;
}

QStringList mimeTypesOfFileTypes(const QString &fileTypes)
{
    static const QRegularExpression plainExtension(
        QStringLiteral(R"(^\.[^\s\x00-\x1f*?\[\]/\\]+$)"));
    const QMimeDatabase database;
    QStringList types;
    for (const QString &entry : fileTypes.split(u';', Qt::SkipEmptyParts)) {
        const QString extension = entry.trimmed();
        // The extension lists live in setting.ini where anyone may edit
        // them; Qt's glob matching crashes on control characters.
        if (!plainExtension.match(extension).hasMatch())
            continue;
        const QList<QMimeType> found =
            database.mimeTypesForFileName(QStringLiteral("x") + extension);
        for (const QMimeType &type : found) {
            if (!types.contains(type.name()))
                types.append(type.name());
        }
    }
    return types;
}

} // namespace orvane::ui

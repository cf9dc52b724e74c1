#include "core/location.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

#include <algorithm>
#include <iterator>

namespace orvane::core {

namespace {

const QLatin1StringView kStreamSchemes[] = {
    QLatin1StringView("http"), QLatin1StringView("https"), QLatin1StringView("mms"),
    QLatin1StringView("mmsh"), QLatin1StringView("rtsp"),  QLatin1StringView("rtmp"),
};
const QLatin1StringView kDiscSchemes[] = {QLatin1StringView("audiocd"),
                                          QLatin1StringView("videocd")};
// Reading below them reaches devices and the kernel's state, not media.
const QLatin1StringView kSystemTrees[] = {QLatin1StringView("/dev"), QLatin1StringView("/proc"),
                                          QLatin1StringView("/sys")};

Location refused(const QString &scheme, const QString &reason)
{
    return {Location::Kind::Refused, scheme, {}, reason, false};
}

bool hasControlCharacter(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(),
                       [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

bool underSystemTree(const QString &cleanPath)
{
    return std::any_of(std::begin(kSystemTrees), std::end(kSystemTrees), [&](auto tree) {
        return cleanPath == tree ||
               (cleanPath.startsWith(tree) && cleanPath.at(tree.size()) == u'/');
    });
}

// "/a/../b" as the kernel reads it when nothing on the way is a link, and
// with one leading "/" (the kernel reads "//dev" as "/dev").
QString cleaned(const QString &path)
{
    QString clean = QDir::cleanPath(path);
    while (clean.startsWith(QLatin1StringView("//")))
        clean.remove(0, 1);
    return clean;
}

// Programs that write URLs encode names ("My%20Song.mp3"); our own
// locations keep them as they are, and a name may really hold a "%". A
// "%" that starts no escape ("100% loud.mp3") says the name is not encoded.
QString decodedPath(const QString &path)
{
    static const QRegularExpression notAnEscape(QStringLiteral("%(?![0-9A-Fa-f]{2})"));
    if (!path.contains(u'%') || path.contains(notAnEscape) || QFileInfo::exists(path))
        return path;
    return QUrl::fromPercentEncoding(path.toUtf8());
}

Location localFile(const QString &path)
{
    const QString decoded = decodedPath(path);
    if (!path.startsWith(u'/') || !decoded.startsWith(u'/')) {
        Location relative =
            refused(QStringLiteral("file"), QStringLiteral("not an absolute local path"));
        relative.relativePath = true;
        return relative;
    }
    if (hasControlCharacter(decoded))
        return refused(QStringLiteral("file"), QStringLiteral("control characters in the path"));
    const QString clean = cleaned(decoded);
    // The form as written is checked too: the encoded reading is chosen by
    // what exists, and neither reading may reach a device.
    if (underSystemTree(clean) || underSystemTree(cleaned(path)))
        return refused(QStringLiteral("file"),
                       QStringLiteral("a device or system file, not media"));
    return {Location::Kind::LocalFile, QStringLiteral("file"), clean, {}, false};
}

Location fileUrl(const QString &location)
{
    QString rest = location.mid(7); // after "file://"
    if (rest.startsWith(QLatin1StringView("localhost/"), Qt::CaseInsensitive))
        rest.remove(0, 9);
    return localFile(rest);
}

Location disc(const QString &scheme, const QString &location)
{
    // A drive letter, then the track: "D:", "D:/", "D:/3/".
    static const QRegularExpression form(QStringLiteral(R"(^[A-Za-z]:(/([0-9]{1,3}/?)?)?$)"));
    const QString rest = location.mid(scheme.size() + 3).replace(u'\\', u'/');
    if (!form.match(rest).hasMatch())
        return refused(scheme, QStringLiteral("not a drive and track of a disc"));
    return {Location::Kind::Disc, scheme, location, {}, false};
}

} // namespace

QString locationScheme(const QString &text)
{
    static const QRegularExpression scheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*)://"));
    const QRegularExpressionMatch match = scheme.match(text);
    return match.hasMatch() ? match.captured(1).toLower() : QString();
}

Location classifyLocation(const QString &location)
{
    if (location.isEmpty())
        return refused({}, QStringLiteral("an empty location"));
    const QString scheme = locationScheme(location);
    if (scheme.isEmpty())
        return localFile(location);
    if (hasControlCharacter(location))
        return refused(scheme, QStringLiteral("control characters in the location"));
    if (scheme == u"file")
        return fileUrl(location);
    if (std::find(std::begin(kDiscSchemes), std::end(kDiscSchemes), scheme) !=
        std::end(kDiscSchemes))
        return disc(scheme, location);
    if (std::find(std::begin(kStreamSchemes), std::end(kStreamSchemes), scheme) ==
        std::end(kStreamSchemes))
        return refused(scheme,
                       QStringLiteral("the scheme \"%1\" is not one a player opens").arg(scheme));
    const QString rest = location.mid(scheme.size() + 3);
    if (rest.isEmpty() || rest.startsWith(u'/'))
        return refused(scheme, QStringLiteral("no host in the URL"));
    return {Location::Kind::Stream, scheme, scheme + QStringLiteral("://") + rest, {}, false};
}

QString localFileOf(const QString &location)
{
    const Location classified = classifyLocation(location);
    return classified.isLocalFile() ? classified.target : QString();
}

} // namespace orvane::core

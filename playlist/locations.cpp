#include "playlist/locations.h"

#include "core/commandline.h"
#include "core/filetypes.h"
#include "core/modmain.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace orvane::playlist {

namespace {

const QString kSchemeMark = QStringLiteral("://");

QChar separatorOf(const QString &path)
{
    return path.contains(u'\\') ? u'\\' : u'/';
}

QString trimBlanks(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    return text.mid(first, last - first);
}

QString unquoted(const QString &location)
{
    QString text = trimBlanks(QString(location).replace(u'\\', u'/'));
    while (text.size() >= 2 && text.startsWith(u'"') && text.endsWith(u'"'))
        text = trimBlanks(text.mid(1, text.size() - 2));
    return text;
}

QString climbed(const QString &location, QString base)
{
    QString folder = FolderPart(location);
    const QString name = FileNamePart(location);
    while (folder.startsWith(QStringLiteral("../"))) {
        if (base.size() < 2)
            return {};
        folder.remove(0, 3);
        base = FolderPart(base.chopped(1));
    }
    return base + folder + name;
}

QString resolved(const QString &location, const QString &baseText)
{
    QString base = QString(baseText).replace(u'\\', u'/');
    if (!base.endsWith(u'/'))
        base = FolderPart(base);
    if (FolderPart(location).isEmpty())
        return base + location;
    if (location.startsWith(QStringLiteral("./")))
        return base + location.mid(2);
    if (location.startsWith(QStringLiteral("../")))
        return climbed(location, base);
    return location;
}

// The local or disc scheme a location starts with; empty for other URLs.
QString localScheme(const QString &text)
{
    if (!text.contains(kSchemeMark))
        return kFileScheme;
    for (const QString *known : {&kFileScheme, &kAudioCdScheme, &kVideoCdScheme}) {
        if (text.startsWith(*known, Qt::CaseInsensitive))
            return *known;
    }
    return {};
}

bool hasDrive(const QString &text)
{
    return text.size() >= 2 && text[1] == u':' && text[0].isLetter() && text[0].unicode() < 128;
}

bool listMatches(const QString &location, const QString &fileTypes)
{
    for (const QStringView entry : QStringView(fileTypes).tokenize(u';')) {
        if (!entry.isEmpty() && location.contains(entry, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

} // namespace

QString FileNamePart(const QString &path)
{
    const qsizetype at = path.lastIndexOf(separatorOf(path));
    return at < 0 ? path : path.mid(at + 1);
}

QString FolderPart(const QString &path)
{
    const qsizetype at = path.lastIndexOf(separatorOf(path));
    return at < 0 ? QString() : path.left(at + 1);
}

QString LocalPathOf(const QString &location)
{
    if (location.startsWith(kFileScheme, Qt::CaseInsensitive)) {
        QString rest = location.mid(kFileScheme.size());
        if (rest.startsWith(QLatin1String("localhost/"), Qt::CaseInsensitive))
            rest = rest.mid(9);
        // Our own locations keep the path as it is; URLs written by other
        // programs (in .asx files) may encode it. A "%" that starts no
        // escape ("100% loud.mp3") says the path is not encoded.
        static const QRegularExpression notAnEscape(QStringLiteral("%(?![0-9A-Fa-f]{2})"));
        if (rest.contains(u'%') && !rest.contains(notAnEscape) && !QFileInfo::exists(rest))
            rest = QUrl::fromPercentEncoding(rest.toUtf8());
        return rest;
    }
    if (location.indexOf(QLatin1String("://")) > 1)
        return {};
    return location;
}

QString NormaliseLocation(const QString &location, const QString &base, bool noPrefix,
                          const QString &prefix, QString *scheme, int mode)
{
    QString text = unquoted(location);
    if (!base.isEmpty())
        text = resolved(text, base);
    const QString found = localScheme(text);
    if (!found.isEmpty() && text.contains(kSchemeMark))
        text.remove(0, found.size());
    if (scheme)
        *scheme = found;
    if (mode != 0) {
        if (text.endsWith(u'/'))
            text.chop(1);
        if (hasDrive(text))
            text.replace(u'/', u'\\');
    }
    if (!noPrefix && !text.contains(kSchemeMark))
        text.prepend(prefix.isEmpty() ? found : prefix);
    return text;
}

qint32 MediaKindOf(const QString &location, const QString &wmpFileTypes,
                   const QString &realFileTypes)
{
    if (location.startsWith(kAudioCdScheme, Qt::CaseInsensitive))
        return kKindAudioCd;
    if (location.startsWith(kVideoCdScheme, Qt::CaseInsensitive))
        return kKindVideoCd;
    const QString slashed = QString(location).replace(u'\\', u'/');
    if (slashed.endsWith(QStringLiteral(":/")))
        return kKindDriveRoot;
    if (slashed.endsWith(u'/'))
        return kKindFolder;
    if (listMatches(location, wmpFileTypes))
        return kKindWmp;
    if (listMatches(location, realFileTypes))
        return kKindReal;
    return kKindUnknown;
}

bool IsAbsoluteLocation(const QString &location)
{
    static const QRegularExpression absolute(
        QStringLiteral(R"(^(/|[A-Za-z]:|[A-Za-z][A-Za-z0-9+.\-]*://))"));
    QString probe = location.trimmed().replace(u'\\', u'/');
    while (probe.startsWith(u'"'))
        probe.remove(0, 1);
    return absolute.match(probe).hasMatch();
}

QString AbsoluteLocation(const QString &location, const QString &folder)
{
    const QString plain = unquoted(location);
    if (plain.isEmpty() || IsAbsoluteLocation(plain))
        return location;
    return QDir::cleanPath(folder + u'/' + plain);
}

QString TypedLocation(const QString &typed, const QString &folder, const QString &home)
{
    const QString plain = unquoted(typed);
    if (!home.isEmpty() && (plain == u"~" || plain.startsWith(QStringLiteral("~/"))))
        return QDir::cleanPath(home + plain.mid(1));
    return AbsoluteLocation(typed, folder);
}

QString AbsoluteCommandLine(const QStringList &arguments, const QString &folder)
{
    QStringList absolute;
    absolute.reserve(arguments.size());
    for (const QString &argument : arguments)
        absolute.append(AbsoluteLocation(argument, folder));
    return core::rawCommandLine(absolute);
}

QString OwnAbsoluteCommandLine()
{
    return AbsoluteCommandLine(QCoreApplication::arguments().mid(1), QDir::currentPath());
}

qint32 MediaKindOf(const QString &location)
{
    using namespace core::modMain;
    return MediaKindOf(location, WmpFileTypes.isEmpty() ? core::kBuiltinWmpFileTypes : WmpFileTypes,
                       RealFileTypes.isEmpty() ? core::kBuiltinRealFileTypes : RealFileTypes);
}

} // namespace orvane::playlist

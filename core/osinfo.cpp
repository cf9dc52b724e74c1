#include "core/osinfo.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <sys/utsname.h>

namespace orvane::core {

namespace {

// An os-release file is a few hundred bytes; anything far longer is not one.
constexpr qint64 kMaxOsReleaseSize = 64 * 1024;

QString windowsName(const WindowsVersion &v)
{
    switch (v.platform) {
    case 0:
        return QStringLiteral("Windows 3.1");
    case 1:
        if (v.major != 4)
            return OSInfo::unknownOSName();
        if (v.minor < 10)
            return QStringLiteral("Windows 95");
        return v.minor < 90 ? QStringLiteral("Windows 98") : QStringLiteral("Windows Me");
    case 2:
        if (v.major == 4)
            return QStringLiteral("Windows NT4");
        if (v.major == 5 && v.minor == 0)
            return QStringLiteral("Windows 2000");
        if (v.major == 5 && v.minor == 1)
            return QStringLiteral("Windows XP");
        return OSInfo::unknownOSName();
    default:
        return OSInfo::unknownOSName();
    }
}

QString windowsEdition(const WindowsVersion &v)
{
    if (v.platform != 2 || v.major != 5)
        return {};
    static const char *const k2000[] = {"Professional", "Domain Controller", "Server"};
    static const char *const kXp[] = {"Home Edition", "Professional", "Developer"};
    if (v.productType < 1 || v.productType > 3 || v.minor > 1)
        return {};
    const char *const *names = v.minor == 0 ? k2000 : kXp;
    return QString::fromLatin1(names[v.productType - 1]);
}

bool isKey(const QString &key)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return pattern.match(key).hasMatch();
}

// The value after "KEY=", read the way a shell reads one word; false when a
// quote is left open or something follows the closing quote.
bool unquote(QStringView raw, QString &value)
{
    value.clear();
    QChar quote;
    qsizetype i = 0;
    for (; i < raw.size(); ++i) {
        const QChar c = raw.at(i);
        if (quote.isNull() && (c == u'"' || c == u'\'')) {
            quote = c;
        } else if (!quote.isNull() && c == quote) {
            quote = QChar();
        } else if (c == u'\\' && quote != u'\'' && i + 1 < raw.size()) {
            const QChar next = raw.at(i + 1);
            // Inside double quotes only these characters are escaped.
            if (quote.isNull() || QStringView(u"\"\\$`").contains(next))
                ++i;
            value += raw.at(i);
        } else if (quote.isNull() && c.isSpace()) {
            break;
        } else {
            value += c;
        }
    }
    if (!quote.isNull())
        return false;
    // Only a comment may follow the value.
    const QStringView rest = raw.mid(i).trimmed();
    return rest.isEmpty() || rest.startsWith(u'#');
}

QString withoutControlCharacters(const QString &text)
{
    QString clean;
    clean.reserve(text.size());
    for (const QChar c : text) {
        if (c.category() != QChar::Other_Control && c.category() != QChar::Other_Format &&
            c != QChar::LineSeparator && c != QChar::ParagraphSeparator)
            clean += c;
    }
    return clean;
}

} // namespace

OSInfo windowsOSInfo(const WindowsVersion &version)
{
    OSInfo info;
    info.PlatformText = QString::number(version.platform);
    info.MajorVersion = qint16(version.major);
    info.MinorVersion = qint16(version.minor);
    info.BuildNumber = qint32(version.build & 0xFFFF);
    info.OSName = windowsName(version);
    info.Edition = windowsEdition(version);
    return info;
}

QHash<QString, QString> parseOsRelease(const QByteArray &text)
{
    QHash<QString, QString> values;
    const QString decoded = QString::fromUtf8(text);
    const QStringList lines = decoded.split(u'\n');
    for (const QString &line : lines) {
        const QStringView trimmed = QStringView(line).trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        const qsizetype equals = trimmed.indexOf(u'=');
        if (equals <= 0)
            continue;
        const QString key = trimmed.left(equals).toString();
        QString value;
        if (!isKey(key) || !unquote(trimmed.mid(equals + 1), value))
            continue;
        values.insert(key, withoutControlCharacters(value).trimmed());
    }
    return values;
}

void parseKernelRelease(const QString &release, qint16 &major, qint16 &minor, qint32 &build)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{1,5})(?:\\.(\\d{1,5}))?(?:\\.(\\d{1,9}))?"));
    const QRegularExpressionMatch match = pattern.match(release);
    major = qint16(match.captured(1).toInt() & 0x7FFF);
    minor = qint16(match.captured(2).toInt() & 0x7FFF);
    build = qint32(match.captured(3).toInt() & 0xFFFF);
}

OSInfo osInfoFrom(const QStringList &osReleaseFiles, const QString &kernelRelease)
{
    OSInfo info;
    parseKernelRelease(kernelRelease, info.MajorVersion, info.MinorVersion, info.BuildNumber);
    for (const QString &path : osReleaseFiles) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QHash<QString, QString> values = parseOsRelease(file.read(kMaxOsReleaseSize));
        // A file without NAME still names a Linux system.
        info.OSName = values.value(QStringLiteral("NAME"));
        if (info.OSName.isEmpty())
            info.OSName = QStringLiteral("Linux");
        info.Edition = values.value(QStringLiteral("VERSION"));
        break;
    }
    return info;
}

OSInfo GetOSInfo()
{
    utsname names{};
    const QString release =
        ::uname(&names) == 0 ? QString::fromLocal8Bit(names.release) : QString();
    return osInfoFrom({QStringLiteral("/etc/os-release"), QStringLiteral("/usr/lib/os-release")},
                      release);
}

} // namespace orvane::core

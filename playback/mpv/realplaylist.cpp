#include "playback/mpv/realplaylist.h"

#include "core/location.h"
#include "core/textcodec.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <QXmlStreamReader>

namespace orvane::playback::mpv {

namespace {

bool hasScheme(const QString &location)
{
    return !core::locationScheme(location).isEmpty();
}

// A local entry as a "file://" location, relative paths taken in
// baseFolder; other URLs as written (whether an engine opens them is
// decided when it is asked to).
QString resolveLocation(const QString &written, const QString &baseFolder)
{
    const QString scheme = core::locationScheme(written);
    if (!scheme.isEmpty() && scheme != u"file")
        return written;
    QString path = scheme.isEmpty() ? written : written.mid(7);
    if (path.isEmpty() || (QDir::isRelativePath(path) && baseFolder.isEmpty()))
        return {};
    if (QDir::isRelativePath(path))
        path = baseFolder + QLatin1Char('/') + path;
    return QStringLiteral("file://") + QDir::cleanPath(path);
}

QString unquote(QString value)
{
    value = value.trimmed();
    if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
        value = value.mid(1, value.size() - 2);
    return value;
}

// Splits "clip.rm?title=A&author=B" into the location and the texts, but
// only when the query names one of the texts: a server's own query stays.
RealEntry ramEntry(const QString &line, const QString &baseFolder)
{
    RealEntry entry;
    QString location = line;
    const qsizetype q = line.indexOf(QLatin1Char('?'));
    if (q >= 0) {
        RealEntry texts;
        bool any = false;
        const QStringList pairs = line.mid(q + 1).split(QLatin1Char('&'));
        for (const QString &pair : pairs) {
            const qsizetype eq = pair.indexOf(QLatin1Char('='));
            if (eq <= 0)
                continue;
            const QString key = pair.left(eq).trimmed().toLower();
            const QString value = unquote(QUrl::fromPercentEncoding(pair.mid(eq + 1).toUtf8()));
            QString *field = key == QLatin1String("title")       ? &texts.title
                             : key == QLatin1String("author")    ? &texts.author
                             : key == QLatin1String("copyright") ? &texts.copyright
                             : key == QLatin1String("abstract")  ? &texts.abstract
                                                                 : nullptr;
            if (field) {
                *field = value;
                any = true;
            }
        }
        if (any) {
            entry = texts;
            location = line.left(q);
        }
    }
    entry.location = resolveLocation(location.trimmed(), baseFolder);
    return entry;
}

} // namespace

bool isRealPlaylistName(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("ram") || suffix == QLatin1String("rpm") || isSmilName(path);
}

bool isSmilName(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("smil") || suffix == QLatin1String("smi");
}

RealPlaylist readRam(const QByteArray &bytes, const QString &baseFolder)
{
    RealPlaylist result;
    if (bytes.startsWith(".RMF")) {
        result.kind = RealPlaylist::Media;
        return result;
    }
    if (bytes.size() > kMaxPlaylistBytes) {
        result.kind = RealPlaylist::Invalid;
        result.error = QStringLiteral("The location list is larger than 1 MiB.");
        return result;
    }
    if (bytes.contains('\0')) {
        result.kind = RealPlaylist::Invalid;
        result.error = QStringLiteral("The location list is not a text file.");
        return result;
    }
    const QString text = core::decodeText(bytes).text;
    const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line == QLatin1String("--stop--"))
            break;
        const RealEntry entry = ramEntry(line, baseFolder);
        if (entry.location.isEmpty())
            continue;
        if (result.entries.size() >= kMaxPlaylistEntries)
            break;
        result.entries.append(entry);
    }
    return result;
}

namespace {

bool isMediaElement(QStringView name)
{
    return name == u"audio" || name == u"video" || name == u"ref" || name == u"animation" ||
           name == u"textstream";
}

struct SmilHeadTexts {
    QString title, author, copyright, abstract;
};

void readMeta(const QXmlStreamAttributes &attributes, SmilHeadTexts &head)
{
    const QString name = attributes.value(QLatin1String("name")).toString().trimmed().toLower();
    const QString content = attributes.value(QLatin1String("content")).toString();
    if (name == QLatin1String("title"))
        head.title = content;
    else if (name == QLatin1String("author"))
        head.author = content;
    else if (name == QLatin1String("copyright"))
        head.copyright = content;
    else if (name == QLatin1String("abstract"))
        head.abstract = content;
}

} // namespace

RealPlaylist readSmil(const QByteArray &bytes, const QString &baseFolder)
{
    RealPlaylist result;
    auto fail = [&result](const QString &why) {
        result.kind = RealPlaylist::Invalid;
        result.entries.clear();
        result.error = why;
        return result;
    };
    if (bytes.size() > kMaxPlaylistBytes)
        return fail(QStringLiteral("The SMIL document is larger than 1 MiB."));

    QXmlStreamReader xml(bytes);
    SmilHeadTexts head;
    // For each open <switch>: whether its one choice was taken already.
    QList<bool> switches;
    QList<QString> open; // names of the open elements
    constexpr qsizetype kMaxDepth = 256;
    bool sawRoot = false;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            const QString name = xml.name().toString().toLower();
            if (!sawRoot) {
                if (name != QLatin1String("smil"))
                    return fail(QStringLiteral("The document is not SMIL (root element <%1>).")
                                    .arg(xml.name().toString()));
                sawRoot = true;
            }
            if (open.size() >= kMaxDepth)
                return fail(QStringLiteral("The SMIL document is nested too deeply."));
            // Inside a <switch> only the first child element counts.
            if (!switches.isEmpty() && open.last() == QLatin1String("switch")) {
                if (switches.last()) {
                    xml.skipCurrentElement();
                    continue;
                }
                switches.last() = true;
            }
            open.append(name);
            if (name == QLatin1String("switch"))
                switches.append(false);
            const QXmlStreamAttributes attributes = xml.attributes();
            if (name == QLatin1String("meta")) {
                readMeta(attributes, head);
            } else if (isMediaElement(name)) {
                const QString src = attributes.value(QLatin1String("src")).toString().trimmed();
                if (src.isEmpty() || result.entries.size() >= kMaxPlaylistEntries)
                    continue;
                RealEntry entry;
                if (hasScheme(src) &&
                    !src.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
                    entry.location = src;
                } else {
                    // src is a URL reference: relative to the document, percent-encoded.
                    const QUrl base = QUrl::fromLocalFile(baseFolder + QLatin1Char('/'));
                    const QUrl url = base.resolved(QUrl(src));
                    if (!url.isLocalFile())
                        continue;
                    entry.location = QStringLiteral("file://") + QDir::cleanPath(url.toLocalFile());
                }
                entry.title = attributes.value(QLatin1String("title")).toString();
                entry.author = attributes.value(QLatin1String("author")).toString();
                entry.copyright = attributes.value(QLatin1String("copyright")).toString();
                entry.abstract = attributes.value(QLatin1String("abstract")).toString();
                result.entries.append(entry);
            }
        } else if (token == QXmlStreamReader::EndElement) {
            if (!open.isEmpty()) {
                if (open.last() == QLatin1String("switch") && !switches.isEmpty())
                    switches.removeLast();
                open.removeLast();
            }
        }
    }
    if (xml.hasError())
        return fail(QStringLiteral("The SMIL document is malformed (line %1, column %2): %3")
                        .arg(xml.lineNumber())
                        .arg(xml.columnNumber())
                        .arg(xml.errorString()));
    if (!sawRoot)
        return fail(QStringLiteral("The SMIL document is empty."));
    for (RealEntry &entry : result.entries) {
        if (entry.title.isEmpty())
            entry.title = head.title;
        if (entry.author.isEmpty())
            entry.author = head.author;
        if (entry.copyright.isEmpty())
            entry.copyright = head.copyright;
        if (entry.abstract.isEmpty())
            entry.abstract = head.abstract;
    }
    return result;
}

} // namespace orvane::playback::mpv

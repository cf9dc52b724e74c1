#include "playback/gst/asxreader.h"

#include "core/location.h"

#include <QDir>
#include <QRegularExpression>
#include <QUrl>
#include <QXmlStreamReader>

namespace orvane::playback::gst {

namespace {

// Hand-written playlists carry URLs with query strings ("a=1&b=2"), which
// strict XML rejects: escape every "&" that does not start an entity.
QString escapeBareAmpersands(const QString &text)
{
    static const QRegularExpression entity(
        QStringLiteral("^&(amp|lt|gt|quot|apos|#[0-9]{1,7}|#[xX][0-9a-fA-F]{1,6});"));
    QString out;
    out.reserve(text.size() + 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('&') && !entity.match(text.mid(i, 12)).hasMatch()) {
            out += QStringLiteral("&amp;");
        } else {
            out += c;
        }
    }
    return out;
}

bool isNamed(const QXmlStreamReader &xml, QLatin1StringView name)
{
    return xml.name().compare(name, Qt::CaseInsensitive) == 0;
}

QString attribute(const QXmlStreamReader &xml, QLatin1StringView name)
{
    for (const QXmlStreamAttribute &a : xml.attributes()) {
        if (a.name().compare(name, Qt::CaseInsensitive) == 0)
            return a.value().toString();
    }
    return {};
}

QString elementText(QXmlStreamReader &xml)
{
    return xml.readElementText(QXmlStreamReader::IncludeChildElements)
        .simplified()
        .left(kMaxAsxText);
}

// The four descriptive texts share their element names between the
// playlist and its entries.
bool readDescription(QXmlStreamReader &xml, QString &title, QString &author, QString &copyright,
                     QString &abstract)
{
    QString *target = nullptr;
    if (isNamed(xml, QLatin1StringView("title")))
        target = &title;
    else if (isNamed(xml, QLatin1StringView("author")))
        target = &author;
    else if (isNamed(xml, QLatin1StringView("copyright")))
        target = &copyright;
    else if (isNamed(xml, QLatin1StringView("abstract")))
        target = &abstract;
    if (!target)
        return false;
    const QString value = elementText(xml);
    if (target->isEmpty())
        *target = value;
    return true;
}

class Reader
{
public:
    explicit Reader(const QString &text)
        : m_xml(escapeBareAmpersands(text))
    {}

    AsxResult run()
    {
        AsxResult result;
        if (!readRoot()) {
            result.error = m_error;
            return result;
        }
        readChildren(0);
        if (m_xml.hasError() && m_xml.error() != QXmlStreamReader::CustomError)
            m_error = QStringLiteral("malformed playlist at line %1: %2")
                          .arg(m_xml.lineNumber())
                          .arg(m_xml.errorString());
        if (m_playlist.entries.isEmpty()) {
            result.error =
                m_error.isEmpty() ? QStringLiteral("the playlist has no entries") : m_error;
            return result;
        }
        result.ok = true;
        result.playlist = std::move(m_playlist);
        return result;
    }

private:
    bool readRoot()
    {
        while (!m_xml.atEnd()) {
            if (m_xml.readNext() == QXmlStreamReader::StartElement) {
                if (isNamed(m_xml, QLatin1StringView("asx")))
                    return true;
                m_error = QStringLiteral("not an ASX playlist");
                return false;
            }
        }
        m_error = m_xml.hasError() ? QStringLiteral("malformed playlist: ") + m_xml.errorString()
                                   : QStringLiteral("not an ASX playlist");
        return false;
    }

    // Children of <asx> or of a <repeat> inside it (its entries are played
    // once: repeating is the playlist's business, not the file's).
    void readChildren(int depth)
    {
        while (m_xml.readNextStartElement()) {
            if (isNamed(m_xml, QLatin1StringView("entry"))) {
                readEntry();
            } else if (isNamed(m_xml, QLatin1StringView("repeat")) && depth < 4) {
                readChildren(depth + 1);
            } else if (depth > 0 || !readDescription(m_xml, m_playlist.title, m_playlist.author,
                                                     m_playlist.copyright, m_playlist.abstract)) {
                m_xml.skipCurrentElement();
            }
        }
    }

    void readEntry()
    {
        AsxEntry entry;
        while (m_xml.readNextStartElement()) {
            if (isNamed(m_xml, QLatin1StringView("ref"))) {
                const QString href = attribute(m_xml, QLatin1StringView("href")).trimmed();
                if (!href.isEmpty() && entry.refs.size() < kMaxAsxRefs)
                    entry.refs.append(href.left(kMaxAsxText));
                m_xml.skipCurrentElement();
            } else if (!readDescription(m_xml, entry.title, entry.author, entry.copyright,
                                        entry.abstract)) {
                m_xml.skipCurrentElement();
            }
        }
        // An entry cut short by an XML error still counts when it names media.
        if (!entry.refs.isEmpty() && m_playlist.entries.size() < kMaxAsxEntries)
            m_playlist.entries.append(std::move(entry));
    }

    QXmlStreamReader m_xml;
    AsxPlaylist m_playlist;
    QString m_error;
};

} // namespace

AsxResult parseAsx(const QString &text)
{
    return Reader(text).run();
}

bool isAsxLocation(const QString &location)
{
    QString path = location;
    if (!core::locationScheme(path).isEmpty())
        path = QUrl(location).path();
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || path.indexOf(QLatin1Char('/'), dot) >= 0)
        return false;
    const QStringView ext = QStringView(path).mid(dot + 1);
    for (const char *known : {"asx", "wax", "wvx"}) {
        if (ext.compare(QLatin1StringView(known), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString resolveAsxRef(const QString &asxFolder, const QString &href)
{
    const QString ref = href.trimmed();
    if (ref.isEmpty())
        return {};
    if (!core::locationScheme(ref).isEmpty())
        return ref;
    QString path = ref;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!path.startsWith(QLatin1Char('/')))
        path = asxFolder + QLatin1Char('/') + path;
    return QDir::cleanPath(path);
}

} // namespace orvane::playback::gst

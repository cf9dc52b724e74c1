// Compiled HTML help files through chmlib. Built only when chmlib was found;
// without it chmSource() never opens a file.
#include "ui/help/helpsource.h"

#include <QFile>
#include <QRegularExpression>

#ifdef ORVANE_HAVE_CHMLIB
#include <chm_lib.h>
#endif

namespace orvane::ui {

#ifdef ORVANE_HAVE_CHMLIB

namespace {

// A help file's objects are pages and pictures; one claiming more than this
// is damaged or hostile and is not read.
constexpr LONGUINT64 kMaxObjectSize = 16 * 1024 * 1024;

bool isPage(const QString &path)
{
    return path.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive) ||
           path.endsWith(QLatin1String(".html"), Qt::CaseInsensitive);
}

// Entity references in sitemap values ("&amp;") and the HTML of names.
QString decodedValue(const QString &value)
{
    QString text = value;
    text.replace(QLatin1String("&lt;"), QLatin1String("<"))
        .replace(QLatin1String("&gt;"), QLatin1String(">"))
        .replace(QLatin1String("&quot;"), QLatin1String("\""))
        .replace(QLatin1String("&amp;"), QLatin1String("&"));
    return text;
}

class ChmSource final : public HelpSource
{
public:
    explicit ChmSource(chmFile *file)
        : m_file(file)
    {
        chm_enumerate(m_file, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, &ChmSource::collect,
                      this);
        m_contents = sitemap();
    }
    ~ChmSource() override { chm_close(m_file); }
    ChmSource(const ChmSource &) = delete;
    ChmSource &operator=(const ChmSource &) = delete;

    QUrl defaultTopic() const override
    {
        if (!m_contents.isEmpty())
            return m_contents.first().url;
        for (const char *name : {"/index.htm", "/index.html", "/default.htm"}) {
            if (m_paths.contains(QString::fromLatin1(name), Qt::CaseInsensitive))
                return helpUrl(QString::fromLatin1(name));
        }
        const QList<QUrl> all = pages();
        return all.isEmpty() ? helpUrl(QStringLiteral("/")) : all.first();
    }

    QList<HelpTopic> contents() const override { return m_contents; }

    QList<QUrl> pages() const override
    {
        QList<QUrl> urls;
        for (const QString &path : m_paths) {
            if (isPage(path))
                urls << helpUrl(path);
        }
        return urls;
    }

    QByteArray read(const QUrl &url) const override
    {
        if (url.scheme() != kHelpScheme)
            return {};
        return object(url.path().toUtf8());
    }

private:
    static int collect(chmFile *, chmUnitInfo *unit, void *context)
    {
        auto *self = static_cast<ChmSource *>(context);
        unit->path[CHM_MAX_PATHLEN] = '\0';
        self->m_paths << QString::fromUtf8(unit->path);
        return CHM_ENUMERATOR_CONTINUE;
    }

    QByteArray object(const QByteArray &path) const
    {
        chmUnitInfo unit{};
        if (path.size() > CHM_MAX_PATHLEN ||
            chm_resolve_object(m_file, path.constData(), &unit) != CHM_RESOLVE_SUCCESS ||
            unit.length > kMaxObjectSize)
            return {};
        QByteArray bytes(qsizetype(unit.length), Qt::Uninitialized);
        const LONGINT64 got =
            chm_retrieve_object(m_file, &unit, reinterpret_cast<unsigned char *>(bytes.data()), 0,
                                LONGINT64(unit.length));
        bytes.truncate(got > 0 ? qsizetype(got) : 0);
        return bytes;
    }

    // The table of contents (.hhc): every sitemap object with a name and a
    // local page, in order.
    QList<HelpTopic> sitemap() const
    {
        QString hhc;
        for (const QString &path : m_paths) {
            if (path.endsWith(QLatin1String(".hhc"), Qt::CaseInsensitive)) {
                hhc = path;
                break;
            }
        }
        if (hhc.isEmpty())
            return {};
        static const QRegularExpression objectPattern(
            QStringLiteral("<object[^>]*text/sitemap[^>]*>(.*?)</object>"),
            QRegularExpression::CaseInsensitiveOption |
                QRegularExpression::DotMatchesEverythingOption);
        static const QRegularExpression paramPattern(
            QStringLiteral("<param\\s+name\\s*=\\s*\"?(\\w+)\"?\\s+value\\s*=\\s*\"([^\"]*)\""),
            QRegularExpression::CaseInsensitiveOption);
        const QString text = QString::fromLatin1(object(hhc.toUtf8()));
        QList<HelpTopic> topics;
        for (const QRegularExpressionMatch &item : objectPattern.globalMatch(text)) {
            QString name;
            QString local;
            for (const QRegularExpressionMatch &param :
                 paramPattern.globalMatch(item.captured(1))) {
                const QString key = param.captured(1).toLower();
                if (key == QLatin1String("name") && name.isEmpty())
                    name = decodedValue(param.captured(2));
                else if (key == QLatin1String("local") && local.isEmpty())
                    local = decodedValue(param.captured(2));
            }
            if (!name.isEmpty() && !local.isEmpty() && !local.contains(QLatin1String("://")))
                topics << HelpTopic{name, helpUrl(QStringLiteral("/")).resolved(QUrl(local))};
        }
        return topics;
    }

    chmFile *m_file;
    QStringList m_paths;
    QList<HelpTopic> m_contents;
};

} // namespace

std::unique_ptr<HelpSource> chmSource(const QString &path)
{
    chmFile *file = chm_open(QFile::encodeName(path).constData());
    if (!file)
        return nullptr;
    return std::make_unique<ChmSource>(file);
}

bool chmSupported()
{
    return true;
}

#else

std::unique_ptr<HelpSource> chmSource(const QString &)
{
    return nullptr;
}

bool chmSupported()
{
    return false;
}

#endif

} // namespace orvane::ui

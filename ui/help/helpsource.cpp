#include "ui/help/helpsource.h"

#include "core/language.h"
#include "core/programpaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>

namespace orvane::ui {

namespace {

// Help pages are small; a larger file is not read into memory whole.
constexpr qint64 kMaxPageSize = 16 * 1024 * 1024;

class ManualSource final : public HelpSource
{
public:
    explicit ManualSource(const QString &folder)
        : m_folder(QDir(folder).canonicalPath())
    {}

    QUrl defaultTopic() const override { return helpUrl(QStringLiteral("/index.html")); }

    QList<HelpTopic> contents() const override
    {
        const QUrl home = defaultTopic();
        QList<HelpTopic> topics;
        topics << HelpTopic{pageTitle(read(home), QString()), home};
        for (const HelpTopic &link : pageLinks(read(home), home)) {
            if (link.url.scheme() == kHelpScheme && !link.url.hasFragment())
                topics << link;
        }
        return topics;
    }

    QList<QUrl> pages() const override
    {
        QList<QUrl> urls;
        const QStringList names =
            QDir(m_folder).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
        for (const QString &name : names)
            urls << helpUrl(u'/' + name);
        return urls;
    }

    QByteArray read(const QUrl &url) const override
    {
        if (url.scheme() != kHelpScheme || m_folder.isEmpty())
            return {};
        // Only files inside the manual's folder: a link of a page never
        // reaches the rest of the file system.
        const QString path = QDir::cleanPath(m_folder + u'/' + url.path());
        const QString canonical = QFileInfo(path).canonicalFilePath();
        if (canonical.isEmpty() || !canonical.startsWith(m_folder + u'/'))
            return {};
        QFile file(canonical);
        if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxPageSize)
            return {};
        return file.readAll();
    }

private:
    QString m_folder;
};

} // namespace

QUrl helpUrl(const QString &path)
{
    QUrl url;
    url.setScheme(kHelpScheme);
    url.setPath(path.startsWith(u'/') ? path : u'/' + path);
    return url;
}

QString pageTitle(const QByteArray &html, const QString &fallback)
{
    static const QRegularExpression title(QStringLiteral("<title[^>]*>([^<]*)</title>"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QString text = title.match(QString::fromUtf8(html)).captured(1).simplified();
    return text.isEmpty() ? fallback : text;
}

QList<HelpTopic> pageLinks(const QByteArray &html, const QUrl &base)
{
    QTextDocument document;
    document.setHtml(QString::fromUtf8(html));
    QList<HelpTopic> links;
    QString href;
    QString text;
    auto flush = [&] {
        if (!href.isEmpty())
            links << HelpTopic{text.simplified(), base.resolved(QUrl(href))};
        href.clear();
        text.clear();
    };
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QString fragmentHref = fragment.charFormat().anchorHref();
            if (fragmentHref != href)
                flush();
            href = fragmentHref;
            if (!href.isEmpty())
                text += fragment.text();
        }
        flush();
    }
    return links;
}

QStringList pageAnchors(const QByteArray &html)
{
    QTextDocument document;
    document.setHtml(QString::fromUtf8(html));
    QStringList anchors;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        anchors << block.charFormat().anchorNames();
        for (auto it = block.begin(); !it.atEnd(); ++it)
            anchors << it.fragment().charFormat().anchorNames();
    }
    anchors.removeDuplicates();
    return anchors;
}

std::unique_ptr<HelpSource> manualSource(const QString &folder)
{
    return std::make_unique<ManualSource>(folder);
}

QString manualFolder()
{
    // A language file may name the manual in its own language, a folder
    // below the manual's; a name that is no plain folder name is ignored.
    const QString language = core::GetText(QStringLiteral("Help"), QStringLiteral("Manual"));
    static const QRegularExpression plainName(QStringLiteral("^[A-Za-z0-9_-]{1,32}$"));
    const bool ownManual = plainName.match(language).hasMatch();
    const QStringList folders = core::helpFolders();
    QStringList candidates;
    for (const QString &folder : folders) {
        if (ownManual)
            candidates << folder + language + u'/';
        candidates << folder;
    }
    for (const QString &folder : std::as_const(candidates)) {
        if (QFileInfo(folder + QStringLiteral("index.html")).isFile())
            return folder;
    }
    return {};
}

} // namespace orvane::ui

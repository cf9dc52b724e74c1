#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <memory>

namespace orvane::ui {

// The pages the help viewer shows, addressed as kHelpScheme URLs whose
// path names a page of the source ("/index.html").
inline const QString kHelpScheme = QStringLiteral("orvane-help");

struct HelpTopic {
    QString title;
    QUrl url;
};

class HelpSource
{
public:
    virtual ~HelpSource() = default;
    // The page shown first.
    virtual QUrl defaultTopic() const = 0;
    // The contents list, in order.
    virtual QList<HelpTopic> contents() const = 0;
    // Every page (for searching), by URL.
    virtual QList<QUrl> pages() const = 0;
    // The bytes of a page or picture; empty when the source has none.
    virtual QByteArray read(const QUrl &url) const = 0;
};

QUrl helpUrl(const QString &path);

// The title of an HTML page: its <title>, else the given fallback.
QString pageTitle(const QByteArray &html, const QString &fallback);

// The links of an HTML page as a reader meets them (text and href), and
// the anchor names it defines.
QList<HelpTopic> pageLinks(const QByteArray &html, const QUrl &base);
QStringList pageAnchors(const QByteArray &html);

// Orvane's own manual: the HTML files of a folder, its index.html the
// contents page whose links in order are the contents list.
std::unique_ptr<HelpSource> manualSource(const QString &folder);
// The first folder of core::helpFolders() holding index.html, its
// subfolder named by the language file's "Help" key "Manual" first; empty
// when none does.
QString manualFolder();

// A compiled HTML help file; nullptr when it cannot be read (or the
// program was built without CHM support).
std::unique_ptr<HelpSource> chmSource(const QString &path);
bool chmSupported();

} // namespace orvane::ui

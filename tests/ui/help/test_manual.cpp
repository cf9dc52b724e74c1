// The manual we ship and the viewer that shows it: every link a reader can
// follow leads somewhere, every page can be reached from the contents, and
// the viewer goes where the links, history and search say.
#include "core/modmain.h"
#include "tests/support/qtprint.h"
#include "ui/help/frmhelp.h"
#include "ui/help/helpsource.h"
#include "ui/toolkit/modhtmlhelp.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orvane::ui;

namespace {

const QString kManual = QStringLiteral(ORVANE_SOURCE_DIR "/resources/help");

class ShippedManuals : public ::testing::TestWithParam<const char *>
{
protected:
    QString folder() const { return kManual + QLatin1String(GetParam()); }
};

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST_P(ShippedManuals, EveryLocalLinkResolvesAndEveryPageIsReachable)
{
    const std::unique_ptr<HelpSource> manual = manualSource(folder());
    const QList<QUrl> pages = manual->pages();
    ASSERT_GE(pages.size(), 8);

    QSet<QUrl> reached{manual->defaultTopic()};
    QList<QUrl> queue{manual->defaultTopic()};
    while (!queue.isEmpty()) {
        const QUrl page = queue.takeFirst();
        const QByteArray html = manual->read(page);
        ASSERT_FALSE(html.isEmpty()) << page.toString().toStdString();
        EXPECT_NE(pageTitle(html, QString()), QString())
            << page.toString().toStdString() << " has a title";
        for (const HelpTopic &link : pageLinks(html, page)) {
            if (link.url.scheme() != kHelpScheme) {
                EXPECT_TRUE(link.url.scheme() == u"https" || link.url.scheme() == u"mailto")
                    << page.toString().toStdString() << " links to "
                    << link.url.toString().toStdString();
                continue;
            }
            QUrl target = link.url;
            target.setFragment(QString());
            const QByteArray targetHtml = manual->read(target);
            EXPECT_FALSE(targetHtml.isEmpty())
                << page.toString().toStdString() << " links to missing "
                << link.url.toString().toStdString();
            EXPECT_FALSE(link.title.isEmpty())
                << page.toString().toStdString() << " has a link without text";
            if (link.url.hasFragment()) {
                EXPECT_TRUE(pageAnchors(targetHtml).contains(link.url.fragment()))
                    << page.toString().toStdString() << " links to missing anchor "
                    << link.url.toString().toStdString();
            }
            if (!targetHtml.isEmpty() && !reached.contains(target)) {
                reached.insert(target);
                queue << target;
            }
        }
    }
    for (const QUrl &page : pages)
        EXPECT_TRUE(reached.contains(page))
            << page.toString().toStdString() << " cannot be reached";
}

TEST(ShippedManual, TheContentsListFollowsTheContentsPage)
{
    const std::unique_ptr<HelpSource> manual = manualSource(kManual);
    const QList<HelpTopic> contents = manual->contents();
    ASSERT_GE(contents.size(), 9);
    EXPECT_EQ(contents.first().url, manual->defaultTopic());
    EXPECT_EQ(contents.at(1).title, QStringLiteral("Getting started"));
    EXPECT_EQ(contents.last().url.path(), QStringLiteral("/troubleshooting.html"));
}

TEST_P(ShippedManuals, NamesEveryKeyOfTheMenusAndHasEveryPage)
{
    const std::unique_ptr<HelpSource> manual = manualSource(folder());
    const QList<QUrl> english = manualSource(kManual)->pages();
    EXPECT_EQ(manual->pages(), english) << "every language has every page";
    const QString menus = QString::fromUtf8(manual->read(helpUrl(QStringLiteral("menus.html"))));
    for (const char *key :
         {"Ctrl+O", "Ctrl+Q", "Ctrl+P", "Ctrl+S", "Ctrl+Left", "Ctrl+Right", "Ins", "Ctrl+Ins",
          "Del", "Ctrl+Del", "Ctrl+Up", "Ctrl+Down", "Ctrl+PageUp", "Ctrl+PageDown", "F1"})
        EXPECT_TRUE(
            menus.contains(QStringLiteral("<td>") + QLatin1String(key) + QStringLiteral("</td>")))
            << key;
}

INSTANTIATE_TEST_SUITE_P(Languages, ShippedManuals, ::testing::Values("", "/ja"));

TEST(ManualSource, ReadsNothingOutsideItsFolder)
{
    QTemporaryDir temp;
    const QString folder = temp.filePath(QStringLiteral("help"));
    ASSERT_TRUE(QDir().mkpath(folder));
    writeFile(folder + QStringLiteral("/index.html"), "<html>in</html>");
    writeFile(temp.filePath(QStringLiteral("secret.html")), "secret");
    ASSERT_TRUE(QFile::link(temp.filePath(QStringLiteral("secret.html")),
                            folder + QStringLiteral("/link.html")));
    const std::unique_ptr<HelpSource> source = manualSource(folder);
    EXPECT_EQ(source->read(helpUrl(QStringLiteral("/index.html"))), "<html>in</html>");
    for (const char *path : {"/../secret.html", "/link.html", "/missing.html"})
        EXPECT_TRUE(source->read(helpUrl(QString::fromLatin1(path))).isEmpty()) << path;
    QUrl file = QUrl::fromLocalFile(folder + QStringLiteral("/index.html"));
    EXPECT_TRUE(source->read(file).isEmpty()) << "only help URLs";
}

TEST(HtmlHelp, TargetsAndTheHelpFileName)
{
    using namespace orvane::ui::toolkit;
    EXPECT_EQ(helpTarget(QString(), QStringLiteral("ovHelp")), QString());
    EXPECT_EQ(helpTarget(QStringLiteral("/a/ovHelp.chm"), QString()),
              QStringLiteral("/a/ovHelp.chm"));
    EXPECT_EQ(helpTarget(QStringLiteral("/a/ovHelp.chm"), QStringLiteral("ovHelp")),
              QStringLiteral("/a/ovHelp.chm>ovHelp"));
    EXPECT_EQ(helpFileIn(QStringLiteral("/opt/orvane/")), QStringLiteral("/opt/orvane/ovHelp.chm"));
    EXPECT_EQ(helpFileIn(QStringLiteral("/opt/orvane")), QStringLiteral("/opt/orvane/ovHelp.chm"));
    EXPECT_EQ(OpenHelp(nullptr, QString(), QStringLiteral("ovHelp"), -1), nullptr);
}

TEST(HtmlHelp, ADamagedHelpFileIsNotReadAsOne)
{
    QTemporaryDir temp;
    const QString chm = temp.filePath(QStringLiteral("ovHelp.chm"));
    writeFile(chm, QByteArray("ITSF") + QByteArray(200, '\xff'));
    EXPECT_EQ(chmSource(chm), nullptr);
    EXPECT_EQ(chmSource(temp.filePath(QStringLiteral("missing.chm"))), nullptr);
}

TEST(HtmlHelp, OneViewerPerTargetClosedWithTheWindow)
{
    using namespace orvane::ui::toolkit;
    QWidget window;
    HelpInitialize(&window);
    const QString missingChm = QStringLiteral("/nonexistent/ovHelp.chm");
    QPointer<frmHelp> first = OpenHelp(&window, missingChm, QStringLiteral("ovHelp"), -1);
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(OpenHelp(&window, missingChm, QStringLiteral("ovHelp"), 7), first.data());
    HelpUninitialize(&window);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(first) << "closed and deleted";
}

TEST(HelpViewer, FollowsLinksBackAndForwardAndSearches)
{
    frmHelp viewer(manualSource(kManual));
    viewer.showDefaultTopic();
    HelpBrowser *browser = viewer.browser();
    EXPECT_EQ(browser->source().path(), QStringLiteral("/index.html"));
    EXPECT_EQ(viewer.lstContents()->count(), 10);

    // A link of the page, as a click on it sends it.
    Q_EMIT browser->anchorClicked(
        browser->source().resolved(QUrl(QStringLiteral("menus.html#help"))));
    EXPECT_EQ(browser->source().path(), QStringLiteral("/menus.html"));
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("About Orvane")));
    EXPECT_TRUE(browser->isBackwardAvailable());
    browser->backward();
    EXPECT_EQ(browser->source().path(), QStringLiteral("/index.html"));
    browser->forward();
    EXPECT_EQ(browser->source().path(), QStringLiteral("/menus.html"));

    // A link out of the help is never loaded as one of its pages.
    Q_EMIT browser->anchorClicked(QUrl(QStringLiteral("file:///etc/passwd")));
    EXPECT_EQ(browser->source().path(), QStringLiteral("/menus.html"));

    viewer.txtSearch()->setText(QStringLiteral("PulseAudio  output"));
    ASSERT_GE(viewer.lstContents()->count(), 1);
    EXPECT_EQ(viewer.lstContents()->item(0)->text(), QStringLiteral("Troubleshooting"));
    viewer.txtSearch()->setText(QStringLiteral("zzzz-nowhere"));
    ASSERT_EQ(viewer.lstContents()->count(), 1);
    EXPECT_FALSE(viewer.lstContents()->item(0)->flags() & Qt::ItemIsEnabled);
    viewer.txtSearch()->clear();
    EXPECT_EQ(viewer.lstContents()->count(), 10);
}

TEST(HelpViewer, WithoutAManualSaysSo)
{
    QTemporaryDir temp;
    const QString file = temp.filePath(QStringLiteral("Test.ovs"));
    writeFile(file, "[Help]\r\nCaption=Hilfe\r\nNotFound=Keine Hilfe\r\n");
    orvane::core::modMain::LanguageFile = file;
    frmHelp viewer(nullptr);
    viewer.showDefaultTopic();
    EXPECT_EQ(viewer.windowTitle(), QStringLiteral("Hilfe"));
    EXPECT_EQ(viewer.browser()->toPlainText(), QStringLiteral("Keine Hilfe"));
    EXPECT_EQ(viewer.lstContents()->count(), 0);
    orvane::core::modMain::LanguageFile.clear();
}

// A user asks for help and for the program's version: F1 opens the manual on
// its contents page, Help > About shows the version and the system, in
// English and in Japanese.
#include "tests/e2e/e2etest.h"
#include "tests/support/qtprint.h"

using namespace orvane::e2e;

namespace {

class Help : public DesktopTest
{
protected:
    void keepScreenshot(const QString &name)
    {
        m_desktop.screenshot(QStringLiteral(ORVANE_E2E_ARTIFACT_DIR "/help-") + name +
                             QStringLiteral(".png"));
    }

    Player &startIn(const char *language)
    {
        if (QByteArray(language) == "japanese")
            writeSettings("[General Setting]\r\nLanguageFile=Japanese.ovs\r\n");
        return startPlayer();
    }

    Accessible application(Player &player)
    {
        return player.accessibility().application(player.pid());
    }

    // Whether a label of the program reads something the pattern matches.
    bool shows(Player &player, const QRegularExpression &pattern)
    {
        return player.accessibility().findByNamePattern(application(player), pattern).isValid();
    }
};

struct LanguageCase {
    const char *name;
    const char *helpTitle;
    const char *contentsTitle;
    const char *firstChapter;
    const char *aboutTitle;
    const char *versionWord;
};

class HelpInLanguage : public Help, public ::testing::WithParamInterface<LanguageCase>
{
};

} // namespace

TEST_P(HelpInLanguage, F1OpensTheManualOnItsContentsPage)
{
    const LanguageCase &c = GetParam();
    Player &player = startIn(c.name);
    player.activate();
    player.key(QStringLiteral("F1"));
    const QString title = QString::fromUtf8(c.helpTitle);
    ASSERT_FALSE(player.waitForActiveWindow(u'^' + QRegularExpression::escape(title)).isEmpty())
        << "the help viewer opens";
    // The page shown is the manual's contents page, and its list names
    // the chapters.
    EXPECT_TRUE(waitUntil([&] {
        return shows(player, QRegularExpression(QString::fromUtf8(c.firstChapter)));
    })) << "the contents list in the language";
    EXPECT_FALSE(player
                     .waitForWindow(QRegularExpression::escape(title + QStringLiteral(" - ") +
                                                               QString::fromUtf8(c.contentsTitle)))
                     .isEmpty())
        << "the contents page is shown";
    keepScreenshot(QString::fromLatin1(c.name) + QStringLiteral("-viewer"));

    // F1 again brings the same viewer back rather than a second one.
    player.activate();
    const int windows = player.visibleWindows();
    player.key(QStringLiteral("F1"));
    EXPECT_FALSE(player.waitForActiveWindow(u'^' + QRegularExpression::escape(title)).isEmpty());
    EXPECT_EQ(player.visibleWindows(), windows);
}

TEST_P(HelpInLanguage, HelpAboutShowsTheVersion)
{
    const LanguageCase &c = GetParam();
    Player &player = startIn(c.name);
    player.activate();
    ASSERT_TRUE(player.keyForPopup(QStringLiteral("alt+h"))) << "the Help menu opens";
    player.key(QStringLiteral("a"));
    const QString title = QString::fromUtf8(c.aboutTitle);
    ASSERT_FALSE(player.waitForActiveWindow(u'^' + QRegularExpression::escape(title)).isEmpty())
        << "the about box opens";
    const QRegularExpression version(QString::fromUtf8(c.versionWord) +
                                     QStringLiteral(" \\d+\\.\\d+\\.\\d+ .*"));
    EXPECT_TRUE(waitUntil([&] { return shows(player, version); })) << "the version line";
    keepScreenshot(QString::fromLatin1(c.name) + QStringLiteral("-about"));
    player.key(QStringLiteral("Return"));
    EXPECT_TRUE(player.waitForNoWindow(u'^' + QRegularExpression::escape(title))) << "OK closes it";
}

INSTANTIATE_TEST_SUITE_P(
    Languages, HelpInLanguage,
    ::testing::Values(LanguageCase{"english", "Orvane Help", "Contents", "Getting started",
                                   "About Orvane", "Version"},
                      LanguageCase{"japanese", "Orvane ヘルプ", "目次", "はじめに",
                                   "Orvane のバージョン情報", "バージョン"}),
    [](const ::testing::TestParamInfo<LanguageCase> &param) {
        return std::string(param.param.name);
    });

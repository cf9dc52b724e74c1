// Start-up settings: the exact-match rules that decide engines, lists and
// the language, and the fallbacks when the settings are wrong.
#include "core/filetypes.h"
#include "core/inifile.h"
#include "core/modmain.h"
#include "core/programpaths.h"
#include "core/runsettings.h"
#include "core/screensaver.h"
#include "core/startup.h"
#include "tests/core/fakemessagebox.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orvane::core;
using orvane::test::FakeMessageBox;

namespace {

class StartupTest : public ::testing::Test
{
protected:
    void SetUp() override { resetProcessState(); }
    void write(const QByteArray &ini)
    {
        QFile f(m_ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(ini);
    }
    QString languageFileWithVersion(const char *name, const char *version)
    {
        const QString path = m_dir.filePath(QString::fromLatin1(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray("[Orvane Language Settings]\r\nVersion=") + version + "\r\n");
        return path;
    }

    QTemporaryDir m_dir;
    QString m_ini = m_dir.filePath(QStringLiteral("setting.ini"));
};

} // namespace

TEST_F(StartupTest, DefaultsWithoutSettings)
{
    readStartupSettings(m_ini);
    EXPECT_FALSE(modMain::TryOtherEngine);
    EXPECT_TRUE(modMain::AutoPlay);
    EXPECT_TRUE(modMain::UseShortPath);
    EXPECT_EQ(modMain::WmpFileTypes, kBuiltinWmpFileTypes);
    EXPECT_EQ(modMain::RealFileTypes, kBuiltinRealFileTypes);
    buildFilters();
    EXPECT_EQ(modMain::PlayListFilter, QStringLiteral("*.ovl"));
    EXPECT_TRUE(modMain::WmpFilter.startsWith(QStringLiteral("*.avi;*.asf;")));
}

TEST_F(StartupTest, ExactTextsDecide)
{
    write("[General Setting]\r\nTry Open Other Mode=true\r\nAutoPlay=FALSE\r\nShortPath=0\r\n"
          "[Media Player Setting]\r\nFile Types=\r\n"
          "[RealPlayer Setting]\r\nFile Types=.rm;.xyz\r\n");
    readStartupSettings(m_ini);
    EXPECT_FALSE(modMain::TryOtherEngine) << "only the exact text True switches it on";
    EXPECT_FALSE(modMain::AutoPlay);
    EXPECT_FALSE(modMain::UseShortPath);
    EXPECT_EQ(modMain::WmpFileTypes, kBuiltinWmpFileTypes) << "empty means built in";
    EXPECT_EQ(modMain::RealFileTypes, QStringLiteral(".rm;.xyz")) << "taken as it is";

    write("[General Setting]\r\nTry Open Other Mode=True\r\n");
    readStartupSettings(m_ini);
    EXPECT_TRUE(modMain::TryOtherEngine);
}

TEST_F(StartupTest, LanguageFallsBackToTheDefaultAfterReportingAnOldFile)
{
    FakeMessageBox box;
    const QString old = languageFileWithVersion("Old.ovs", "1.05");
    write("[General Setting]\r\nLanguageFile=" + old.toUtf8() + "\r\n");
    // The test binary has no Language folder beside it: no default either.
    ASSERT_FALSE(QFile::exists(defaultLanguageFile()));
    EXPECT_FALSE(chooseLanguageFile(m_ini));
    ASSERT_EQ(box.shown.size(), 2);
    EXPECT_TRUE(box.shown[0].text.contains(old)) << "the old file is named";
    EXPECT_EQ(box.shown[1].text, QStringLiteral("Unknown Error!\r\n\r\n") + kNoLanguageFileMessage);

    const QString good = languageFileWithVersion("Good.ovs", "1.06");
    write("[General Setting]\r\nLanguageFile=" + good.toUtf8() + "\r\n");
    EXPECT_TRUE(chooseLanguageFile(m_ini));
    EXPECT_EQ(modMain::LanguageFile, good);
}

// The exact texts are told apart against a bus in SessionBus.OnlyTheExactTextsCount.
TEST_F(StartupTest, ScreenSaverSettingsNeedNoBus)
{
    // Without a session bus both directions must be silent no-ops.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    write("[General Setting]\r\nRun Screen Saver=No\r\nSet Screen Saver=Yes\r\n");
    ApplyScreenSaverSetting(m_ini);
    RestoreScreenSaver(m_ini);
    EXPECT_FALSE(ScreenSaver::isInhibited());
}

TEST_F(StartupTest, RelativeLanguageFileNamesAreFoundInTheLanguageFolders)
{
    // Two folders as an installed program has them: its own, then the data one.
    const QString own = m_dir.filePath(QStringLiteral("app/Language"));
    const QString data = m_dir.filePath(QStringLiteral("share/Language"));
    ASSERT_TRUE(QDir().mkpath(own) && QDir().mkpath(data));
    const auto put = [](const QString &path) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    };
    put(own + QStringLiteral("/Japanese.ovs"));
    put(data + QStringLiteral("/Japanese.ovs"));
    put(data + QStringLiteral("/Korean.ovs"));
    const QStringList folders{own + u'/', data + u'/'};

    const struct {
        const char *name;
        QString expected;
    } cases[] = {
        {"Japanese.ovs", own + QStringLiteral("/Japanese.ovs")}, // the program's own first
        {"Korean.ovs", data + QStringLiteral("/Korean.ovs")},
        {"Language\\Japanese.ovs", own + QStringLiteral("/Japanese.ovs")}, // as Windows wrote it
        {"Language/Korean.ovs", data + QStringLiteral("/Korean.ovs")},
        {"./Japanese.ovs", own + QStringLiteral("/Japanese.ovs")},
        {"Missing.ovs", own + QStringLiteral("/Missing.ovs")},
        {"", QString()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(resolveLanguageFile(QString::fromUtf8(c.name), folders), c.expected) << c.name;

    const QString elsewhere = m_dir.filePath(QStringLiteral("Japanese.ovs"));
    EXPECT_EQ(resolveLanguageFile(elsewhere, folders), elsewhere) << "a full path is kept";
}

// The run's settings object: what the main window takes from setting.ini as
// it loads, and the changes the running program is told of.
TEST_F(StartupTest, TheWindowsSettingsAreReadOnceAndChangesAreAnnounced)
{
    RunSettings &run = runSettings();
    run.reset();
    run.readAtWindowLoad(m_ini);
    EXPECT_EQ(run.processingMode(), 1) << "the loop without settings";
    EXPECT_EQ(run.processingInterval(), 500);
    EXPECT_TRUE(run.orgBar()) << "this system is none of the plain-caption ones";
    for (const char *plain : {"Windows 3.1", "Windows Me", "Windows 2000", "Windows XP"})
        EXPECT_FALSE(orgBarDefault(QString::fromLatin1(plain))) << plain;
    EXPECT_TRUE(orgBarDefault(QStringLiteral("Windows Vista")));

    write(
        "[General Setting]\r\nProcessing Mode=2\r\nProcessing Interval=0\r\nShowOrgBar=false\r\n");
    run.readAtWindowLoad(m_ini);
    EXPECT_EQ(run.processingMode(), 1) << "anything but 0 is the loop";
    EXPECT_EQ(run.processingInterval(), 1) << "a timer of 0 ms would never rest";
    EXPECT_FALSE(run.orgBar());
    write("[General Setting]\r\nProcessing Mode=0\r\nProcessing Interval=-5\r\n");
    run.readAtWindowLoad(m_ini);
    EXPECT_EQ(run.processingMode(), 0);
    EXPECT_EQ(run.processingInterval(), 1);

    int intervals = 0;
    QList<bool> bars;
    QObject::connect(&run, &RunSettings::processingIntervalChanged, [&](int) { ++intervals; });
    QObject::connect(&run, &RunSettings::orgBarChanged, [&](bool on) { bars << on; });
    run.setProcessingInterval(1);
    run.setOrgBar(false);
    run.setOrgBar(false);
    run.setProcessingInterval(-3);
    EXPECT_EQ(intervals, 0) << "the same interval, kept at 1 ms, is no change";
    EXPECT_EQ(bars, QList<bool>{false});
    run.setProcessingInterval(250);
    EXPECT_EQ(intervals, 1);
    EXPECT_EQ(run.processingInterval(), 250);

    run.setFileTypes(QStringLiteral(".mp3;.xyz"), QString());
    EXPECT_EQ(run.wmpFileTypes(), QStringLiteral(".mp3;.xyz"));
    EXPECT_EQ(modMain::WmpFilter, QStringLiteral("*.mp3;*.xyz"));
    EXPECT_EQ(run.realFileTypes(), kBuiltinRealFileTypes) << "empty is the built-in list";
    EXPECT_TRUE(modMain::RealFilter.startsWith(QStringLiteral("*.rm;*.ra;")));
    QObject::disconnect(&run, nullptr, nullptr, nullptr);
    run.reset();
}

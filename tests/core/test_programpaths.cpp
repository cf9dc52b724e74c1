// Where the settings live: beside a portable program, in the user's
// configuration folder for an installed one.
#include "core/programpaths.h"
#include "tests/support/qtprint.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orvane::core;

namespace {

const QString kProgram = QStringLiteral("/opt/orvane/");
const QString kConfig = QStringLiteral("/home/a/.config");
const QString kUserConfig = QStringLiteral("/home/a/.config/orvane/");

struct PlaceCase {
    const char *layout;
    bool languageFolder;
    bool writable;
    QString expected;
};

} // namespace

TEST(SettingsPlace, FollowsTheLayoutAndItsRights)
{
    // Root may write every folder, so for root "writable" is always true:
    // only the layout keeps an installed program's folder clean.
    const PlaceCase cases[] = {
        {"portable, the user's", true, true, kProgram},
        {"portable, read-only", true, false, kUserConfig},
        {"installed, user", false, false, kUserConfig},
        {"installed, root", false, true, kUserConfig},
        {"portable, root", true, true, kProgram},
    };
    for (const PlaceCase &c : cases) {
        EXPECT_EQ(settingsFolderFor({kProgram, c.languageFolder, c.writable, kConfig}), c.expected)
            << c.layout;
    }
}

TEST(SettingsPlace, AMissingConfigurationFolderIsCreated)
{
    QTemporaryDir home;
    const QString config = home.filePath(QStringLiteral(".config"));
    const QString file = settingsFileFor({kProgram, false, false, config});
    EXPECT_EQ(file, config + QStringLiteral("/orvane/setting.ini"));
    EXPECT_TRUE(QFileInfo(file).absoluteDir().exists());
}

// An unpacked or moved installation brings its icon in share/icons beside
// share/orvane; only the square PNG sizes of the program's own icon count.
TEST(InstalledIcon, IsFoundBesideTheDataFolderSmallestFirst)
{
    QTemporaryDir root;
    const QString share = root.filePath(QStringLiteral("usr/share"));
    const QString data = share + QStringLiteral("/orvane/");
    ASSERT_TRUE(QDir().mkpath(data));
    EXPECT_TRUE(installedIconFilesIn(data).isEmpty()) << "no icons folder at all";

    const auto put = [&](const QString &relative) {
        const QString path = share + QStringLiteral("/icons/hicolor/") + relative;
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        return file.open(QIODevice::WriteOnly);
    };
    for (const char *file :
         {"256x256/apps/orvane.png", "16x16/apps/orvane.png", "48x48/apps/orvane.png",
          "scalable/apps/orvane.svg", "32x32/apps/other.png", "24x32/apps/orvane.png"})
        ASSERT_TRUE(put(QString::fromLatin1(file)));
    const QString icons = share + QStringLiteral("/icons/hicolor/");
    EXPECT_EQ(installedIconFilesIn(data),
              (QStringList{icons + QStringLiteral("16x16/apps/orvane.png"),
                           icons + QStringLiteral("48x48/apps/orvane.png"),
                           icons + QStringLiteral("256x256/apps/orvane.png")}));
}

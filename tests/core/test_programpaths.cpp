// Where the settings live: beside a portable program, in the user's
// configuration folder for an installed one.
#include "core/programpaths.h"
#include "tests/support/qtprint.h"

#include <QDir>
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

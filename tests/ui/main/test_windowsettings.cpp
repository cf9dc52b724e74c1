// What the main window remembers between runs, read and written through a
// real setting.ini.
#include "ui/main/windowsettings.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orvane::ui;

namespace {

class WindowSettings : public ::testing::Test
{
protected:
    void write(const QByteArray &ini)
    {
        QFile f(m_ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(ini);
    }
    QByteArray read() const
    {
        QFile f(m_ini);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir m_dir;
    QString m_ini = m_dir.filePath(QStringLiteral("setting.ini"));
};

} // namespace

TEST_F(WindowSettings, ShowSettingTexts)
{
    const PanelVisibility some = parseShowSetting(QStringLiteral("TFTTTF"));
    EXPECT_TRUE(some.bar);
    EXPECT_EQ(some.bands, (std::array<bool, 5>{false, true, true, true, false}));
    EXPECT_EQ(showSettingText(some), QStringLiteral("TFTTTF"));
    EXPECT_EQ(parseShowSetting(QStringLiteral("TTF")), PanelVisibility{}) << "short: all shown";
    EXPECT_FALSE(parseShowSetting(QStringLiteral("FTTTTTextra")).bar);
    EXPECT_FALSE(parseShowSetting(QStringLiteral("tTTTTT")).bar) << "only T shows";
}

TEST_F(WindowSettings, PanelModesAndMemorizeWritesBack)
{
    EXPECT_EQ(readPanelMode(m_ini), PanelMode::All);
    write("[Control Panels Setting]\r\nMode=MEMORIZE\r\nShow Setting=TFTTTF\r\n");
    EXPECT_EQ(readPanelMode(m_ini), PanelMode::Memorize);
    const PanelVisibility panels = readShowSetting(m_ini);
    EXPECT_TRUE(writeShowSettingOnClose(m_ini, panels));
    EXPECT_TRUE(read().contains("Show Setting=TFTTTF"));

    write("[Control Panels Setting]\r\nMode=Customize\r\n");
    EXPECT_FALSE(writeShowSettingOnClose(m_ini, PanelVisibility{}));
    write("[Control Panels Setting]\r\nMode=sometimes\r\n");
    EXPECT_EQ(readPanelMode(m_ini), PanelMode::Other);
    EXPECT_FALSE(writeShowSettingOnClose(m_ini, PanelVisibility{}));
    EXPECT_FALSE(read().contains("Show Setting"));
}

TEST_F(WindowSettings, PositionIsRememberedOnlyInTheNormalState)
{
    const WindowPosition current{kStateNormal, 100, 200, 0, 0};
    const WindowPosition fresh = readWindowPosition(m_ini, current);
    EXPECT_EQ(fresh.left, 100);
    EXPECT_EQ(fresh.pictureWidth, 5655);
    EXPECT_EQ(fresh.pictureHeight, 4305);

    writeWindowPosition(m_ini, {kStateNormal, 1500, 900, 6000, 4500});
    const WindowPosition back = readWindowPosition(m_ini, current);
    EXPECT_EQ(back.left, 1500);
    EXPECT_EQ(back.pictureHeight, 4500);

    writeWindowPosition(m_ini, {kStateMaximised, 0, 0, 20000, 15000});
    const WindowPosition maximised = readWindowPosition(m_ini, current);
    EXPECT_EQ(maximised.state, kStateMaximised);
    EXPECT_EQ(maximised.pictureWidth, 6000) << "only the state is written when maximised";

    write("[Main Window Position]\r\nMemory=False\r\nLeft=5\r\nState=2\r\n");
    const WindowPosition off = readWindowPosition(m_ini, current);
    EXPECT_EQ(off.left, 100);
    EXPECT_EQ(off.state, kStateNormal);
    writeWindowPosition(m_ini, {kStateNormal, 1, 2, 3, 4});
    EXPECT_EQ(read(), "[Main Window Position]\r\nMemory=False\r\nLeft=5\r\nState=2\r\n");
}

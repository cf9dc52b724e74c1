// The about box: its texts come from the language file and the system, and
// its system information button starts a program found on PATH or says
// there is none.
#include "core/modmain.h"
#include "tests/core/fakemessagebox.h"
#include "tests/support/qtprint.h"
#include "ui/dialogs/frmabout.h"
#include "ui/main/artwork.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::ui;

namespace {

class AboutTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString file = m_temp.filePath(QStringLiteral("Test.ovs"));
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("[About]\r\nCaption=Info\r\nOK=Fine\r\nSystem=Sys\r\nVersion=Ver\r\n"
                  "Update=Upd\r\nOperatingSystem=OS...\r\nNoSysInfo=None here\r\n");
        core::modMain::LanguageFile = file;
    }
    void TearDown() override { core::modMain::LanguageFile.clear(); }

    QString makeProgram(const QString &folder, const QString &name)
    {
        const QString path = folder + u'/' + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\nexit 0\n");
        file.close();
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        return path;
    }

    QTemporaryDir m_temp;
};

} // namespace

TEST_F(AboutTest, TextsFollowTheLanguageFileAndTheSystem)
{
    EXPECT_EQ(aboutVersionText(1, 20, 3), QStringLiteral("Ver 1.20.3 Upd "));
    core::OSInfo info;
    info.OSName = QStringLiteral("Debian GNU/Linux");
    info.Edition = QStringLiteral("12 (bookworm)");
    info.MajorVersion = 6;
    info.MinorVersion = 1;
    info.BuildNumber = 76;
    EXPECT_EQ(aboutSystemText(info),
              QStringLiteral("OS...\nDebian GNU/Linux 12 (bookworm)\n          6.1.76"));

    frmAbout about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("Info"));
    EXPECT_EQ(about.cmdOK()->text(), QStringLiteral("Fine"));
    EXPECT_EQ(about.cmdSysInfo()->text(), QStringLiteral("Sys"));
    EXPECT_TRUE(about.lblVersion()->text().startsWith(QStringLiteral("Ver ")));
    EXPECT_EQ(about.lblCopy()->text(), kCopyrightLines);
    EXPECT_TRUE(about.lblWinVer()->text().startsWith(QStringLiteral("OS...\n")));
    // The form is at least as tall as its logo.
    EXPECT_FALSE(about.imgLogo()->pixmap().isNull());
    EXPECT_GE(about.height(), about.imgLogo()->pixmap().height());
}

TEST_F(AboutTest, TheFirstSystemInformationProgramOnThePathIsChosen)
{
    const QString first = m_temp.filePath(QStringLiteral("first"));
    const QString second = m_temp.filePath(QStringLiteral("second"));
    QDir().mkpath(first);
    QDir().mkpath(second);
    const QString kinfo = makeProgram(second, QStringLiteral("kinfocenter"));
    const QStringList programs = systemInformationPrograms();
    EXPECT_EQ(findSystemInformationProgram(programs, {first, second}), kinfo);
    // An earlier program of the list wins over a later one in an earlier
    // folder; a file that is not executable is no program.
    const QString hardinfo = makeProgram(second, QStringLiteral("hardinfo"));
    makeProgram(first, QStringLiteral("gnome-system-monitor"));
    EXPECT_EQ(findSystemInformationProgram(programs, {first, second}), hardinfo);
    QFile::setPermissions(hardinfo, QFileDevice::ReadOwner);
    EXPECT_EQ(findSystemInformationProgram(programs, {first, second}), kinfo);
    EXPECT_EQ(findSystemInformationProgram(programs, {}), QString());
}

TEST_F(AboutTest, WithoutAProgramTheUserIsTold)
{
    test::FakeMessageBox box;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", m_temp.path().toLocal8Bit());
    frmAbout about;
    about.cmdSysInfo()->click();
    qputenv("PATH", path);
    ASSERT_EQ(box.shown.size(), 1);
    EXPECT_EQ(box.shown.first().text, QStringLiteral("None here"));
    EXPECT_EQ(box.shown.first().buttons, core::MessageButtons::Ok);
}

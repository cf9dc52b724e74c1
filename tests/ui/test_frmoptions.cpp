// The options dialog's general page: what it shows of setting.ini, what
// OK writes back and hands to the running program, and that Cancel writes
// nothing.
#include "core/modmain.h"
#include "ui/dialogs/frmoptions.h"
#include "ui/dialogs/generaloptions.h"

#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::ui;

namespace {

class Options : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        core::modMain::LanguageFile =
            QStringLiteral(ORVANE_SOURCE_DIR "/resources/Language/Default.ovs");
    }
    void TearDown() override
    {
        core::modMain::LanguageFile.clear();
        core::modMain::TryOtherEngine = false;
        core::modMain::AutoPlay = true;
        core::modMain::UseShortPath = true;
    }
    void write(const QByteArray &text)
    {
        QFile f(m_ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
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

TEST_F(Options, ReadsTheDefaultsAndTheExactScreenSaverTexts)
{
    EXPECT_EQ(readGeneralOptions(m_ini), GeneralOptions{});
    write("[General Setting]\r\nRun Screen Saver=no\r\nSet Screen Saver=Yes\r\n"
          "Restore Playlist=false\r\nAutoPlay=0\r\n[Main Window Position]\r\nMemory=False\r\n");
    const GeneralOptions o = readGeneralOptions(m_ini);
    EXPECT_FALSE(o.doNotRunScreenSaver) << "only the exact No keeps it off";
    EXPECT_TRUE(o.setScreenSaver);
    EXPECT_FALSE(o.restorePlaylist);
    EXPECT_FALSE(o.autoPlay);
    EXPECT_FALSE(o.windowMemory);
}

TEST_F(Options, WritingKeepsOtherLinesAndActsAtOnce)
{
    write("; mine\r\n[General Setting]\r\nLanguageFile=/x/Japanese.ovs\r\n");
    GeneralOptions o;
    o.setScreenSaver = true; // without the box above it, never turned on at exit
    o.tryOtherEngine = true;
    o.autoPlay = false;
    o.shortPath = false;
    o.restorePlaylist = false;
    writeGeneralOptions(m_ini, o);
    const QByteArray text = read();
    EXPECT_TRUE(text.startsWith("; mine\r\n[General Setting]\r\nLanguageFile=/x/Japanese.ovs\r\n"))
        << text.constData();
    EXPECT_TRUE(text.contains("Run Screen Saver=Yes\r\nSet Screen Saver=No\r\n"));
    EXPECT_TRUE(text.contains("Restore Playlist=False"));
    EXPECT_TRUE(core::modMain::TryOtherEngine);
    EXPECT_FALSE(core::modMain::AutoPlay);
    EXPECT_FALSE(core::modMain::UseShortPath);
    GeneralOptions back = o;
    back.setScreenSaver = false;
    EXPECT_EQ(readGeneralOptions(m_ini), back);

    o.doNotRunScreenSaver = true;
    writeGeneralOptions(m_ini, o);
    EXPECT_TRUE(read().contains("Run Screen Saver=No\r\nSet Screen Saver=Yes\r\n"));
}

TEST_F(Options, TheDialogShowsTheSettingsAndOkWritesThem)
{
    write("[General Setting]\r\nRun Screen Saver=No\r\nSet Screen Saver=Yes\r\n");
    {
        frmOptions dialog(m_ini);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Orvane Options"));
        EXPECT_EQ(dialog.chkRestorePlaylist()->text(),
                  QStringLiteral("R&eopen the last playlist when Orvane starts"));
        EXPECT_TRUE(dialog.chkRestorePlaylist()->isChecked()) << "on by default";
        EXPECT_TRUE(dialog.chkSetScr()->isChecked() && dialog.chkSetScr()->isEnabled());
        dialog.chkDonotRunScr()->click();
        EXPECT_FALSE(dialog.chkSetScr()->isEnabled()) << "follows the box above";
        dialog.chkRestorePlaylist()->click();
        dialog.cmdCancel()->click();
    }
    EXPECT_FALSE(read().contains("Restore Playlist")) << "Cancel writes nothing";

    frmOptions dialog(m_ini);
    dialog.chkRestorePlaylist()->click();
    dialog.cmdOK()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(read().contains("Restore Playlist=False"));
    EXPECT_TRUE(read().contains("Set Screen Saver=Yes"));
}

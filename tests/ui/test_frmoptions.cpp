// The options dialog: what it shows of setting.ini, what OK writes back (in
// which order, with which letter case) and hands to the running program,
// when it tells that a change waits for the next start, and that Cancel
// writes nothing.
#include "core/filetypes.h"
#include "core/modmain.h"
#include "core/runsettings.h"
#include "tests/core/fakemessagebox.h"
#include "ui/dialogs/frmoptions.h"
#include "ui/dialogs/optionsvalues.h"
#include "ui/toolkit/commondialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::ui;
using orvane::test::FakeMessageBox;

namespace {

const QString kDefaultOvs = QStringLiteral(ORVANE_SOURCE_DIR "/resources/Language/Default.ovs");

class Options : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        core::runSettings().reset();
        core::modMain::LanguageFile = kDefaultOvs;
        core::modMain::ProcessingMode = 1;
        core::modMain::MainForm = nullptr;
    }
    void TearDown() override
    {
        core::modMain::LanguageFile.clear();
        core::modMain::MainForm = nullptr;
        core::runSettings().reset();
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
    QString languageFile(const QString &name, const QByteArray &header)
    {
        const QString path = m_dir.filePath(QStringLiteral("lang/") + name);
        QDir().mkpath(m_dir.filePath(QStringLiteral("lang")));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("[Orvane Language Settings]\r\n" + header);
        return path;
    }

    FakeMessageBox m_box;
    QTemporaryDir m_dir;
    QString m_ini = m_dir.filePath(QStringLiteral("setting.ini"));
};

QStringList noticesOf(const QString &ini, const OptionsValues &values)
{
    QStringList keys;
    writeOptionsValues(ini, values, [&](const QString &key) { keys << key; });
    return keys;
}

} // namespace

TEST_F(Options, ReadsDefaultsAndTheStoredTextsAsTheProgramComparesThem)
{
    OptionsValues none = readOptionsValues(m_ini);
    EXPECT_EQ(none.panelMode, PanelMode::All);
    EXPECT_EQ(none.processingMode, 1);
    EXPECT_EQ(none.processingInterval, 500);
    EXPECT_EQ(none.wmp, (ExtensionChoice{false, core::kBuiltinWmpFileTypes}));
    EXPECT_EQ(none.real, (ExtensionChoice{false, core::kBuiltinRealFileTypes}));
    EXPECT_TRUE(none.orgBar);
    core::runSettings().setOrgBar(false);
    EXPECT_FALSE(readOptionsValues(m_ini).orgBar) << "the window's own caption as it is now";

    write("[General Setting]\r\nRun Screen Saver=no\r\nSet Screen Saver=Yes\r\nAutoPlay=0\r\n"
          "Processing Mode=7\r\nProcessing Interval=40\r\n"
          "[Control Panels Setting]\r\nMode=MEMORIZE\r\nShow Setting=TF\r\n"
          "[RealPlayer Setting]\r\nFile Types=.rm;.xyz\r\n[Media Player Setting]\r\nFile Types=\r\n"
          "[Main Window Position]\r\nMemory=False\r\n");
    const OptionsValues o = readOptionsValues(m_ini);
    EXPECT_FALSE(o.doNotRunScreenSaver) << "only the exact No keeps it off";
    EXPECT_TRUE(o.setScreenSaver);
    EXPECT_FALSE(o.autoPlay);
    EXPECT_FALSE(o.windowMemory);
    EXPECT_EQ(o.processingMode, 1) << "anything but 0 runs as the loop";
    EXPECT_EQ(o.processingInterval, 40);
    EXPECT_EQ(o.panelMode, PanelMode::Memorize) << "compared in lower case";
    EXPECT_EQ(o.shownPanels, PanelVisibility{}) << "too short: all shown";
    EXPECT_EQ(o.real, (ExtensionChoice{true, QStringLiteral(".rm;.xyz")}));
    EXPECT_FALSE(o.wmp.edit) << "an empty list is the built-in one";
}

TEST_F(Options, OkWritesEveryKeyInItsOrderAndLetterCase)
{
    write("; mine\r\n[General Setting]\r\nLanguageFile=/x/Japanese.ovs\r\n");
    OptionsValues v;
    v.doNotRunScreenSaver = true;
    v.setScreenSaver = true;
    v.tryOtherEngine = true;
    v.orgBar = false;
    v.restorePlaylist = false;
    v.languageFile.clear(); // none chosen: the stored one stays
    v.panelMode = PanelMode::Customize;
    v.shownPanels.bands[1] = false;
    v.processingInterval = 250;
    v.real = {true, QStringLiteral(".rm;.ra")};
    v.wmp = {false, QStringLiteral(".edited;.but;.not;.ticked")};
    v.scmpx = QStringLiteral("/opt/scmpx/SCMPX.exe");
    writeOptionsValues(m_ini, v, {});
    EXPECT_EQ(read(), QByteArray("; mine\r\n[General Setting]\r\nLanguageFile=/x/Japanese.ovs\r\n"
                                 "Run Screen Saver=No\r\nSet Screen Saver=Yes\r\n"
                                 "Try Open Other Mode=True\r\nAutoPlay=True\r\nShortPath=True\r\n"
                                 "ShowOrgBar=False\r\nRestore Playlist=False\r\n"
                                 "Processing Mode=1\r\nProcessing Interval=250\r\n"
                                 "[Main Window Position]\r\nMemory=True\r\n"
                                 "[Control Panels Setting]\r\nMode=Customize\r\n"
                                 "Show Setting=TTFTTT\r\n"
                                 "[Media Player Setting]\r\nFile Types=\r\n"
                                 "[RealPlayer Setting]\r\nFile Types=.rm;.ra\r\n"
                                 "[Convert Setting]\r\nSCMPX=/opt/scmpx/SCMPX.exe\r\n"));
    EXPECT_EQ(readOptionsValues(m_ini).real, v.real) << "read back as written";

    v.setScreenSaver = true;
    v.doNotRunScreenSaver = false; // only a run that keeps it off turns it on at exit
    v.panelMode = PanelMode::Memorize;
    writeOptionsValues(m_ini, v, {});
    EXPECT_TRUE(read().contains("Run Screen Saver=Yes\r\nSet Screen Saver=No\r\n"));
    EXPECT_TRUE(read().contains("Mode=Memorize\r\n"));
    v.panelMode = PanelMode::Other;
    writeOptionsValues(m_ini, v, {});
    EXPECT_TRUE(read().contains("Mode=All\r\n"));
}

TEST_F(Options, OkHandsOverWhatActsAtOnceAndKeepsWhatWaitsForTheNextStart)
{
    core::RunSettings &run = core::runSettings();
    QSignalSpy interval(&run, &core::RunSettings::processingIntervalChanged);
    QSignalSpy orgBar(&run, &core::RunSettings::orgBarChanged);
    OptionsValues v = readOptionsValues(m_ini);
    v.tryOtherEngine = true;
    v.autoPlay = false;
    v.shortPath = false;
    v.orgBar = false;
    v.processingMode = 0;
    v.processingInterval = 120;
    v.real.list = QStringLiteral(".rm;.zzz"); // not ticked: nothing changes
    writeOptionsValues(m_ini, v, {});
    EXPECT_TRUE(run.tryOtherEngine());
    EXPECT_FALSE(run.autoPlay());
    EXPECT_FALSE(core::modMain::AutoPlay) << "what adding media reads";
    EXPECT_FALSE(run.useShortPath());
    EXPECT_EQ(run.processingInterval(), 120);
    ASSERT_EQ(interval.size(), 1);
    EXPECT_EQ(interval.at(0).at(0).toInt(), 120);
    EXPECT_EQ(run.processingMode(), 1) << "the mode in use stays";
    EXPECT_EQ(core::modMain::ProcessingMode, 1);
    EXPECT_TRUE(orgBar.isEmpty()) << "no main window to draw a caption on";
    EXPECT_TRUE(run.orgBar());
    EXPECT_EQ(core::modMain::RealFileTypes, core::kBuiltinRealFileTypes);

    QObject window;
    core::modMain::MainForm = &window;
    v.real.edit = true;
    writeOptionsValues(m_ini, v, {});
    ASSERT_EQ(orgBar.size(), 1);
    EXPECT_FALSE(orgBar.at(0).at(0).toBool());
    EXPECT_EQ(interval.size(), 1) << "the same interval again is no change";
    EXPECT_EQ(core::modMain::RealFileTypes, QStringLiteral(".rm;.zzz"));
    EXPECT_EQ(core::modMain::RealFilter, QStringLiteral("*.rm;*.zzz"));
    EXPECT_EQ(core::modMain::WmpFileTypes, core::kBuiltinWmpFileTypes)
        << "an unedited list is the built-in one";
    EXPECT_TRUE(core::modMain::WmpFilter.startsWith(QStringLiteral("*.avi;*.asf;")));
}

TEST_F(Options, TellsOnlyOfALanguageOrModeThatDiffersFromTheOneInUse)
{
    OptionsValues v = readOptionsValues(m_ini);
    v.languageFile = kDefaultOvs;
    EXPECT_EQ(noticesOf(m_ini, v), QStringList{}) << "confirmed unchanged";
    v.languageFile = QStringLiteral(ORVANE_SOURCE_DIR "/resources/Language/../Language/"
                                                      "Default.ovs");
    EXPECT_EQ(noticesOf(m_ini, v), QStringList{}) << "the same file by another path";
    v.languageFile = QStringLiteral(ORVANE_SOURCE_DIR "/resources/Language/Japanese.ovs");
    v.processingMode = 0;
    EXPECT_EQ(noticesOf(m_ini, v),
              (QStringList{QStringLiteral("mesLang"), QStringLiteral("mesprMode")}));
    EXPECT_EQ(core::modMain::LanguageFile, kDefaultOvs) << "the language in use stays";
    EXPECT_TRUE(read().contains("LanguageFile=" ORVANE_SOURCE_DIR));
}

TEST_F(Options, OffersTheLanguageFilesByTheirNamesAndTellsWhatTheySayOfThemselves)
{
    const QString en = languageFile(QStringLiteral("English.OVS"),
                                    "Version=1.06\r\nLanguage=English\r\nCreator=Ann\r\n"
                                    "URL=https://a.example/\r\nMail=ann@a.example\r\n"
                                    "Comment=Hello\r\n");
    const QString nameless = languageFile(QStringLiteral("Mine.ovs"), "Version=1.06\r\n");
    languageFile(QStringLiteral("notes.txt"), "Language=Not one\r\n");
    const QString folder = m_dir.filePath(QStringLiteral("lang"));
    const QList<LanguageChoice> found = findLanguageFiles({folder, folder + u'/'});
    ASSERT_EQ(found.size(), 2) << "a file found twice is offered once";
    EXPECT_EQ(found[0].path, en);
    EXPECT_EQ(found[0].name, QStringLiteral("English"));
    EXPECT_EQ(found[1].name, QStringLiteral("Mine")) << "no blank entry for a nameless file";

    EXPECT_EQ(languageIndexOf(found, nameless), 1);
    EXPECT_EQ(languageIndexOf(found, en.toLower()), 0) << "letter case ignored at last";
    EXPECT_EQ(languageIndexOf(found, folder + QStringLiteral("/Gone.ovs")), -1);

    EXPECT_EQ(languageInfoText(en), QStringLiteral("English\r\n\t\tVersion 1.06\r\n"
                                                   "Creator\t: Ann\r\n"
                                                   "HomePage\t: https://a.example/\r\n"
                                                   "E-Mail\t: ann@a.example\r\nHello"));
    EXPECT_EQ(intervalText(50), QStringLiteral("050msec."));
    EXPECT_EQ(intervalText(1500), QStringLiteral("1500msec."));
}

TEST_F(Options, CancelWritesNothing)
{
    write("[General Setting]\r\nAutoPlay=True\r\n");
    {
        frmOptions dialog(m_ini);
        dialog.chkAutoPlay()->click();
        dialog.comprMode()->setCurrentIndex(0);
        dialog.cmdCancel()->click();
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    EXPECT_EQ(read(), QByteArray("[General Setting]\r\nAutoPlay=True\r\n"));
    EXPECT_TRUE(core::modMain::AutoPlay);
    EXPECT_TRUE(m_box.shown.isEmpty());
}

TEST_F(Options, TheBoxesThatDependOnOthersFollowThem)
{
    write("[General Setting]\r\nRun Screen Saver=No\r\nSet Screen Saver=Yes\r\n"
          "Processing Mode=0\r\nProcessing Interval=3\r\n"
          "[Control Panels Setting]\r\nMode=customize\r\nShow Setting=TFTTTT\r\n");
    frmOptions dialog(m_ini);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Orvane Options"));
    EXPECT_TRUE(dialog.chkSetScr()->isChecked() && dialog.chkSetScr()->isEnabled());
    dialog.chkDonotRunScr()->click();
    EXPECT_FALSE(dialog.chkSetScr()->isEnabled()) << "follows the box above";

    dialog.showPage(QStringLiteral("general2"));
    EXPECT_TRUE(dialog.lstControls()->isEnabled()) << "customized panels are chosen here";
    EXPECT_FALSE(dialog.lstControls()->item(1)->isSelected());
    EXPECT_TRUE(dialog.lstControls()->item(2)->isSelected());
    dialog.optAllControls()->click();
    EXPECT_FALSE(dialog.lstControls()->isEnabled());
    EXPECT_TRUE(dialog.fraInterval()->isEnabled()) << "timer mode";
    EXPECT_EQ(dialog.fsbInterval()->value(), kMinimumInterval) << "kept in range";
    EXPECT_EQ(dialog.lblInterval()->text(), intervalText(kMinimumInterval));
    dialog.comprMode()->setCurrentIndex(1);
    EXPECT_FALSE(dialog.fraInterval()->isEnabled());
    dialog.comprMode()->setCurrentIndex(0);

    dialog.cmdOK()->click();
    EXPECT_TRUE(read().contains("Run Screen Saver=Yes\r\nSet Screen Saver=No\r\n"));
    EXPECT_TRUE(read().contains("Mode=All\r\nShow Setting=TFTTTT\r\n"));
    const QByteArray interval = "Processing Interval=" + QByteArray::number(kMinimumInterval);
    EXPECT_TRUE(read().contains(interval));
    ASSERT_EQ(m_box.shown.size(), 1) << "the mode differs from the loop in use";
    EXPECT_EQ(m_box.shown[0].text,
              QStringLiteral("The new processing mode will be used the next time Orvane starts."));
    EXPECT_EQ(m_box.shown[0].icon, core::MessageIcon::Information);
}

TEST_F(Options, TheExtensionPagesShareOneFrameAndKeepEachEnginesList)
{
    write("[Media Player Setting]\r\nFile Types=.mp3;.ogg\r\n");
    frmOptions dialog(m_ini);
    dialog.showPage(QStringLiteral("rap"));
    EXPECT_TRUE(dialog.fraExtensions()->isVisibleTo(&dialog));
    EXPECT_FALSE(dialog.chkAutoPlay()->isVisibleTo(&dialog)) << "one page at a time";
    EXPECT_EQ(dialog.fraExtensions()->title(), QStringLiteral("mpv engine's file types"));
    EXPECT_EQ(dialog.chkEditExtensions()->text(),
              QStringLiteral("Edit the file types (mpv engine)"));
    EXPECT_FALSE(dialog.chkEditExtensions()->isChecked());
    EXPECT_FALSE(dialog.txtExtensions()->isEnabled());
    EXPECT_EQ(dialog.txtExtensions()->toPlainText(), core::kBuiltinRealFileTypes);
    dialog.chkEditExtensions()->click();
    EXPECT_TRUE(dialog.txtExtensions()->isEnabled());
    dialog.txtExtensions()->setPlainText(QStringLiteral(".rm;\r\n.ra"));
    EXPECT_EQ(dialog.txtExtensions()->toPlainText(), QStringLiteral(".rm;.ra"))
        << "a line break would make the key unwritable";

    dialog.showPage(QStringLiteral("wmp"));
    EXPECT_TRUE(dialog.chkEditExtensions()->isChecked());
    EXPECT_EQ(dialog.txtExtensions()->toPlainText(), QStringLiteral(".mp3;.ogg"));
    dialog.txtExtensions()->setPlainText(QString(300, u'x'));
    EXPECT_EQ(dialog.txtExtensions()->toPlainText().size(), 255)
        << "what setting.ini gives back in full";
    dialog.showPage(QStringLiteral("rap"));
    EXPECT_EQ(dialog.txtExtensions()->toPlainText(), QStringLiteral(".rm;.ra"));
    dialog.chkEditExtensions()->click(); // edited, then given up

    EXPECT_EQ(dialog.values().real, (ExtensionChoice{false, QStringLiteral(".rm;.ra")}));
    dialog.cmdOK()->click();
    EXPECT_TRUE(read().contains("[RealPlayer Setting]\r\nFile Types=\r\n"))
        << "the built-in list applies again";
    const QByteArray edited = "[Media Player Setting]\r\nFile Types=" + QByteArray(255, 'x');
    EXPECT_TRUE(read().contains(edited));
    EXPECT_EQ(core::modMain::RealFileTypes, core::kBuiltinRealFileTypes);
}

TEST_F(Options, WithoutLanguageFilesNoneIsOfferedAndTheStoredOneStays)
{
    write("[General Setting]\r\nLanguageFile=/elsewhere/Mine.ovs\r\n");
    frmOptions dialog(m_ini);
    // The test program has no Language folder beside it.
    ASSERT_EQ(dialog.comLanguage()->count(), 0);
    dialog.cmdOK()->click();
    EXPECT_TRUE(read().contains("LanguageFile=/elsewhere/Mine.ovs\r\n"));
    EXPECT_TRUE(m_box.shown.isEmpty()) << "nothing changed that waits for the next start";
}

TEST_F(Options, TheConverterIsChosenInTheFileDialogAndACancelKeepsTheOldPath)
{
    const QString program = m_dir.filePath(QStringLiteral("SCMPX.exe"));
    QFile(program).open(QIODevice::WriteOnly);
    write("[Convert Setting]\r\nSCMPX=/old/SCMPX.exe\r\n");
    QString title;
    QStringList filters;
    bool choose = false;
    testhooks::setFileDialogRunner([&](QFileDialog &fileDialog) {
        title = fileDialog.windowTitle();
        filters = fileDialog.nameFilters();
        if (!choose) {
            fileDialog.reject();
            return fileDialog.result();
        }
        fileDialog.selectFile(program);
        static_cast<QDialog &>(fileDialog).accept();
        return fileDialog.result();
    });
    frmOptions dialog(m_ini);
    dialog.showPage(QStringLiteral("convert"));
    dialog.comView()->click();
    EXPECT_EQ(title, QStringLiteral("Choose the Converter Program"));
    ASSERT_EQ(filters.size(), 1);
    EXPECT_TRUE(filters[0].contains(QStringLiteral("SCMPX.exe")));
    EXPECT_EQ(dialog.txtscmpx()->text(), QStringLiteral("/old/SCMPX.exe"));
    choose = true;
    dialog.comView()->click();
    testhooks::setFileDialogRunner({});
    EXPECT_EQ(dialog.txtscmpx()->text(), program);
}

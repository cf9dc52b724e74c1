// The open dialog: its modes and drives, the folder its browse button
// starts in, what it hands to the adding of media.
#include "core/drives.h"
#include "core/modmain.h"
#include "ui/dialogs/browsefolder.h"
#include "ui/dialogs/frmopendialog.h"
#include "ui/toolkit/commondialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace orvane::test {
namespace {

using ui::frmOpenDialog;

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

TEST(BrowseFolder, StartFolderOfThePathText)
{
    const QString kNoDialog = QStringLiteral("<none>");
    const struct {
        const char *path;
        const char *folder; // "<none>": the button does nothing
    } cases[] = {
        {"", ""},
        {"/home/me/music/a.mp3", "/home/me/music/"},
        {"a.mp3", ""},
        {"C:\\Music\\a.mp3", "C:\\Music\\"},
        {"C:\\Music/sub/a.mp3", "C:\\"},
        // A comma without any separator: no dialog.
        {"a,b.mp3", "<none>"},
        // Folder followed by names.
        {"C:\\Music,a.mp3,b.mp3", "C:\\Music\\"},
        {"C:\\Music\\,a.mp3,b.mp3", "C:\\Music\\"},
        {"/home/me/music,a.mp3,b.mp3", "/home/me/music/"},
        {"/home/me/music/,a.mp3,b.mp3", "/home/me/music/"},
        // Full paths separated by commas: the first one's folder.
        {"C:\\Music\\a.mp3,C:\\Other\\b.mp3", "C:\\Music\\"},
        {"/srv/a.mp3,/tmp/b.mp3", "/srv/"},
        // A dot before the comma but no extension at the end.
        {"C:\\v1.2\\x,y", "C:\\v1.2\\x\\"},
        // A dot only after the comma: the text before the comma.
        {"/home/me/a,b/song.mp3", "/home/me/a/"},
        {",", "<none>"},
        {",/", "/"},
        {"/,.", "/"},
    };
    for (const auto &c : cases) {
        const std::optional<QString> folder = ui::BrowseFolder(text(c.path));
        EXPECT_EQ(folder.value_or(kNoDialog), text(c.folder)) << c.path;
    }
}

TEST(BrowseFolder, ExistingFolderWithACommaIsItsOwn)
{
    const auto exists = [](const QString &f) { return f == QStringLiteral("/home/me/a,b/"); };
    EXPECT_EQ(ui::BrowseFolder(QStringLiteral("/home/me/a,b/song.mp3"), exists),
              QStringLiteral("/home/me/a,b/"));
    EXPECT_EQ(ui::BrowseFolder(QStringLiteral("/home/me/c,d/song.mp3"), exists),
              QStringLiteral("/home/me/c/"));
    EXPECT_EQ(ui::BrowseFolder(QStringLiteral("a,b.mp3"), exists), std::nullopt);
}

core::DriveTable drivesOf(const QStringList &devices)
{
    return core::DriveTable::build(devices, {}, {});
}

class OpenDialog : public ::testing::Test
{
protected:
    OpenDialog()
    {
        core::modMain::LanguageFile =
            QStringLiteral(ORVANE_SOURCE_DIR "/resources/Language/Default.ovs");
        core::setDriveTableSource([] { return drivesOf({}); });
    }
    ~OpenDialog() override
    {
        core::setDriveTableSource({});
        ui::testhooks::setFileDialogRunner({});
    }

    frmOpenDialog::AddMediaCall recorder()
    {
        return [this](const QString &locations) { added.append(locations); };
    }

    // Records every show of the file dialog; user answers it.
    void recordBrowsing(std::function<int(QFileDialog &)> user)
    {
        ui::testhooks::setFileDialogRunner([this, user = std::move(user)](QFileDialog &dialog) {
            ++shows;
            shownFilter = dialog.selectedNameFilter();
            shownMode = dialog.fileMode();
            shownTitle = dialog.windowTitle();
            shownFolder = dialog.directory().absolutePath();
            return user(dialog);
        });
    }

    static int cancel(QFileDialog &dialog)
    {
        dialog.reject();
        return dialog.result();
    }

    ui::CommonDialog comDialog;
    QStringList added;
    int shows = 0;
    QString shownFilter;
    QFileDialog::FileMode shownMode = QFileDialog::Directory;
    QString shownTitle;
    QString shownFolder;
};

TEST_F(OpenDialog, ControlsAreNamedAndCaptionedFromTheLanguageFile)
{
    frmOpenDialog dialog(comDialog, recorder());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Open Media"));
    const struct {
        const char *name;
        const char *caption;
    } cases[] = {{"lblMode", "&Source"}, {"lblPath", "&Location"}, {"cmdDialog", "&Browse..."},
                 {"lblDrive", "&Drive"}, {"cmdOpen", "&Open"},     {"cmdCancel", "Cancel"}};
    for (const auto &c : cases) {
        QObject *control = dialog.findChild<QObject *>(text(c.name));
        ASSERT_NE(control, nullptr) << c.name;
        EXPECT_EQ(control->property("text").toString(), text(c.caption)) << c.name;
    }
    const QComboBox *modes = dialog.findChild<QComboBox *>(QStringLiteral("comMode"));
    ASSERT_NE(modes, nullptr);
    ASSERT_EQ(modes->count(), 3);
    EXPECT_EQ(modes->itemText(0), QStringLiteral("Files"));
    EXPECT_EQ(modes->itemText(1), QStringLiteral("Audio CD"));
    EXPECT_EQ(modes->itemText(2), QStringLiteral("Video CD"));
    EXPECT_EQ(modes->currentIndex(), 0);
    EXPECT_NE(dialog.findChild<QLineEdit *>(QStringLiteral("txtPath")), nullptr);
    EXPECT_NE(dialog.findChild<QComboBox *>(QStringLiteral("comDrive")), nullptr);
}

TEST_F(OpenDialog, WithoutDrivesAudioCdLeavesNothingToOpen)
{
    frmOpenDialog dialog(comDialog, recorder());
    EXPECT_EQ(dialog.comDrive()->count(), 0);
    EXPECT_FALSE(dialog.comDrive()->isEnabled());
    EXPECT_TRUE(dialog.txtPath()->isEnabled());
    dialog.txtPath()->setText(QStringLiteral("/music/typed.mp3"));

    dialog.comMode()->setCurrentIndex(1);
    EXPECT_EQ(dialog.txtPath()->text(), QString());
    EXPECT_FALSE(dialog.txtPath()->isEnabled());
    EXPECT_FALSE(dialog.cmdDialog()->isEnabled());
    EXPECT_TRUE(dialog.comDrive()->isEnabled());
    dialog.show();
    dialog.cmdOpen()->click();
    EXPECT_TRUE(added.isEmpty());
    EXPECT_TRUE(dialog.isVisible()); // nothing happens, the dialog stays
}

TEST_F(OpenDialog, DiscModesNameTheSelectedDrive)
{
    core::setDriveTableSource([] {
        return drivesOf({QStringLiteral("/dev/sr0"), QStringLiteral("/dev/sr1")});
    });
    frmOpenDialog dialog(comDialog, recorder());
    ASSERT_EQ(dialog.comDrive()->count(), 2);
    EXPECT_EQ(dialog.comDrive()->itemText(0), QStringLiteral("D:  /dev/sr0"))
        << "the letter and what is behind it";
    EXPECT_EQ(dialog.comDrive()->itemText(1), QStringLiteral("E:  /dev/sr1"));
    EXPECT_EQ(dialog.txtPath()->text(), QString()); // file mode at first
    EXPECT_FALSE(dialog.lblDrive()->isEnabled());

    const struct {
        int mode;
        int drive; // -1: leave it
        const char *path;
    } steps[] = {
        {1, -1, "AudioCD://D:"},
        {2, -1, "VideoCD://D:"},
        {2, 1, "VideoCD://E:"},
        {1, -1, "AudioCD://E:"},
        {0, -1, ""},
    };
    for (const auto &s : steps) {
        dialog.comMode()->setCurrentIndex(s.mode);
        if (s.drive >= 0)
            dialog.comDrive()->setCurrentIndex(s.drive);
        EXPECT_EQ(dialog.txtPath()->text(), text(s.path)) << s.mode << "/" << s.drive;
        EXPECT_EQ(dialog.lblPath()->isEnabled(), s.mode == 0);
        EXPECT_EQ(dialog.lblDrive()->isEnabled(), s.mode != 0);
    }
    // In file mode the drive list cannot overwrite a typed path.
    dialog.txtPath()->setText(QStringLiteral("/music/a.mp3"));
    dialog.comDrive()->setCurrentIndex(0);
    EXPECT_EQ(dialog.txtPath()->text(), QStringLiteral("/music/a.mp3"));
}

TEST_F(OpenDialog, EveryOpenModeStartsOnAllMedia)
{
    core::modMain::PlayListFilter = QStringLiteral("*.ovl");
    core::modMain::WmpFilter = QStringLiteral("*.avi;*.mp3");
    core::modMain::RealFilter = QStringLiteral("*.rm");
    const struct {
        qint16 openMode;
        const char *filter;
    } cases[] = {{1, "All Media (*.ovl *.m3u *.m3u8 *.ram *.asx *.avi *.mp3 *.rm)"},
                 {2, "All Media (*.ovl *.m3u *.m3u8 *.ram *.asx *.avi *.mp3 *.rm)"}};
    for (const auto &c : cases) {
        recordBrowsing(cancel);
        frmOpenDialog dialog(comDialog, recorder());
        dialog.OpenMode = c.openMode;
        dialog.cmdDialog()->click();
        EXPECT_EQ(shownFilter, text(c.filter));
        EXPECT_EQ(shownMode, QFileDialog::ExistingFiles);
        EXPECT_EQ(shownTitle, QStringLiteral("Choose Media or a Playlist"));
    }
    EXPECT_EQ(ui::OpenDialogPatternList(),
              QStringLiteral("All Media|*.ovl;*.m3u;*.m3u8;*.ram;*.asx;*.avi;*.mp3;*.rm|Playlists|"
                             "*.ovl;*.m3u;*.m3u8;*.ram;*.asx|Windows Media Player|*.avi;*.mp3|"
                             "RealPlayer|*.rm|All files|*"));
    core::modMain::WmpFilter.clear();
    core::modMain::RealFilter.clear();
}

TEST_F(OpenDialog, BrowseStartsInThePathsFolderAndCancelEmptiesIt)
{
    QTemporaryDir temp;
    recordBrowsing(cancel);
    frmOpenDialog dialog(comDialog, recorder());
    dialog.txtPath()->setText(temp.filePath(QStringLiteral("typed.mp3")));
    dialog.cmdDialog()->click();
    EXPECT_EQ(shows, 1);
    EXPECT_EQ(shownFolder, QDir(temp.path()).absolutePath());
    EXPECT_EQ(dialog.txtPath()->text(), QString());
}

TEST_F(OpenDialog, CommaWithoutSeparatorShowsNoDialog)
{
    recordBrowsing(cancel);
    frmOpenDialog dialog(comDialog, recorder());
    dialog.txtPath()->setText(QStringLiteral("one,two.mp3"));
    dialog.cmdDialog()->click();
    EXPECT_EQ(shows, 0);
    EXPECT_EQ(dialog.txtPath()->text(), QStringLiteral("one,two.mp3"));
}

// Through the real file dialog, typed into as a user would.
TEST_F(OpenDialog, ThreeFilesOfOneFolderBecomeAFolderList)
{
    QTemporaryDir temp;
    const QString folder = QDir(temp.path()).absolutePath();
    for (const char *name : {"a.mp3", "b.mp3", "c.mp3"}) {
        QFile file(folder + u'/' + text(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    bool shown = false;
    QTimer::singleShot(0, qApp, [&] {
        // Poll a bounded time for the modal file dialog.
        for (int tries = 0; tries < 500 && !shown; ++tries) {
            auto *fileDialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!fileDialog) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
                continue;
            }
            shown = true;
            auto *name = fileDialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            name->setText(QStringLiteral("\"a.mp3\" \"b.mp3\" \"c.mp3\""));
            static_cast<QDialog *>(fileDialog)->accept();
        }
        if (!shown) {
            while (QWidget *modal = QApplication::activeModalWidget())
                modal->close();
        }
    });
    frmOpenDialog dialog(comDialog, recorder());
    dialog.txtPath()->setText(folder + QStringLiteral("/old.mp3"));
    dialog.cmdDialog()->click();
    EXPECT_TRUE(shown);
    EXPECT_EQ(dialog.txtPath()->text(), folder + QStringLiteral("|a.mp3|b.mp3|c.mp3"));
}

TEST_F(OpenDialog, OpenHandsTheTextOverOnceAndCloses)
{
    bool visibleDuringAdding = true;
    int calls = 0;
    frmOpenDialog *self = nullptr;
    frmOpenDialog adding(comDialog, [&](const QString &locations) {
        ++calls;
        added.append(locations);
        visibleDuringAdding = self->isVisible();
        if (calls == 1)
            self->cmdOpen()->click(); // a second click while adding lets events run
    });
    self = &adding;
    adding.txtPath()->setText(QStringLiteral("/m|a.mp3|b.mp3"));
    QTimer::singleShot(0, &adding, [&] { adding.cmdOpen()->click(); });
    EXPECT_EQ(adding.exec(), QDialog::Accepted);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(added, QStringList{QStringLiteral("/m|a.mp3|b.mp3")});
    EXPECT_FALSE(visibleDuringAdding);
    EXPECT_FALSE(adding.isVisible());
}

TEST_F(OpenDialog, CancelAddsNothing)
{
    frmOpenDialog dialog(comDialog, recorder());
    dialog.txtPath()->setText(QStringLiteral("/music/a.mp3"));
    QTimer::singleShot(0, &dialog, [&] { dialog.cmdCancel()->click(); });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_TRUE(added.isEmpty());
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
} // namespace orvane::test

// The main window's menus and keys as a user meets them: the Help picture,
// the status-line help, the Controls menu, the playlist
// band commands, the Comment mark, and real key presses on the window.
#include "core/messagebox.h"
#include "core/modmain.h"
#include "core/programpaths.h"
#include "core/textcodec.h"
#include "playback/controller.h"
#include "playlist/ovlformat.h"
#include "playlist/playlistfile.h"
#include "playlist/playlistmodel.h"
#include "playlist/playliststore.h"
#include "playlist/sessionplaylist.h"
#include "tests/support/qtprint.h"
#include "tests/support/windowtesting.h"
#include "ui/dialogs/frmediter.h"
#include "ui/dialogs/frmenginereport.h"
#include "ui/dialogs/frmopendialog.h"
#include "ui/main/controlbar.h"
#include "ui/main/frmnormal.h"
#include "ui/main/mainmenus.h"
#include "ui/main/statuslabel.h"
#include "ui/main/twips.h"
#include "ui/toolkit/clsactivemenu.h"
#include "ui/toolkit/commondialog.h"

#include <QAction>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::ui;
using test::waitUntil;
using toolkit::clsActiveMenu;
using toolkit::MF_BYCOMMAND;

namespace {

class MainMenusTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QFile::remove(m_ini);
        QFile::remove(playlist::SessionPlayListPath(m_ini));
        QFile f(m_ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        // Timer-driven processing: the loop mode would run nested inside the
        // test's own waits.
        f.write("[General Setting]\r\nProcessing Mode=0\r\nProcessing Interval=1000\r\n");
        f.close();
        core::setMessageBoxService(&m_box);
        core::modMain::LanguageFile =
            QStringLiteral(ORVANE_SOURCE_DIR "/resources/Language/Default.ovs");
        m_window = std::make_unique<frmNormal>();
        m_window->Form_Load();
        core::modMain::PendingCommand.clear();
        m_window->show();
        ASSERT_TRUE(waitUntil([this] { return m_window->session() != nullptr; }));
        m_window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
        ASSERT_NE(m_window->menus(), nullptr);
    }
    void TearDown() override
    {
        if (m_window)
            m_window->close();
        m_window.reset();
        core::setMessageBoxService(nullptr);
        QFile::remove(m_ini);
        QFile::remove(playlist::SessionPlayListPath(m_ini));
        playback::state::LoadedMediaType = 0;
    }

    MainMenus &menus() { return *m_window->menus(); }
    clsActiveMenu &menu(int id) { return *menus().menuOf(id); }
    QString status() const { return m_window->statusLabel()->text(); }
    double bandTwips() const
    {
        return m_window->coolBar()->bandMinHeight(4) * twipsPerPixelY(m_window.get());
    }
    void pressOnWindow(Qt::Key key, Qt::KeyboardModifiers modifiers)
    {
        QWidget *target =
            QApplication::focusWidget() ? QApplication::focusWidget() : m_window.get();
        QTest::keyClick(target, key, modifiers);
    }

    QString m_ini = core::settingsFile();
    test::CountingBeeps m_box;
    std::unique_ptr<frmNormal> m_window;
};

} // namespace

// The Help menu's picture is shown but cannot be chosen.
TEST_F(MainMenusTest, TheHelpPictureCannotBeChosen)
{
    EXPECT_EQ(menu(71).pItemType(71, MF_BYCOMMAND), toolkit::MFT_BITMAP);
    EXPECT_EQ(menu(71).pItemEnabled(71, MF_BYCOMMAND), toolkit::kItemDisabled);
    EXPECT_FALSE(menu(71).pItemPicture(71, MF_BYCOMMAND).isNull());
}

TEST_F(MainMenusTest, StatusLineFollowsTheMenus)
{
    Q_EMIT menus().menuOf(1)->InitMenu(); // the File menu opens
    EXPECT_EQ(status(), QStringLiteral("Open and save playlists, or quit Orvane."));
    EXPECT_TRUE(m_window->menuHelpShown());
    Q_EMIT menus().menuOf(1)->MenuSelect(1);
    EXPECT_EQ(status(), QStringLiteral("Open media or a playlist file."));
    Q_EMIT menus().menuOf(4)->MenuSelect(4); // a separator
    EXPECT_EQ(status(), QStringLiteral("Choose a menu command."));
    Q_EMIT menus().ovMenu()->CloseMenu();
    EXPECT_EQ(status(), QStringLiteral("Ready"));
    EXPECT_FALSE(m_window->menuHelpShown());
}

TEST_F(MainMenusTest, HidingTheLastBandHidesTheBarUntilItIsShownAgain)
{
    CoolBar &bar = *m_window->coolBar();
    clsActiveMenu &controls = menu(41);
    for (int id = 43; id <= 47; ++id)
        m_window->ovmControls_MenuClick(id);
    EXPECT_TRUE(bar.isHidden());
    Q_EMIT controls.InitMenu();
    EXPECT_FALSE(controls.pItemChecked(41, MF_BYCOMMAND));
    for (int id = 43; id <= 47; ++id) {
        EXPECT_EQ(controls.pItemEnabled(id, MF_BYCOMMAND), toolkit::kItemGrayed) << id;
        EXPECT_FALSE(controls.pItemChecked(id, MF_BYCOMMAND)) << id;
    }
    m_window->ovmControls_MenuClick(41);
    EXPECT_FALSE(bar.isHidden());
    Q_EMIT controls.InitMenu();
    EXPECT_TRUE(controls.pItemChecked(41, MF_BYCOMMAND));
    // The bar does not come back as an empty strip: its panels come with it.
    for (int id = 43; id <= 47; ++id) {
        EXPECT_EQ(controls.pItemEnabled(id, MF_BYCOMMAND), toolkit::kItemEnabled) << id;
        EXPECT_TRUE(controls.pItemChecked(id, MF_BYCOMMAND)) << id;
    }
    m_window->ovmControls_MenuClick(44);
    Q_EMIT controls.InitMenu();
    EXPECT_FALSE(controls.pItemChecked(44, MF_BYCOMMAND));
    EXPECT_FALSE(bar.isBandVisible(2));
    EXPECT_FALSE(bar.isHidden());
}

TEST_F(MainMenusTest, PlayListBandGrowsAndShrinksWithinItsLimits)
{
    CoolBar &bar = *m_window->coolBar();
    const double perPixel = twipsPerPixelY(m_window.get());
    // Exactly one step below the top: reached without a beep.
    bar.setBandMinHeight(4, qRound((2910 - 240) / perPixel));
    m_window->ovmPlayList_MenuClick(31);
    EXPECT_DOUBLE_EQ(bandTwips(), qRound(2910 / perPixel) * perPixel);
    EXPECT_EQ(m_box.beeps, 0);
    // At the top: stays there and beeps.
    m_window->ovmPlayList_MenuClick(31);
    EXPECT_DOUBLE_EQ(bandTwips(), qRound(2910 / perPixel) * perPixel);
    EXPECT_EQ(m_box.beeps, 1);
    // Less than a step above the bottom: lands on it with a beep.
    bar.setBandMinHeight(4, qRound((1455 + 120) / perPixel));
    m_window->ovmPlayList_MenuClick(32);
    EXPECT_DOUBLE_EQ(bandTwips(), qRound(1455 / perPixel) * perPixel);
    EXPECT_EQ(m_box.beeps, 2);
}

TEST_F(MainMenusTest, CommentMarkDecidesWhetherSavesKeepTheCommentBlock)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("list.ovl"));
    playlist::PlayListItem item;
    item.FILENAME = QStringLiteral("file:///m/a.mp3");
    item.TITLE = QStringLiteral("A");
    const QString text = playlist::ovl::kHeader + playlist::ovl::kWrittenVersion +
                         playlist::ovl::kLineEnd + playlist::ovl::formatItemLine(item) +
                         playlist::ovl::kLineEnd;
    ASSERT_TRUE(playlist::LoadPlayListBytes(text.toUtf8(), m_window->playListModel()));
    playlist::PlayListFile = file;
    auto saved = [&] {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? core::decodeText(f.readAll()).text : QString();
    };
    const QString firstComment = playlist::ovl::commentLines().first();
    EXPECT_FALSE(menus().commentChecked());
    m_window->ovmFile_MenuClick(2);
    EXPECT_FALSE(saved().contains(firstComment));
    int id = 60;
    bool handled = false;
    Q_EMIT menu(60).MenuClick(id, handled);
    EXPECT_TRUE(menus().commentChecked());
    m_window->ovmFile_MenuClick(2);
    EXPECT_TRUE(saved().contains(firstComment));
    playlist::PlayListFile.clear();
}

TEST_F(MainMenusTest, KeysActOnceWhileTheWindowIsActiveAndItsItemAvailable)
{
    CoolBar &bar = *m_window->coolBar();
    const double perPixel = twipsPerPixelY(m_window.get());
    bar.setBandMinHeight(4, qRound(1455 / perPixel));
    const double start = bandTwips();
    pressOnWindow(Qt::Key_PageUp, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_NEAR(bandTwips(), start + 240, perPixel);

    // A greyed item's key goes on to the focused control.
    menu(72).setPItemEnabled(72, MF_BYCOMMAND, toolkit::kItemGrayed);
    QLineEdit *edit = new QLineEdit(m_window.get());
    edit->show();
    edit->setFocus();
    int insertsSeen = 0;
    struct Spy : QObject {
        int *count;
        explicit Spy(int *c)
            : count(c)
        {}
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::KeyPress &&
                static_cast<QKeyEvent *>(event)->key() == Qt::Key_F1)
                ++*count;
            return false;
        }
    } spy(&insertsSeen);
    edit->installEventFilter(&spy);
    QTest::keyClick(edit, Qt::Key_F1);
    QCoreApplication::processEvents();
    EXPECT_EQ(insertsSeen, 1);
    edit->removeEventFilter(&spy);
    delete edit;

    // Another window active: the main window's keys do nothing.
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    const double before = bandTwips();
    QTest::keyClick(&other, Qt::Key_PageUp, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_DOUBLE_EQ(bandTwips(), before);
}

TEST_F(MainMenusTest, CloseRemovesEveryKeyBinding)
{
    auto bound = [this] {
        int count = 0;
        for (const QByteArray &name : m_window->dynamicPropertyNames())
            count += name.startsWith("zxaccel") ? 1 : 0;
        return count;
    };
    EXPECT_EQ(bound(), 18);
    m_window->Form_QueryUnload();
    EXPECT_EQ(bound(), 0);
}

TEST_F(MainMenusTest, RightClickOnThePlayListOpensThePlayListMenu)
{
    auto *view = m_window->findChild<QTreeView *>(QStringLiteral("lstPlayList"));
    ASSERT_NE(view, nullptr);
    Q_EMIT view->customContextMenuRequested(QPoint(5, 5));
    QMenu *popup = menu(21).menu();
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(waitUntil([popup] { return popup->isVisible(); }));
    popup->close();
}

TEST_F(MainMenusTest, SavedPlayListComesBackThroughTheOpenDialogsPathBox)
{
    core::modMain::AutoPlay = false; // the items name no real files
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("kept.ovl"));
    QString text =
        playlist::ovl::kHeader + playlist::ovl::kWrittenVersion + playlist::ovl::kLineEnd;
    for (const char *name : {"a", "b", "c"}) {
        playlist::PlayListItem item;
        item.FILENAME = QStringLiteral("file:///m/%1.mp3").arg(QLatin1String(name));
        item.TITLE = QLatin1String(name);
        item.DOPLAY = playlist::kTrue;
        text += playlist::ovl::formatItemLine(item) + playlist::ovl::kLineEnd;
    }
    playlist::PlayListModel &model = m_window->playListModel();
    ASSERT_TRUE(playlist::LoadPlayListBytes(text.toUtf8(), model));
    ASSERT_TRUE(model.setData(model.index(1, 0), Qt::Unchecked, Qt::CheckStateRole));

    testhooks::setFileDialogRunner([&](QFileDialog &dialog) {
        dialog.selectFile(file);
        QMetaObject::invokeMethod(&dialog, "accept", Qt::DirectConnection);
        return int(QDialog::Accepted);
    });
    m_window->ovmFile_MenuClick(3); // save as
    testhooks::setFileDialogRunner({});
    ASSERT_TRUE(QFile::exists(file));
    m_window->ovmPlayList_MenuClick(24); // clear
    ASSERT_EQ(model.count(), 0);

    int dialogsSeen = 0;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<frmOpenDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        ++dialogsSeen;
        dialog->txtPath()->setText(file);
        dialog->cmdOpen()->click();
    });
    m_window->ovmFile_MenuClick(1); // open: modal until the dialog closes
    EXPECT_EQ(dialogsSeen, 1);
    ASSERT_TRUE(waitUntil([&] { return model.count() == 3; }));
    const Qt::CheckState expected[] = {Qt::Checked, Qt::Unchecked, Qt::Checked};
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(model.data(model.index(row, 0), Qt::CheckStateRole).toInt(), expected[row])
            << row;
    core::modMain::AutoPlay = true;
}

TEST_F(MainMenusTest, EngineEntriesShowTheirOwnReports)
{
    for (int id : {61, 62, 63, 64, 75, 76}) {
        SCOPED_TRACE(id);
        QString title;
        int rows = -1;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<frmEngineReport *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            title = dialog->windowTitle();
            rows = int(dialog->findChildren<QLabel *>().size());
            dialog->accept();
        });
        m_window->ovmEngines_MenuClick(id);
        EXPECT_FALSE(title.isEmpty());
        EXPECT_GT(rows, 0);
    }
}

TEST_F(MainMenusTest, InsAddsThroughTheOpenDialogAndCtrlInsOpensTheEditor)
{
    QStringList dialogs;
    // The key's command arrives through the event queue, so the dialog is
    // looked for until it shows (bounded), not at one fixed moment.
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *open = qobject_cast<frmOpenDialog *>(modal)) {
            dialogs.append(QStringLiteral("open %1").arg(open->OpenMode));
            open->cmdCancel()->click();
        } else if (auto *editor = qobject_cast<frmEditer *>(modal)) {
            dialogs.append(QStringLiteral("editor"));
            editor->cmdCancel()->click();
        }
    });
    poll.start();
    pressOnWindow(Qt::Key_Insert, Qt::NoModifier);
    EXPECT_TRUE(waitUntil([&] { return !dialogs.isEmpty(); }, 5000));
    m_window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    pressOnWindow(Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_TRUE(waitUntil([&] { return dialogs.size() == 2; }, 5000));
    poll.stop();
    EXPECT_EQ(dialogs, (QStringList{QStringLiteral("open 2"), QStringLiteral("editor")}));
}

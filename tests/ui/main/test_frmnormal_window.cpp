// The main window as the window manager and the user resize it: where it
// starts, the control panels it remembers, the picture area it keeps, and
// the display sizes. Offscreen: no window manager, so no outer frame.
#include "core/commandline.h"
#include "core/messagebox.h"
#include "core/modmain.h"
#include "core/programpaths.h"
#include "playback/controller.h"
#include "playlist/playlistfile.h"
#include "playlist/playlistmodel.h"
#include "playlist/playliststore.h"
#include "playlist/sessionplaylist.h"
#include "tests/support/media.h"
#include "tests/support/windowtesting.h"
#include "ui/main/artwork.h"
#include "ui/main/controlbar.h"
#include "ui/main/frmnormal.h"
#include "ui/main/twips.h"

#include <QDeadlineTimer>
#include <QDropEvent>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QUrl>

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::ui;
using orvane::test::waitUntil;

namespace {

class MainWindowRules : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("ORVANE_GST_AUDIO_SINK", "fakesink sync=true");
        qputenv("ORVANE_MPV_AO", "null");
        QFile::remove(m_ini);
        QFile::remove(playlist::SessionPlayListPath(m_ini));
        core::setMessageBoxService(&m_box);
    }
    void TearDown() override
    {
        m_window.reset();
        core::setMessageBoxService(nullptr);
        QFile::remove(m_ini);
        QFile::remove(playlist::SessionPlayListPath(m_ini));
        playback::state::LoadedMediaType = 0;
        playlist::ResetPlayList();
    }
    // Timer-driven processing: the loop mode would run nested inside the
    // test's own waits until the window closes.
    void writeIni(const QByteArray &extra = {})
    {
        QFile f(m_ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("[General Setting]\r\nProcessing Mode=0\r\nProcessing Interval=1000\r\n" + extra);
    }
    QByteArray ini() const
    {
        QFile f(m_ini);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    frmNormal &open()
    {
        m_window = std::make_unique<frmNormal>();
        m_window->Form_Load();
        core::modMain::PendingCommand.clear(); // the test's own arguments
        m_window->show();
        EXPECT_TRUE(waitUntil([this] { return m_window->session() != nullptr; }));
        QCoreApplication::processEvents();
        return *m_window;
    }
    void close()
    {
        m_window->close();
        m_window.reset();
    }
    QWidget *picture() const
    {
        return m_window->findChild<QWidget *>(QStringLiteral("picImageWindow"));
    }
    // Twips of the window's own size and of what lies above the control bar.
    double tx() const { return twipsPerPixelX(m_window.get()); }
    double ty() const { return twipsPerPixelY(m_window.get()); }
    int px(double twips) const { return twipsToPixelsY(m_window.get(), twips); }
    int frameHeight() const { return m_window->height() - m_window->centralWidget()->height(); }

    QString m_ini = core::settingsFile();
    test::CountingBeeps m_box;
    std::unique_ptr<frmNormal> m_window;
};

} // namespace

TEST_F(MainWindowRules, NoSettingsGiveTheDesignedPictureAboveTheBar)
{
    writeIni();
    frmNormal &w = open();
    const int bar = w.coolBar()->barHeight();
    // The own caption's frame lies around the picture, as a window
    // manager's would.
    const QMargins own = w.contentsMargins();
    EXPECT_EQ(picture()->width(), twipsToPixelsX(&w, 5655));
    EXPECT_EQ(w.width(), twipsToPixelsX(&w, 5655) + own.left() + own.right());
    EXPECT_EQ(picture()->height(), px(4305));
    EXPECT_EQ(w.height(), px(4305) + bar + frameHeight());
    EXPECT_EQ(w.pictureSize(), QSizeF(picture()->width() * tx(), picture()->height() * ty()));
    close();
    const QByteArray written = ini();
    EXPECT_TRUE(written.contains("State=0"));
    EXPECT_TRUE(written.contains("Width=5655"));
    EXPECT_FALSE(written.contains("\nMode=")) << written.constData();
    EXPECT_FALSE(written.contains("Show Setting")) << written.constData();
}

TEST_F(MainWindowRules, AResizedWindowComesBackAtTheSameSizeInEveryPanelMode)
{
    const char *modes[] = {"All", "Memorize", "Customize", "sometimes"};
    for (const char *mode : modes) {
        SCOPED_TRACE(mode);
        writeIni(QByteArray("[Control Panels Setting]\r\nMode=") + mode + "\r\n");
        frmNormal &w = open();
        w.resize(800, 900);
        ASSERT_TRUE(waitUntil([&] { return w.size() == QSize(800, 900); }));
        const QSize picture = this->picture()->size();
        close();
        frmNormal &again = open();
        EXPECT_EQ(again.size(), QSize(800, 900));
        EXPECT_EQ(this->picture()->size(), picture);
        close();
    }
}

TEST_F(MainWindowRules, TheLastPlaylistComesBackUnplayed)
{
    if (!core::ownCommandLine().isEmpty())
        GTEST_SKIP() << "the test's own arguments stand for files given to the window";
    writeIni();
    frmNormal &w = open();
    for (int i = 0; i < 2; ++i) {
        playlist::PlayListItem &item = playlist::EnsureRecord(i);
        item.MEDIATYPE = playlist::kMediaWmp;
        item.DOPLAY = playlist::kTrue;
        item.TITLE = QStringLiteral("item %1").arg(i);
        item.FILENAME = QStringLiteral("file:///music/%1.mp3").arg(i);
        w.playListModel().insertItem(
            i, {playlist::KeyOfIndex(i), item.TITLE, {}, item.FILENAME, true});
    }
    close();
    playlist::ResetPlayList();

    frmNormal &again = open();
    ASSERT_EQ(again.playListModel().count(), 2);
    EXPECT_EQ(again.playListModel().item(1).text, QStringLiteral("item 1"));
    EXPECT_EQ(playback::state::LoadedMediaType, 0) << "nothing loads before the user asks";
    EXPECT_TRUE(playlist::PlayListFile.isEmpty());
    close();

    writeIni("Restore Playlist=False\r\n");
    frmNormal &off = open();
    EXPECT_EQ(off.playListModel().count(), 0);
}

TEST_F(MainWindowRules, MemorizeShowsTheRememberedPanelsAndWritesThemBack)
{
    writeIni("[Control Panels Setting]\r\nMode=Memorize\r\nShow Setting=TFTTTF\r\n"
             "[Main Window Position]\r\nWidth=6000\r\nHeight=4500\r\n");
    frmNormal &w = open();
    CoolBar *bar = w.coolBar();
    EXPECT_FALSE(bar->isHidden());
    const bool shown[] = {false, true, true, true, false};
    for (int band = 1; band <= 5; ++band)
        EXPECT_EQ(bar->isBandVisible(band), shown[band - 1]) << "band " << band;
    // The window takes the bar on top of the remembered picture.
    EXPECT_EQ(picture()->height(), px(4500));
    EXPECT_EQ(w.height(), px(4500) + bar->barHeight() + frameHeight());
    close();
    EXPECT_TRUE(ini().contains("Show Setting=TFTTTF"));
}

TEST_F(MainWindowRules, AFirstFHidesTheWholeBar)
{
    writeIni("[Control Panels Setting]\r\nMode=memorize\r\nShow Setting=FTTTTT\r\n"
             "[Main Window Position]\r\nWidth=6000\r\nHeight=4500\r\n");
    frmNormal &w = open();
    EXPECT_TRUE(w.coolBar()->isHidden());
    EXPECT_EQ(w.height(), px(4500) + frameHeight()) << "picture plus frame only";
    EXPECT_EQ(picture()->height(), px(4500));
    close();
    EXPECT_TRUE(ini().contains("Show Setting=FTTTTT"));
}

TEST_F(MainWindowRules, PanelsComeAndGoAroundTheSamePicture)
{
    writeIni("[Control Panels Setting]\r\nMode=customize\r\n"
             "[Main Window Position]\r\nWidth=6000\r\nHeight=4500\r\n");
    frmNormal &w = open();
    const QSize before = picture()->size();
    const int height = w.height();
    const int band4 = w.coolBar()->bandMinHeight(4);
    w.coolBar()->setBandVisible(4, false);
    ASSERT_TRUE(waitUntil([&] { return w.height() == height - band4; }));
    EXPECT_EQ(picture()->size(), before);
    w.coolBar()->setBandVisible(4, true);
    ASSERT_TRUE(waitUntil([&] { return w.height() == height; }));
    EXPECT_EQ(picture()->size(), before);
    close();
    EXPECT_FALSE(ini().contains("Show Setting")) << "customize leaves it to the options";
}

TEST_F(MainWindowRules, HidingTheWholeBarKeepsThePicture)
{
    writeIni("[Main Window Position]\r\nWidth=6000\r\nHeight=4500\r\n"
             "[Control Panels Setting]\r\nMode=memorize\r\n");
    frmNormal &w = open();
    const QSize before = picture()->size();
    const int height = w.height();
    const int bar = w.coolBar()->barHeight();
    w.ovmControls_MenuClick(41);
    ASSERT_TRUE(w.coolBar()->isHidden());
    ASSERT_TRUE(waitUntil([&] { return w.height() == height - bar; })) << w.height();
    EXPECT_EQ(picture()->size(), before);
    w.ovmControls_MenuClick(41);
    ASSERT_TRUE(waitUntil([&] { return w.height() == height; })) << w.height();
    EXPECT_EQ(picture()->size(), before);
}

TEST_F(MainWindowRules, MaximisingKeepsTheNormalPictureForTheRestore)
{
    writeIni("[Main Window Position]\r\nLeft=300\r\nTop=450\r\nWidth=7000\r\nHeight=4800\r\n"
             "[Control Panels Setting]\r\nMode=memorize\r\n");
    frmNormal &w = open();
    const QSize normal = picture()->size();
    const QSizeF remembered = w.pictureSize();
    w.showMaximized();
    ASSERT_TRUE(waitUntil([&] { return picture()->width() > normal.width(); }))
        << "offscreen maximises to the screen";
    EXPECT_EQ(w.pictureSize(), remembered);
    // Maximised, a hidden panel gives its room to the picture.
    const QSize window = w.size();
    const int large = picture()->height();
    w.coolBar()->setBandVisible(5, false);
    EXPECT_TRUE(
        waitUntil([&] { return picture()->height() == large + w.coolBar()->bandMinHeight(5); }));
    EXPECT_EQ(w.size(), window);
    w.coolBar()->setBandVisible(5, true);

    w.showNormal();
    ASSERT_TRUE(waitUntil([&] { return picture()->size() == normal; }));
    EXPECT_EQ(w.pictureSize(), remembered);

    w.showMaximized();
    ASSERT_TRUE(waitUntil([&] { return picture()->width() > normal.width(); }));
    close();
    const QByteArray written = ini();
    EXPECT_TRUE(written.contains("State=2"));
    EXPECT_TRUE(written.contains("Left=300") && written.contains("Top=450") &&
                written.contains("Width=7000") && written.contains("Height=4800"))
        << "a maximised window writes its state alone: " << written.constData();
}

TEST_F(MainWindowRules, DamagedPositionsGiveAUsableWindow)
{
    const char *damaged[] = {
        "Width=abc\r\nHeight=\r\n",
        "Width=-5000\r\nHeight=-1\r\nLeft=-99999999\r\n",
        "Width=1e30\r\nHeight=inf\r\nTop=nan\r\nLeft=nan\r\n",
        "Width=99999999999999999999999\r\nHeight=4305\r\nState=7\r\n",
    };
    for (const char *values : damaged) {
        SCOPED_TRACE(values);
        writeIni(QByteArray("[Main Window Position]\r\n") + values);
        frmNormal &w = open();
        EXPECT_GE(w.frameGeometry().width(), twipsToPixelsX(&w, 5655));
        EXPECT_LE(w.width(), 14000) << "no window past any screen";
        EXPECT_GE(w.frameGeometry().height(), px(4305) + w.coolBar()->barHeight());
        EXPECT_LE(w.height(), 14000);
        EXPECT_GT(picture()->height(), 0);
        close();
    }
}

TEST_F(MainWindowRules, DisplaySizesSetTheModeAndLayOutAgain)
{
    writeIni();
    frmNormal &w = open();
    const struct {
        int id;
        int mode;
    } commands[] = {{66, 1}, {67, 2}, {65, 0}, {68, 0}, {64, 0}, {66, 1}};
    int beeps = 0;
    for (const auto &c : commands) {
        w.ovmoDisplaySizes_MenuClick(c.id);
        EXPECT_EQ(w.pictureSizeMode(), c.mode) << c.id;
        if (c.id >= 65 && c.id <= 67)
            ++beeps; // nothing loaded: the size waits for the media
        EXPECT_EQ(m_box.beeps, beeps) << c.id;
    }

    // With the first engine loaded its view covers the area and the logo goes.
    auto *view = w.findChild<QWidget *>(QStringLiteral("MediaPlayer"));
    auto *logo = w.findChild<QLabel *>(QStringLiteral("picLogo"));
    ASSERT_TRUE(view && logo);
    EXPECT_TRUE(logo->isVisible());
    playback::state::LoadedMediaType = 1;
    w.ovmoDisplaySizes_MenuClick(67);
    EXPECT_EQ(view->geometry(), picture()->rect());
    EXPECT_FALSE(logo->isVisible());
    EXPECT_EQ(m_box.beeps, beeps) << "an engine took the size";
    playback::state::LoadedMediaType = 0;
    w.ovmoDisplaySizes_MenuClick(65);
    EXPECT_TRUE(logo->isVisible());
    EXPECT_EQ(logo->geometry().bottom(), picture()->rect().bottom());
}

namespace {

class MainWindowView : public MainWindowRules
{
protected:
    // Three records and their view items; the authors sort the other way
    // round from the titles.
    void fill(const QStringList &files)
    {
        const QString titles[] = {QStringLiteral("Alpha"), QStringLiteral("Bravo"),
                                  QStringLiteral("Charlie")};
        const QString authors[] = {QStringLiteral("Zed"), QStringLiteral("Yan"),
                                   QStringLiteral("Xia")};
        QList<playlist::ViewItem> items;
        for (int i = 0; i < 3; ++i) {
            playlist::PlayListItem &r = playlist::EnsureRecord(i);
            r.MEDIATYPE = 1;
            r.DOPLAY = playlist::kTrue;
            r.FILENAME = QStringLiteral("file://") + files.value(i);
            r.TITLE = titles[i];
            r.AUTHOR = authors[i];
            items.append({QStringLiteral("num%1").arg(i), r.TITLE, r.AUTHOR, r.FILENAME, true});
        }
        m_window->playListModel().appendItems(items);
    }
    QTreeView *view() const
    {
        return m_window->findChild<QTreeView *>(QStringLiteral("lstPlayList"));
    }
    void clickHeader(int column)
    {
        QHeaderView *header = view()->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 8, 4));
    }
    void clickRow(int row, bool twice = false)
    {
        const QModelIndex index = view()->model()->index(row, 0);
        const QPoint at = view()->visualRect(index).center() + QPoint(20, 0);
        QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, at);
        if (twice)
            QTest::mouseDClick(view()->viewport(), Qt::LeftButton, {}, at);
    }
    QString column(int c) const
    {
        QStringList texts;
        const playlist::PlayListModel &model = m_window->playListModel();
        for (int i = 0; i < model.count(); ++i)
            texts << (c == 0 ? model.item(i).text : model.item(i).subItem1);
        return texts.join(QLatin1Char(' '));
    }
};

} // namespace

TEST_F(MainWindowView, HeaderClicksSortAscendingThenDescending)
{
    writeIni();
    open();
    fill({});
    clickHeader(1);
    EXPECT_EQ(column(1), QStringLiteral("Xia Yan Zed"));
    clickHeader(1);
    EXPECT_EQ(column(1), QStringLiteral("Zed Yan Xia"));
    clickHeader(0);
    EXPECT_EQ(column(0), QStringLiteral("Alpha Bravo Charlie"));
}

TEST_F(MainWindowView, UntickedItemsAreSkippedAndSavedSo)
{
    writeIni();
    open();
    fill({});
    playlist::PlayListModel &model = m_window->playListModel();
    ASSERT_TRUE(model.setData(model.index(1, 0), Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_EQ(playlist::PlayList.at(1).DOPLAY, playlist::kFalse);
    EXPECT_EQ(playlist::PlayList.at(0).DOPLAY, playlist::kTrue);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("list.ovl"));
    ASSERT_TRUE(playlist::SavePlayList(model, file, false));
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray text = saved.readAll();
    EXPECT_EQ(text.count("False,"), 1) << text.constData();
    EXPECT_EQ(text.count("True,"), 2) << text.constData();
}

TEST_F(MainWindowView, ADropQueuesTheFilesAsOneText)
{
    writeIni();
    frmNormal &w = open();
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QStringLiteral("/m/a b.mp3")),
                   QUrl::fromLocalFile(QStringLiteral("/m/c.wav")),
                   QUrl::fromLocalFile(QStringLiteral("/m/d.rm"))});
    // A drop reaches the widget that accepted the drag's entry.
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &files, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&w, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &files, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&w, &drop);
    ASSERT_EQ(core::modMain::PendingCommand.size(), 1);
    EXPECT_EQ(core::modMain::PendingCommand.takeOldest(),
              QStringLiteral("/m/a b.mp3|/m/c.wav|/m/d.rm"));
    QMimeData text;
    text.setText(QStringLiteral("not files"));
    QDropEvent none(QPointF(20, 20), Qt::CopyAction, &text, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&w, &none);
    EXPECT_TRUE(core::modMain::PendingCommand.isEmpty());
}

TEST_F(MainWindowView, AClickPlaysWhilePlayingAndOnlyInformsWhileIdle)
{
    writeIni();
    open();
    const QString first = test::toneWav(20);
    const QString second =
        test::generatedMedia(QStringLiteral("window-second.wav"),
                             {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                              QStringLiteral("sine=frequency=660:duration=20")});
    ASSERT_FALSE(first.isEmpty() || second.isEmpty());
    fill({first, second, first});
    auto *info = m_window->findChild<QPlainTextEdit *>(QStringLiteral("txtInfo"));
    clickRow(1);
    EXPECT_TRUE(info->toPlainText().contains(QStringLiteral("Bravo")));
    EXPECT_EQ(playback::state::LoadedMediaType, 0) << "a click while idle does not play";

    clickRow(0, true);
    ASSERT_TRUE(waitUntil([] { return playback::state::LoadedMediaType == 1; }, 30000));
    EXPECT_TRUE(playback::state::LoadedSource.endsWith(first));
    clickRow(1);
    ASSERT_TRUE(waitUntil([&] { return playback::state::LoadedSource.endsWith(second); }, 30000));
}

TEST(MainWindowPictures, ResourcesHaveTheirSizes)
{
    const struct {
        int id;
        QSize size;
    } pictures[] = {{100, {23, 23}},   {101, {23, 23}}, {102, {180, 50}}, {103, {300, 70}},
                    {104, {320, 240}}, {99, {0, 0}},    {105, {0, 0}}};
    for (const auto &p : pictures)
        EXPECT_EQ(resourcePicture(p.id).size(), p.size) << p.id;
    EXPECT_NE(resourcePicture(100).toImage(), resourcePicture(101).toImage());
    // The copyright line is drawn in yellow near the logo's right edge foot.
    const QImage logo = resourcePicture(103).toImage();
    int yellow = 0;
    for (int y = 35; y < 70; ++y)
        for (int x = 150; x < 300; ++x)
            yellow += logo.pixelColor(x, y) == QColor(255, 255, 0);
    EXPECT_GT(yellow, 50);
    // Both lines fit: nothing yellow is cut at the left edge.
    for (int y = 0; y < 70; ++y)
        EXPECT_NE(logo.pixelColor(0, y), QColor(255, 255, 0)) << y;
}

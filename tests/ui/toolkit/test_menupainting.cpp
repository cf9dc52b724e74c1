#include "ui/toolkit/clsactivemenu.h"
#include "ui/toolkit/menumeasure.h"
#include "ui/toolkit/menupainter.h"
#include "ui/toolkit/windowmessage.h"

#include "tests/support/xvfb.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace orvane::ui::toolkit;

namespace {

TEST(MenuMeasure, RoundsHalvesToTheEvenNeighbour)
{
    const std::pair<double, int> cases[] = {{0.5, 0},   {1.5, 2}, {2.5, 2}, {-0.5, 0},
                                            {-1.5, -2}, {3.2, 3}, {3.7, 4}, {6.5, 6}};
    for (const auto &[value, expected] : cases)
        EXPECT_EQ(roundHalfEven(value), expected) << value;
}

TEST(MenuMeasure, SizesSeparatorsBitmapsAndTextItems)
{
    QFont font = QApplication::font("QMenu");
    const int textWidth = QFontMetrics(font).horizontalAdvance(QStringLiteral("OpenCtrl+O "));
    const int textHeight = QFontMetrics(font).height();
    struct Case {
        const char *name;
        int type;
        QSize bitmap;
        QSize iconColumn;
        QSize expected;
    };
    const Case cases[] = {
        {"separator", MFT_SEPARATOR, {}, {16, 16}, {0, kSeparatorHeight}},
        {"bitmap taller than the icon", MFT_BITMAP, {40, 30}, {16, 16}, {40 + 16 + 18, 34}},
        {"icon taller than the bitmap", MFT_BITMAP, {40, 10}, {16, 16}, {40 + 16 + 18, 18}},
        {"text, icon column 16",
         MFT_STRING,
         {},
         {16, 16},
         {textWidth + 16 + 18, (16 > textHeight ? 16 : textHeight + 2) + 2}},
        {"text, tall icon column", MFT_STRING, {}, {16, 60}, {textWidth + 16 + 18, 62}},
    };
    for (const Case &c : cases) {
        MenuItemMeasureInput input;
        input.type = c.type;
        input.bitmapSize = c.bitmap;
        input.caption = QStringLiteral("Open");
        input.accessCaption = QStringLiteral("Ctrl+O");
        input.font = font;
        input.iconColumn = c.iconColumn;
        EXPECT_EQ(measureMenuItem(input).size, c.expected) << c.name;
    }
}

TEST(MenuLayout, PlacesIconColumnIconBoxAndText)
{
    const MenuItemLayout layout = layoutMenuItem(QRect(10, 20, 100, 21), QSize(16, 16));
    EXPECT_EQ(layout.iconColumn.right, 10 + 16 + 2);
    EXPECT_EQ(layout.iconBox.left, 11);
    // round(20 + 1 + (21 - 16 - 2) / 2) = round(22.5) = 22
    EXPECT_EQ(layout.iconBox.top, 22);
    EXPECT_EQ(layout.iconBox.right, 11 + 17);
    EXPECT_EQ(layout.iconBox.bottom, 22 + 17);
    EXPECT_EQ(layout.text.left, 28 + 3);
    EXPECT_EQ(layout.text.right, 110 - 15);
}

// Renders one item into a white image with a fixed palette.
class ItemPainting : public ::testing::Test
{
protected:
    void SetUp() override
    {
        palette.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
        palette.setColor(QPalette::WindowText, Qt::black);
        palette.setColor(QPalette::Highlight, QColor(0, 0, 0x80));
        palette.setColor(QPalette::HighlightedText, Qt::white);
        palette.setColor(QPalette::Light, Qt::white);
        palette.setColor(QPalette::Midlight, QColor(0xE0, 0xE0, 0xE0));
        palette.setColor(QPalette::Dark, QColor(0x80, 0x80, 0x80));
        palette.setColor(QPalette::Shadow, QColor(0x40, 0x40, 0x40));
        palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
        input.rect = QRect(0, 0, 120, 22);
        input.palette = palette;
        input.iconColumn = QSize(16, 16);
        input.caption = QStringLiteral("Open");
        input.font = QApplication::font("QMenu");
        QPixmap red(16, 16);
        red.fill(Qt::red);
        redIcon = QIcon(red);
    }

    QImage render()
    {
        QImage image(input.rect.size(), QImage::Format_ARGB32);
        image.fill(QColor(0x12, 0x34, 0x56));
        QPainter painter(&image);
        paintMenuItem(painter, input);
        return image;
    }

    // The pixel of the check-mark box at (x, y) of a 13 x 13 mark.
    QRgb markPixel(const QImage &image, int x, int y)
    {
        const MenuItemLayout layout = layoutMenuItem(input.rect, input.iconColumn);
        const int left =
            roundHalfEven(layout.iconBox.left +
                          ((layout.iconBox.right - layout.iconBox.left) - kMenuCheckSize) / 2.0);
        const int top =
            roundHalfEven(layout.iconBox.top +
                          ((layout.iconBox.bottom - layout.iconBox.top) - kMenuCheckSize) / 2.0);
        return image.pixel(left + x, top + y);
    }

    QPalette palette;
    MenuItemPaintInput input;
    QIcon redIcon;
};

TEST_F(ItemPainting, SeparatorIsAnEtchedLineThroughTheMiddleInsetTwo)
{
    input.rect = QRect(0, 0, 100, 13);
    input.type = MFT_SEPARATOR | MFT_OWNERDRAW;
    const QImage image = render();
    const QRgb background = qRgb(0x12, 0x34, 0x56);
    // round(0 + 13 / 2) = round(6.5) = 6: shadow there, light below it.
    EXPECT_EQ(image.pixel(2, 6), qRgb(0x80, 0x80, 0x80));
    EXPECT_EQ(image.pixel(97, 6), qRgb(0x80, 0x80, 0x80));
    EXPECT_EQ(image.pixel(50, 7), qRgb(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(image.pixel(1, 6), background);
    EXPECT_EQ(image.pixel(98, 6), background);
    EXPECT_EQ(image.pixel(50, 5), background);
    EXPECT_EQ(image.pixel(50, 8), background);
}

TEST_F(ItemPainting, CheckedItemWithoutIconShowsACheckMarkOrABullet)
{
    input.state = ODS_CHECKED;
    const QRgb text = qRgb(0, 0, 0);
    const QImage check = render();
    EXPECT_EQ(markPixel(check, 3, 5), text);
    EXPECT_EQ(markPixel(check, 9, 3), text);
    EXPECT_NE(markPixel(check, 6, 4), text);

    input.type = MFT_RADIOCHECK;
    const QImage bullet = render();
    EXPECT_NE(markPixel(bullet, 3, 5), text);
    EXPECT_EQ(markPixel(bullet, 6, 6), text);
    EXPECT_EQ(markPixel(bullet, 6, 4), text);

    input.state = 0;
    const QImage unchecked = render();
    EXPECT_NE(markPixel(unchecked, 6, 6), text);
}

TEST_F(ItemPainting, CheckedItemWithIconShowsTheIconInASunkenFrame)
{
    input.state = ODS_CHECKED;
    input.imageIndex = 1;
    input.icon = redIcon;
    const QImage image = render();
    const MenuItemLayout layout = layoutMenuItem(input.rect, input.iconColumn);
    EXPECT_EQ(image.pixel(layout.iconBox.left + 8, layout.iconBox.top + 8), qRgb(255, 0, 0));
    // Sunken: shadow on the top and left, light on the bottom and right.
    EXPECT_EQ(image.pixel(5, 0), qRgb(0x80, 0x80, 0x80));
    EXPECT_EQ(image.pixel(0, 10), qRgb(0x80, 0x80, 0x80));
    EXPECT_EQ(image.pixel(5, 21), qRgb(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(image.pixel(layout.iconColumn.right - 1, 10), qRgb(0xFF, 0xFF, 0xFF));

    input.style = 0;
    const QImage flat = render();
    EXPECT_NE(flat.pixel(5, 0), qRgb(0x80, 0x80, 0x80)) << "style 0 draws no frame";
}

TEST_F(ItemPainting, HighlightFollowsTheStyle)
{
    const QRgb highlight = qRgb(0, 0, 0x80);
    const QRgb menu = qRgb(0xC0, 0xC0, 0xC0);
    input.state = ODS_SELECTED;
    input.imageIndex = 1;
    input.icon = redIcon;
    struct Case {
        int style;
        QRgb leftOfIconColumn; // pixel (1, 1): inside the icon column, above the icon
        QRgb rightOfIconColumn;
    };
    const Case cases[] = {
        {0, highlight, highlight},
        {1, highlight, highlight},
        {2, qRgb(0xFF, 0xFF, 0xFF) /* raised frame round the item */, menu},
        {3, qRgb(0xFF, 0xFF, 0xFF) /* raised frame */, highlight},
    };
    for (const Case &c : cases) {
        input.style = c.style;
        const QImage image = render();
        EXPECT_EQ(image.pixel(1, 0), c.leftOfIconColumn) << "style " << c.style;
        EXPECT_EQ(image.pixel(60, 20), c.rightOfIconColumn) << "style " << c.style;
    }
}

TEST_F(ItemPainting, EmbossedItemsUseOnlyTheEmbossColours)
{
    input.state = ODS_GRAYED | ODS_DISABLED;
    input.disabledLook = true;
    input.textRect = QRect(0, 0, 30, QFontMetrics(input.font).height());
    const QImage image = render();
    bool light = false;
    bool black = false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            light = light || image.pixel(x, y) == qRgb(0xFF, 0xFF, 0xFF);
            black = black || image.pixel(x, y) == qRgb(0, 0, 0);
        }
    }
    EXPECT_TRUE(light);
    EXPECT_FALSE(black);
}

// The screenshot: the test starts itself again as a real X client on a
// private Xvfb, and that child opens a small window's menu.
constexpr char kShotChildVariable[] = "ORVANE_MENU_SHOT_CHILD";

QIcon colourIcon(QColor colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setBrush(colour);
    painter.setPen(Qt::black);
    painter.drawEllipse(1, 1, 13, 13);
    return QIcon(pixmap);
}

TEST(MenuScreenshot, ChildShowsTheMenu)
{
    const QByteArray readyFile = qgetenv(kShotChildVariable);
    if (readyFile.isEmpty())
        GTEST_SKIP() << "run by MenuScreenshot.OfAnOpenMenu";
    QMainWindow window;
    window.resize(320, 240);
    window.move(20, 20);
    clsActiveMenu bar;
    clsActiveMenu file;
    ASSERT_TRUE(bar.mCreate(&window, kMenuBar));
    ASSERT_TRUE(file.mCreate(&window, kPopupMenu));
    file.pImageList({colourIcon(Qt::red), colourIcon(Qt::green), colourIcon(Qt::blue)});
    bar.mAddItem(0, -1, QStringLiteral("&File"));
    bar.mAddItem(10, -1, QStringLiteral("&Play"));
    file.mAddItem(1, -1, QStringLiteral("&Open"), QStringLiteral("Ctrl+O"), {}, 0, 1);
    file.mAddItem(2, -1, QStringLiteral("&Save"), {}, {}, 0, 2);
    file.mAddItem(3, -1, QStringLiteral("Save &As"), {}, {}, 0, 3);
    file.mAddItem(4, -1, {}, {}, {}, MFT_SEPARATOR);
    file.mAddItem(17, -1, QStringLiteral("&Repeat All"), {}, {}, 0, 0);
    file.mAddItem(18, -1, QStringLiteral("Checked with icon"), {}, {}, 0, 2);
    file.mAddItem(65, -1, QStringLiteral("Default size"), QStringLiteral("Ctrl+Num1"));
    file.mAddItem(66, -1, QStringLiteral("Double size"), QStringLiteral("Ctrl+Num2"));
    file.mAddItem(51, -1, QStringLiteral("Converter (greyed)"), {}, {}, 0, 0);
    file.mAddItem(52, -1, QStringLiteral("Embossed"), {}, {}, 0, 3);
    file.mAddItem(5, -1, QStringLiteral("E&xit"), QStringLiteral("Ctrl+Q"));
    file.setPItemChecked(17, MF_BYCOMMAND, true);
    file.setPItemChecked(18, MF_BYCOMMAND, true);
    file.mRadioCheckGroup(65, 66, 66, MF_BYCOMMAND);
    file.setPItemEnabled(51, MF_BYCOMMAND, kItemGrayed);
    file.setPItemEnabled(52, MF_BYCOMMAND, kItemGrayedEmbossed);
    bar.setPItemDropDownMenu(0, MF_BYCOMMAND, file.phMenu());
    window.show();
    QElapsedTimer clock;
    clock.start();
    while (!window.isVisible() && clock.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    file.menu()->popup(window.mapToGlobal(QPoint(0, bar.menuBar()->height())));
    file.menu()->setActiveAction(file.itemAction(2, MF_BYCOMMAND));
    clock.restart();
    while (clock.elapsed() < 1500)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    QFile ready(QString::fromLocal8Bit(readyFile));
    ASSERT_TRUE(ready.open(QIODevice::WriteOnly));
    ready.close();
    // Stay on the screen until the picture is taken, but never for long.
    const QString doneFile = QString::fromLocal8Bit(readyFile) + QStringLiteral(".done");
    clock.restart();
    while (!QFile::exists(doneFile) && clock.elapsed() < 20000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
}

TEST(MenuScreenshot, OfAnOpenMenu)
{
    if (!qgetenv(kShotChildVariable).isEmpty())
        GTEST_SKIP();
    orvane::test::Xvfb x;
    if (!x.start(640, 480))
        GTEST_SKIP() << qPrintable(x.error());
    QTemporaryDir folder;
    const QString ready = folder.filePath(QStringLiteral("ready"));
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), x.display());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QString::fromLatin1(kShotChildVariable), ready);
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=MenuScreenshot.ChildShowsTheMenu")});
    ASSERT_TRUE(child.waitForStarted(10000));
    QElapsedTimer clock;
    clock.start();
    while (!QFile::exists(ready) && child.state() == QProcess::Running && clock.elapsed() < 20000)
        QThread::msleep(50);
    ASSERT_TRUE(QFile::exists(ready)) << "the child never showed its menu";
    const QString shot = QStringLiteral(ORVANE_MENU_SHOT_DIR "/menu-screenshot.png");
    EXPECT_TRUE(x.screenshot(shot));
    QFile done(ready + QStringLiteral(".done"));
    done.open(QIODevice::WriteOnly);
    done.close();
    EXPECT_TRUE(child.waitForFinished(20000));
    EXPECT_EQ(child.exitCode(), 0);
    const QImage image(shot);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(640, 480));
}

} // namespace

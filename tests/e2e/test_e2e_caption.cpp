// The main window's own caption as a user meets it under a real window
// manager: dragged to move, sized from its corner, maximised by a double
// click, closed by its button, drawn in another look while a dialog has the
// focus, and given back to the window manager from the options. The media
// keys play on with either frame.
#include "tests/e2e/e2emedia.h"
#include "tests/e2e/e2etest.h"
#include "tests/e2e/stories.h"
#include "tests/support/qtprint.h"

#include <QFile>
#include <QImage>

using namespace orvane::e2e;

namespace {

// At 96 DPI: a 4-pixel sizing border, then a caption of 23 pixels whose
// buttons are 21 wide with the close button 6 pixels in from the right.
constexpr int kBorder = 4;
constexpr int kCaptionMiddle = kBorder + 11;
constexpr int kCloseFromRight = kBorder + 2 + 10;
constexpr int kMaximiseFromRight = kCloseFromRight + 23;

class Caption : public DesktopTest
{
protected:
    bool geometryBecomes(Player &player, const std::function<bool(const QRect &)> &wanted)
    {
        return waitUntil([&] { return wanted(player.geometry()); }, 5000, 50);
    }

    QImage screen(const QString &name)
    {
        const QString path = QStringLiteral(ORVANE_E2E_ARTIFACT_DIR "/caption-%1.png").arg(name);
        m_desktop.screenshot(path);
        return QImage(path);
    }

    // The window manager's frame as it announces it: left, right, top and
    // bottom, all 0 for an undecorated window.
    QString frameExtents(Player &player)
    {
        return m_desktop
            .run(QStringLiteral("xprop"),
                 {QStringLiteral("-id"), player.window(), QStringLiteral("_NET_FRAME_EXTENTS")})
            .section(u'=', 1)
            .trimmed();
    }
};

std::string text(const QRect &r)
{
    return QStringLiteral("%1,%2 %3x%4")
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height())
        .toStdString();
}

// Blue: the active caption's picture; grey: the inactive one's.
bool bluish(QColor c)
{
    return c.blue() > c.red() + 40;
}
bool greyish(QColor c)
{
    return std::abs(c.blue() - c.red()) < 24 && c.red() > 40;
}

} // namespace

TEST_F(Caption, TheOwnCaptionMovesSizesAndMaximisesTheWindow)
{
    Player &player = startPlayer();
    ASSERT_TRUE(player.activate());
    EXPECT_EQ(frameExtents(player), QStringLiteral("0, 0, 0, 0"))
        << "the window draws its own caption and frame";
    const QRect start = player.geometry();
    const QImage before = screen(QStringLiteral("active"));
    const QPoint maximiseButton(start.right() - kMaximiseFromRight, start.top() + kCaptionMiddle);

    // A drag on the caption, away from its buttons and title. The window
    // manager takes the pointer over once it has moved a little; from
    // there the window follows it.
    const QPoint grip(start.left() + 60, start.top() + kCaptionMiddle);
    const QPoint taken = grip + QPoint(10, 10);
    const QPoint target = grip + QPoint(160, 110);
    QStringList hand{QStringLiteral("mousemove"), QString::number(grip.x()),
                     QString::number(grip.y()),   QStringLiteral("mousedown"),
                     QStringLiteral("1"),         QStringLiteral("mousemove"),
                     QString::number(taken.x()),  QString::number(taken.y()),
                     QStringLiteral("sleep"),     QStringLiteral("0.4")};
    for (int i = 1; i <= 6; ++i) {
        const QPoint at = taken + (target - taken) * i / 6;
        hand << QStringLiteral("mousemove") << QString::number(at.x()) << QString::number(at.y())
             << QStringLiteral("sleep") << QStringLiteral("0.05");
    }
    hand << QStringLiteral("mouseup") << QStringLiteral("1");
    m_desktop.run(QStringLiteral("xdotool"), hand);
    EXPECT_TRUE(geometryBecomes(player,
                                [&](const QRect &g) {
                                    return g.size() == start.size() &&
                                           g.topLeft() == start.topLeft() + (target - taken);
                                }))
        << "moved to " << text(player.geometry());

    const QRect moved = player.geometry();
    const QPoint corner = moved.bottomRight() - QPoint(1, 1);
    player.drag(corner, corner + QPoint(120, 80));
    EXPECT_TRUE(geometryBecomes(player,
                                [&](const QRect &g) {
                                    return g.topLeft() == moved.topLeft() &&
                                           g.width() > moved.width() + 60 &&
                                           g.height() > moved.height() + 40;
                                }))
        << "sized to " << text(player.geometry());

    const QRect sized = player.geometry();
    const QPoint caption(sized.left() + 60, sized.top() + kCaptionMiddle);
    m_desktop.run(QStringLiteral("xdotool"),
                  {QStringLiteral("mousemove"), QString::number(caption.x()),
                   QString::number(caption.y()), QStringLiteral("click"),
                   QStringLiteral("--repeat"), QStringLiteral("2"), QStringLiteral("--delay"),
                   QStringLiteral("80"), QStringLiteral("1")});
    ASSERT_TRUE(geometryBecomes(
        player, [](const QRect &g) { return g.width() == 1280 && g.height() >= 1000; }))
        << "a double click maximises: " << text(player.geometry());
    const QImage maximised = screen(QStringLiteral("maximised"));
    // The restore button has another glyph than the maximise button had.
    const QPoint restoreButton(1279 - kMaximiseFromRight, kCaptionMiddle);
    const QRect glyph(-5, -5, 11, 11);
    int differing = 0;
    for (int y = glyph.top(); y <= glyph.bottom(); ++y)
        for (int x = glyph.left(); x <= glyph.right(); ++x)
            differing += before.pixelColor(maximiseButton + QPoint(x, y)) !=
                         maximised.pixelColor(restoreButton + QPoint(x, y));
    EXPECT_GT(differing, 4) << "the maximised window shows the restore button";

    player.click(restoreButton);
    EXPECT_TRUE(geometryBecomes(player, [&](const QRect &g) { return g == sized; }))
        << "the restore button gives the size back: " << text(player.geometry());

    // The window menu of a right click: Maximise, then the restore button.
    const int windows = player.visibleWindows();
    m_desktop.run(QStringLiteral("xdotool"),
                  {QStringLiteral("mousemove"), QString::number(caption.x()),
                   QString::number(caption.y()), QStringLiteral("click"), QStringLiteral("3")});
    ASSERT_TRUE(waitUntil([&] { return player.visibleWindows() > windows; }, 5000))
        << "a right click opens the window menu";
    player.key(QStringLiteral("x"));
    EXPECT_TRUE(geometryBecomes(player, [](const QRect &g) { return g.width() == 1280; }))
        << "its Maximise maximises: " << text(player.geometry());
    player.click(restoreButton);
    ASSERT_TRUE(geometryBecomes(player, [&](const QRect &g) { return g == sized; }));

    // Far too small a corner drag: the window stops at its least width,
    // 5655 twips (377 pixels at 96 DPI) with its own frame.
    const QPoint small = sized.bottomRight() - QPoint(1, 1);
    player.drag(small, small - QPoint(sized.width() - 60, 0));
    EXPECT_TRUE(geometryBecomes(player, [&](const QRect &g) { return g.width() == 377; }))
        << "narrowed to " << text(player.geometry());
}

TEST_F(Caption, ADialogInFrontShowsTheInactiveLookAndTheCloseButtonEndsTheProgram)
{
    Player &player = startPlayer();
    ASSERT_TRUE(player.activate());
    const QRect g = player.geometry();
    // Left of the centred title: the caption's background.
    const QPoint background(g.left() + 45, g.top() + kCaptionMiddle);
    EXPECT_TRUE(waitUntil([&] {
        return bluish(screen(QStringLiteral("active")).pixelColor(background));
    })) << screen(QStringLiteral("active")).pixelColor(background).name().toStdString();

    // Help, About: a modal dialog takes the focus.
    ASSERT_TRUE(player.keyForPopup(QStringLiteral("alt+h")));
    player.key(QStringLiteral("a"));
    ASSERT_FALSE(player.waitForActiveWindow(QStringLiteral("About")).isEmpty());
    EXPECT_TRUE(waitUntil([&] {
        return greyish(screen(QStringLiteral("inactive")).pixelColor(background));
    })) << screen(QStringLiteral("inactive")).pixelColor(background).name().toStdString();
    player.key(QStringLiteral("Escape"));
    ASSERT_TRUE(player.waitForNoWindow(QStringLiteral("About")));
    EXPECT_TRUE(waitUntil([&] {
        return bluish(screen(QStringLiteral("active")).pixelColor(background));
    })) << "active again";

    QFile::remove(m_folder.settingsFile());
    player.click(QPoint(g.right() - kCloseFromRight, g.top() + kCaptionMiddle));
    EXPECT_EQ(player.waitForExit(10000), 0) << "the close button ends the program";
    QFile settings(m_folder.settingsFile());
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_TRUE(settings.readAll().contains("[Main Window Position]"))
        << "closing went the usual way: the window's place was kept";
}

TEST_F(Caption, WithoutTheOwnCaptionTheWindowManagerFramesItAndTheMediaKeysStillPlay)
{
    Player &player =
        startPlayer({mp3Clip(QStringLiteral("First"), 6), mp3Clip(QStringLiteral("Second"), 9)});
    ASSERT_TRUE(waitForStart(player, 6)) << player.statusText().toStdString();
    ASSERT_TRUE(player.activate());
    player.key(QStringLiteral("XF86AudioNext"));
    EXPECT_TRUE(waitForStart(player, 9))
        << "the next-track key plays the next item: " << player.statusText().toStdString();

    // Options, second page, the own title bar off, OK.
    ASSERT_TRUE(player.keyForPopup(QStringLiteral("alt+o")));
    player.key(QStringLiteral("o"));
    ASSERT_FALSE(player.waitForActiveWindow(QStringLiteral("^Orvane Options")).isEmpty());
    player.key(QStringLiteral("ctrl+Tab"));
    AtSpi &atspi = player.accessibility();
    const Accessible app = atspi.application(player.pid());
    QRect box;
    ASSERT_TRUE(waitUntil([&] {
        box = atspi.extents(atspi.findByName(app, QStringLiteral("Draw Orvane's own title bar")));
        return !box.isEmpty();
    })) << "the page with the caption's switch";
    // A click toggles at once; the key's mnemonic would take a moment.
    player.click(QPoint(box.left() + 8, box.center().y()));
    player.key(QStringLiteral("Return"));
    ASSERT_TRUE(player.waitForNoWindow(QStringLiteral("^Orvane Options")));
    EXPECT_TRUE(waitUntil([&] {
        const QString extents = frameExtents(player);
        return !extents.isEmpty() && extents != QStringLiteral("0, 0, 0, 0");
    })) << "the window manager's frame is back: "
        << frameExtents(player).toStdString();
    screen(QStringLiteral("framed"));

    ASSERT_TRUE(player.activate());
    player.key(QStringLiteral("XF86AudioPlay"));
    EXPECT_TRUE(waitForWord(player, QStringLiteral("Paused"), 5000))
        << "the play key pauses, also without the own caption: "
        << player.statusText().toStdString();
    player.key(QStringLiteral("XF86AudioStop"));
    EXPECT_TRUE(waitUntil(
        [&] { return player.playerctl({QStringLiteral("status")}) == QStringLiteral("Stopped"); },
        5000))
        << "the stop key stops: " << player.statusText().toStdString();
}

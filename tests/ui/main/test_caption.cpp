// The main window's own caption: its geometry worked out by hand at 96 DPI,
// the gradient's bands, and the painter on a real (offscreen) window: what
// it redraws, the frame it takes and gives back, and a title too long for
// its room.
#include "ui/main/captionbar.h"
#include "ui/main/captionrules.h"
#include "ui/main/modsubclass.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

using namespace orvane::ui;
using namespace orvane::ui::caption;

namespace {

// A 400-pixel wide window with the metrics of a 96 DPI desktop.
const Metrics kMetrics{};
constexpr QSize kWindow(400, 300);

} // namespace

TEST(CaptionRules, TheCaptionItsButtonsAndItsTitleShareTheBar)
{
    const Box rect = captionRect(kWindow, kMetrics, Style{});
    EXPECT_EQ(rect, (Box{4, 4, 396, 27})) << "inside the sizing border, one border short";

    const Buttons b = captionButtons(rect, kMetrics, Style{});
    ASSERT_EQ(b.buttons.size(), 3u);
    EXPECT_EQ(b.buttons[0], (Button{ButtonKind::Close, false, {373, 6, 394, 25}}));
    EXPECT_EQ(b.buttons[1], (Button{ButtonKind::Maximise, false, {350, 6, 371, 25}}));
    EXPECT_EQ(b.buttons[2], (Button{ButtonKind::Minimise, false, {329, 6, 350, 25}}));
    EXPECT_EQ(b.reserved, 392 - 329 - 2);
    EXPECT_EQ(iconBox(rect, kMetrics), (Box{6, 5, 27, 26}));

    const Box text = textRect(rect, iconWidth(kMetrics, Style{}), b.reserved);
    EXPECT_EQ(text, (Box{29, 4, 322, 27}));
    EXPECT_LT(text.right, b.buttons[2].box.left) << "the title never runs under a button";
    EXPECT_GT(text.left, iconBox(rect, kMetrics).right) << "nor under the icon";
}

TEST(CaptionRules, TheWindowsStateDecidesTheButtonsAndFrame)
{
    Style maximised;
    maximised.maximised = true;
    Box rect = captionRect(kWindow, kMetrics, maximised);
    EXPECT_EQ(captionButtons(rect, kMetrics, maximised).buttons[1].kind, ButtonKind::Restore);

    Style noMaximise;
    noMaximise.maximiseBox = false;
    const Button greyed = captionButtons(rect, kMetrics, noMaximise).buttons[1];
    EXPECT_EQ(greyed.kind, ButtonKind::Maximise);
    EXPECT_TRUE(greyed.greyed);
    noMaximise.maximised = true;
    EXPECT_EQ(captionButtons(rect, kMetrics, noMaximise).buttons[1].kind, ButtonKind::Maximise)
        << "a window that cannot maximise shows no restore button";

    Style help;
    help.minimiseBox = help.maximiseBox = false;
    help.contextHelp = true;
    const Buttons withHelp = captionButtons(rect, kMetrics, help);
    ASSERT_EQ(withHelp.buttons.size(), 2u);
    EXPECT_EQ(withHelp.buttons[1].kind, ButtonKind::Help);

    Style tool;
    tool.toolWindow = true;
    tool.minimiseBox = tool.maximiseBox = false;
    rect = captionRect(kWindow, kMetrics, tool);
    EXPECT_EQ(rect.bottom, 4 + 18 - 1) << "a tool window's small caption";
    const Buttons toolButtons = captionButtons(rect, kMetrics, tool);
    ASSERT_EQ(toolButtons.buttons.size(), 1u);
    EXPECT_EQ(toolButtons.buttons[0].box, (Box{373 + 3, 6, 394, 25 - 3}));
    EXPECT_EQ(iconWidth(kMetrics, tool), 0);

    Style fixed;
    fixed.sizingBorder = false;
    EXPECT_EQ(captionRect(kWindow, kMetrics, fixed).left, 3) << "the thin frame";
    Style minimised;
    minimised.minimised = true;
    EXPECT_EQ(captionRect(kWindow, kMetrics, minimised).top, 3);
}

TEST(CaptionRules, TheGradientRunsInBandsToTheRightEdge)
{
    const Box rect{4, 4, 644, 27}; // 640 wide: bands of 10
    const std::vector<Band> up = gradientBands(rect, QColor(0, 200, 10), QColor(64, 0, 10));
    ASSERT_EQ(up.size(), 65u) << "64 steps and the one flush with the edge";
    EXPECT_EQ(up.front().left, 4);
    EXPECT_EQ(up.front().colour, QColor(0, 200, 10));
    EXPECT_EQ(up[1].left, 14);
    EXPECT_EQ(up.back().left, 644 - 10);
    // 63 steps of 1 and 3.125: red 63, green 200 - 196.875.
    EXPECT_EQ(up.back().colour, QColor(63, 3, 10));
    for (size_t i = 1; i < up.size(); ++i) {
        EXPECT_GE(up[i].colour.red(), up[i - 1].colour.red()) << i;
        EXPECT_LE(up[i].colour.green(), up[i - 1].colour.green()) << i;
    }

    const std::vector<Band> halves = gradientBands(rect, Qt::black, QColor(32, 0, 0));
    EXPECT_EQ(halves[1].colour.red(), 0) << "0.5 goes to the even neighbour";
    EXPECT_EQ(halves[3].colour.red(), 2) << "1.5 too";
    EXPECT_EQ(halves[5].colour.red(), 2) << "and 2.5";

    const std::vector<Band> narrow = gradientBands(Box{0, 0, 20, 5}, Qt::black, Qt::white);
    EXPECT_EQ(narrow.front().width, 1) << "at least a pixel wide";
    EXPECT_EQ(narrow.size(), 21u);
    EXPECT_TRUE(gradientBands(Box{0, 0, 0, 5}, Qt::black, Qt::white).empty());
}

TEST(CaptionRules, ColoursEdgesAndAlignment)
{
    const QPalette palette = QApplication::palette();
    EXPECT_EQ(colourOf(7929825, palette), QColor(0xE1, 0xFF, 0x78)) << "0x00BBGGRR";
    EXPECT_EQ(colourOf(qint32(0x80000002), palette),
              palette.color(QPalette::Active, QPalette::Highlight))
        << "a negative value is a system colour";

    EXPECT_EQ(textAlignment(1), Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(textAlignment(2), Qt::AlignHCenter | Qt::AlignVCenter);
    EXPECT_EQ(textAlignment(7), Qt::AlignLeft | Qt::AlignVCenter);

    const QSize w(400, 300);
    EXPECT_EQ(resizeEdges({399, 299}, w, 4, 24), Qt::RightEdge | Qt::BottomEdge);
    EXPECT_EQ(resizeEdges({399, 290}, w, 4, 24), Qt::RightEdge | Qt::BottomEdge)
        << "near the corner along the edge";
    EXPECT_EQ(resizeEdges({399, 150}, w, 4, 24), Qt::RightEdge);
    EXPECT_EQ(resizeEdges({1, 150}, w, 4, 24), Qt::LeftEdge);
    EXPECT_EQ(resizeEdges({200, 0}, w, 4, 24), Qt::TopEdge);
    EXPECT_EQ(resizeEdges({200, 150}, w, 4, 24), Qt::Edges());
    EXPECT_EQ(resizeEdges({400, 150}, w, 4, 24), Qt::Edges()) << "outside the window";
}

namespace {

bool tinted(QColor pixel, QColor title)
{
    const auto near = [](int got, int want) { return want ? got > 60 : got < 40; };
    return near(pixel.red(), title.red()) && near(pixel.green(), title.green()) &&
           near(pixel.blue(), title.blue());
}

class Painter : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_form.setWindowTitle(QStringLiteral("Orvane"));
        m_form.resize(400, 300);
        m_painter.SetCaptionForm(&m_form);
        m_painter.SetActiveTextColor(0x0000FF);   // red
        m_painter.SetInactiveTextColor(0x00FF00); // green
        m_painter.SetTextAlignment(0);
        m_painter.InstallWndProc(&m_form);
        m_painter.InstallPainter();
        m_form.show();
        QApplication::processEvents();
    }

    // The columns of the look's image in which the title's colour shows,
    // also where smoothing blends it into the black gradient.
    std::pair<int, int> titleColumns(int look, QColor colour)
    {
        const QImage image = m_painter.cachedImage(look);
        int first = -1, last = -1;
        for (int x = 0; x < image.width(); ++x)
            for (int y = 0; y < image.height(); ++y)
                if (tinted(image.pixelColor(x, y), colour)) {
                    if (first < 0)
                        first = x;
                    last = x;
                }
        return {first, last};
    }

    QWidget m_form;
    modSub_Class m_painter;
};

} // namespace

TEST_F(Painter, EachLookIsDrawnOnceAndShownFromItsImage)
{
    CaptionBar *bar = m_form.findChild<CaptionBar *>();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(m_form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(m_form.contentsMargins().top(), m_painter.captionRect().bottom + 1)
        << "the window's content starts below the caption";
    const int drawn = m_painter.imagesDrawn();
    ASSERT_GT(drawn, 0);

    for (int x = 10; x < 300; x += 7) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, 10), bar->mapToGlobal(QPointF(x, 10)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &move);
    }
    QApplication::processEvents();
    EXPECT_EQ(m_painter.imagesDrawn(), drawn) << "the pointer's moves draw nothing";

    QEvent deactivate(QEvent::ActivationChange);
    QApplication::sendEvent(&m_form, &deactivate);
    EXPECT_FALSE(m_painter.isActive() && !m_form.isActiveWindow());
    const int afterLooks = m_painter.imagesDrawn();
    QApplication::sendEvent(&m_form, &deactivate);
    EXPECT_EQ(m_painter.imagesDrawn(), afterLooks) << "a look already drawn is reused";

    m_form.resize(500, 300);
    QApplication::processEvents();
    EXPECT_GT(m_painter.imagesDrawn(), afterLooks) << "a new width draws the caption anew";
    EXPECT_EQ(m_painter.cachedImage(m_painter.isActive() ? 1 : 0).width(),
              m_painter.captionRect().width());

    const int beforeTitle = m_painter.imagesDrawn();
    m_form.setWindowTitle(QStringLiteral("Another title"));
    EXPECT_GT(m_painter.imagesDrawn(), beforeTitle) << "a new title is shown, not the old image";
}

TEST_F(Painter, ALongTitleEndsInAnEllipsisBeforeTheButtons)
{
    const int look = m_painter.isActive() ? 1 : 0;
    const QColor colour = look ? QColor(255, 0, 0) : QColor(0, 255, 0);
    const Box rect = m_painter.captionRect();
    const Box text = textRect(rect, iconWidth(m_painter.metrics(), m_painter.captionStyle()),
                              m_painter.captionButtons().reserved);
    const auto shortTitle = titleColumns(look, colour);
    ASSERT_GE(shortTitle.first, 0) << "the title is drawn in its colour";

    m_form.setWindowTitle(
        QString(QStringLiteral("A title far too long for the caption ")).repeated(4));
    const auto [first, last] = titleColumns(look, colour);
    ASSERT_GE(first, 0);
    // Image columns start at the caption's left edge.
    EXPECT_LE(last + rect.left, text.right) << "cut where its room ends";
    EXPECT_GE(last + rect.left, text.right - 12) << "and filled up to there";
    EXPECT_LT(last + rect.left, m_painter.captionButtons().buttons.back().box.left);
    // The dots of the ellipsis sit on the baseline, where a letter cut
    // short would reach up to the top of the line.
    const QImage image = m_painter.cachedImage(look);
    int top = image.height(), bottom = -1, dotsTop = image.height();
    for (int x = first; x <= last; ++x)
        for (int y = 0; y < image.height(); ++y)
            if (tinted(image.pixelColor(x, y), colour)) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                if (x > last - 6)
                    dotsTop = std::min(dotsTop, y);
            }
    EXPECT_GT(dotsTop, top + (bottom - top) / 2) << "the title ends in an ellipsis";
}

TEST_F(Painter, RemovingThePainterGivesTheFrameBack)
{
    m_painter.RemovePainter();
    EXPECT_FALSE(m_form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(m_form.contentsMargins(), QMargins());
    EXPECT_FALSE(m_form.findChild<CaptionBar *>()->isVisible());
    EXPECT_TRUE(m_painter.cachedImage(1).isNull()) << "its images are let go";
    EXPECT_TRUE(m_form.isVisible()) << "the window stays on the screen";

    m_painter.InstallPainter();
    EXPECT_TRUE(m_form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(m_painter.isActive()) << "a new painter starts with the active look";
}

// The main window's size rules as arithmetic, in twips.
#include "ui/main/windowrules.h"

#include <gtest/gtest.h>

using namespace orvane::ui;

namespace {

constexpr double kBar = 4950;  // all five bands as designed
const QSizeF kFrame(120, 690); // borders, caption and menu bar

ResizeInput input(qint32 state, qint32 previous, QSizeF outer, bool bar = true)
{
    ResizeInput in;
    in.state = state;
    in.previousState = previous;
    in.outer = outer;
    in.inner = outer - kFrame;
    in.picture = QSizeF(6000, 4500);
    in.barVisible = bar;
    in.barHeight = kBar;
    return in;
}

} // namespace

TEST(WindowRules, Resize)
{
    struct Case {
        const char *name;
        ResizeInput in;
        std::optional<QSizeF> restore, correct, area, picture;
    };
    const Case cases[] = {
        {"normal, large enough: lay out and remember",
         input(0, 0, QSizeF(8000, 10000)),
         {},
         {},
         QSizeF(7880, 9310 - kBar),
         QSizeF(7880, 9310 - kBar)},
        {"too narrow: width first, nothing laid out",
         input(0, 0, QSizeF(5000, 100)),
         {},
         QSizeF(5655, 100),
         {},
         {}},
        {"too low: the bar counts while it is shown",
         input(0, 0, QSizeF(6000, 9000)),
         {},
         QSizeF(6000, 4305 + kBar),
         {},
         {}},
        {"too low without the bar",
         input(0, 0, QSizeF(6000, 4000), false),
         {},
         QSizeF(6000, 4305),
         {},
         {}},
        {"hidden bar: the whole inner area is picture",
         input(0, 0, QSizeF(6000, 5000), false),
         {},
         {},
         QSizeF(5880, 4310),
         QSizeF(5880, 4310)},
        {"maximised: laid out but the normal picture is kept",
         input(2, 0, QSizeF(19200, 15360)),
         {},
         {},
         QSizeF(19080, 14670 - kBar),
         {}},
        {"restored from maximised: the remembered picture comes back",
         input(0, 2, QSizeF(19200, 15360)),
         QSizeF(6120, 4500 + 690 + kBar),
         {},
         QSizeF(6000, 4500),
         QSizeF(6000, 4500)},
        {"minimised: nothing moves", input(1, 0, QSizeF(0, 0)), {}, {}, {}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const ResizeDecision d = decideResize(c.in);
        EXPECT_EQ(d.restore, c.restore);
        EXPECT_EQ(d.correct, c.correct);
        EXPECT_EQ(d.area, c.area);
        EXPECT_EQ(d.picture, c.picture);
        EXPECT_EQ(d.previousState, c.in.state);
    }
}

TEST(WindowRules, BarHeightChange)
{
    const QSizeF outer(8000, 10000);
    const QSizeF inner = outer - kFrame;
    const QSizeF picture(7880, 4360);
    // A panel of 1455 hidden in the normal window: the window shrinks by it.
    const BarChangeDecision normal =
        decideBarHeightChange(0, true, outer, inner, picture, kBar - 1455);
    EXPECT_EQ(normal.outerHeight, 10000 - 1455);
    EXPECT_FALSE(normal.area);
    // While a command rearranges the bar the window is left alone.
    const BarChangeDecision busy = decideBarHeightChange(0, false, outer, inner, picture, 3000);
    EXPECT_FALSE(busy.outerHeight || busy.area);
    // Maximised: the window keeps its size and the picture area takes the room.
    const BarChangeDecision maximised =
        decideBarHeightChange(2, false, outer, inner, picture, kBar - 1455);
    EXPECT_FALSE(maximised.outerHeight);
    EXPECT_EQ(maximised.area, QSizeF(7880, 9310 - kBar + 1455));
    EXPECT_FALSE(decideBarHeightChange(1, true, outer, inner, picture, 0).outerHeight);
}

TEST(WindowRules, StartupHeightAndMinimum)
{
    EXPECT_EQ(minimumHeight(true, kBar), 4305 + kBar);
    EXPECT_EQ(minimumHeight(false, kBar), 4305);
    EXPECT_EQ(startupOuterHeight(true, kBar, 4305, 690), kBar + 4305 + 690);
    EXPECT_EQ(startupOuterHeight(false, kBar, 4305, 690), 4305 + 690) << "bar hidden";
}

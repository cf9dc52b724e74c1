#pragma once

#include <QColor>
#include <QPalette>
#include <QRect>
#include <QSize>

#include <vector>

namespace orvane::ui::caption {

// The geometry of the main window's own caption, apart from any window so
// that it can be checked by arithmetic alone. Rectangles are in window
// coordinates with the right and bottom edges exclusive, the way the
// caption's numbers were first worked out.
struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    QRect toRect() const { return QRect(left, top, width(), height()); }
    bool contains(QPoint p) const
    {
        return p.x() >= left && p.x() < right && p.y() >= top && p.y() < bottom;
    }
    friend bool operator==(const Box &, const Box &) = default;
};

// The desktop's measures for a caption: the sizing border, the thin frame
// of a window that cannot be sized, the caption heights and the size of a
// caption button.
struct Metrics {
    int frameX = 4;
    int frameY = 4;
    int dialogFrameX = 3;
    int dialogFrameY = 3;
    int captionHeight = 24;
    int smallCaptionHeight = 18;
    int border = 1;
    int buttonX = 23;
    int buttonY = 23;
};

// The metrics at a logical DPI, the caption tall enough for a title in a
// font whose line is fontHeight pixels.
Metrics metricsFor(double logicalDpi, int fontHeight);

// What the window is: its frame and boxes decide the caption's shape.
struct Style {
    bool sizingBorder = true;
    bool minimised = false;
    bool maximised = false;
    bool toolWindow = false;
    bool minimiseBox = true;
    bool maximiseBox = true;
    bool contextHelp = false;
};

Box captionRect(QSize window, const Metrics &m, const Style &s);

// The frame's width and height for this style.
QSize frameSize(const Metrics &m, const Style &s);

enum class ButtonKind { Close, Maximise, Restore, Minimise, Help };

struct Button {
    ButtonKind kind = ButtonKind::Close;
    bool greyed = false;
    Box box;
    friend bool operator==(const Button &, const Button &) = default;
};

struct Buttons {
    std::vector<Button> buttons; // right to left, as they are drawn
    int reserved = 0;            // what the title leaves to the buttons
};

Buttons captionButtons(const Box &rect, const Metrics &m, const Style &s);

// The icon's box, and the width it takes from the title (0 for a tool
// window, which shows none).
Box iconBox(const Box &rect, const Metrics &m);
int iconWidth(const Metrics &m, const Style &s);

Box textRect(const Box &rect, int iconWidth, int reserved);

// 1 right, 2 centre, anything else left; always one line, centred upright.
Qt::Alignment textAlignment(int alignment);

struct Band {
    int left = 0;
    int width = 0;
    QColor colour;
};

// The gradient from start to end across the rectangle, in solid bands of
// about a 64th of its width, the last one flush with the right edge.
std::vector<Band> gradientBands(const Box &rect, QColor start, QColor end);

// A stored colour: 0x00BBGGRR, or when negative a system colour by its
// index in the low byte, taken from the palette.
QColor colourOf(qint32 value, const QPalette &palette);

// Which edges a press at p would resize in a frameless window of this
// size whose sizing border is border pixels wide; the corners reach
// corner pixels along each edge.
Qt::Edges resizeEdges(QPoint p, QSize window, int border, int corner);

} // namespace orvane::ui::caption

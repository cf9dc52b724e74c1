#pragma once

#include <QFont>
#include <QIcon>
#include <QPalette>
#include <QPixmap>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

namespace orvane::ui::toolkit {

// What painting one owner-drawn menu item needs.
struct MenuItemPaintInput {
    QRect rect;        // the item's rectangle
    int type = 0;      // MFT_* bits, MFT_RADIOCHECK included
    quint32 state = 0; // ODS_* bits of the draw request
    int style = 3;     // pStyle, 0..3
    bool disabledLook = false;
    int imageIndex = 0;    // 0: the item has no image
    QIcon icon;            // the image; null when the index names none
    QString caption;       // text before the tab, "&" marks the access key
    QString accessCaption; // drawn right-aligned
    QFont font;            // the item's font; bold is added for the default item
    QRect textRect;        // the text extent of the last measuring
    QPixmap bitmap;        // a bitmap item's picture
    QSize iconColumn;      // I x J
    QPalette palette;
};

// Paints one item: background and highlight, text or bitmap, icon or check
// mark, and the frames of the style.
void paintMenuItem(QPainter &painter, const MenuItemPaintInput &input);

// A rectangle as the drawing rules state them: right and bottom exclusive.
struct EdgeRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    static EdgeRect from(const QRect &rect)
    {
        return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
    }
    QRect toRect() const { return {left, top, right - left, bottom - top}; }
};

// The geometry of an item's parts, from its rectangle and icon column.
struct MenuItemLayout {
    EdgeRect item;       // R
    EdgeRect iconColumn; // C
    EdgeRect iconBox;    // B
    EdgeRect text;       // T
};
MenuItemLayout layoutMenuItem(const QRect &rect, QSize iconColumn);

// Edge kinds and sides, as the frame rules name them.
inline constexpr int BDR_RAISEDOUTER = 0x1;
inline constexpr int BDR_SUNKENOUTER = 0x2;
inline constexpr int BDR_RAISEDINNER = 0x4;
inline constexpr int BDR_SUNKENINNER = 0x8;
inline constexpr int EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
inline constexpr int BF_LEFT = 0x1;
inline constexpr int BF_TOP = 0x2;
inline constexpr int BF_RIGHT = 0x4;
inline constexpr int BF_BOTTOM = 0x8;
inline constexpr int BF_RECT = 0xF;

// A 3D edge of one or two pixel lines on the chosen sides of rect.
void drawEdge(QPainter &painter, EdgeRect rect, int edge, int sides, const QPalette &palette);

} // namespace orvane::ui::toolkit

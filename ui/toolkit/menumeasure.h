#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

namespace orvane::ui::toolkit {

// The size of a menu check mark (the icon column of style 0 without images).
inline constexpr int kMenuCheckSize = 13;
// The height of a separator item.
inline constexpr int kSeparatorHeight = 13;

// Nearest integer, halves going to the even neighbour, as the item geometry
// is rounded.
int roundHalfEven(double value);

// What the measuring of one owner-drawn item needs.
struct MenuItemMeasureInput {
    int type = 0;     // MFT_* bits
    QSize bitmapSize; // of a bitmap item's picture
    QString caption;  // text before the tab
    QString accessCaption;
    QFont font;
    QSize iconColumn; // I x J: image size or check size
};

struct MenuItemMeasure {
    QSize size;     // the item's width and height
    QRect textRect; // the text's extent, kept for embossed drawing
};

// The size of an item: separators 0 x 13; bitmaps their picture; text items
// their text plus the icon column and margins.
MenuItemMeasure measureMenuItem(const MenuItemMeasureInput &input);

} // namespace orvane::ui::toolkit

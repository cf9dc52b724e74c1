#include "ui/toolkit/menumeasure.h"

#include "ui/toolkit/clsactivemenu.h"

#include <QFontMetrics>

#include <cmath>

namespace orvane::ui::toolkit {

int roundHalfEven(double value)
{
    // Spelled out rather than left to the floating-point rounding mode.
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction > 0.5)
        return static_cast<int>(below) + 1;
    if (fraction < 0.5)
        return static_cast<int>(below);
    const auto lower = static_cast<long long>(below);
    return static_cast<int>(lower % 2 == 0 ? lower : lower + 1);
}

MenuItemMeasure measureMenuItem(const MenuItemMeasureInput &input)
{
    MenuItemMeasure result;
    if (input.type & MFT_SEPARATOR) {
        result.size = QSize(0, kSeparatorHeight);
        return result;
    }
    QSize extent;
    if (input.type & MFT_BITMAP) {
        extent = input.bitmapSize;
    } else {
        // One line, "&" counted as a character, the tab left out and one
        // blank added: the gap between caption and access caption.
        const QFontMetrics metrics(input.font);
        const QString text = input.caption + input.accessCaption + QLatin1Char(' ');
        extent = QSize(metrics.horizontalAdvance(text), metrics.height());
        result.textRect = QRect(QPoint(0, 0), extent);
    }
    const int iconWidth = input.iconColumn.width();
    const int iconHeight = input.iconColumn.height();
    const int height = (iconHeight > extent.height() ? iconHeight : extent.height() + 2) + 2;
    result.size = QSize(extent.width() + iconWidth + 18, height);
    return result;
}

} // namespace orvane::ui::toolkit

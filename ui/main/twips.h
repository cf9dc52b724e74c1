#pragma once

#include <QWidget>

namespace orvane::ui {

// The window measures itself in twips, 1440 to the inch: 15 to a pixel at
// 96 DPI.
inline double twipsPerPixelX(const QWidget *w)
{
    return 1440.0 / (w ? w->logicalDpiX() : 96);
}
inline double twipsPerPixelY(const QWidget *w)
{
    return 1440.0 / (w ? w->logicalDpiY() : 96);
}
inline int twipsToPixelsX(const QWidget *w, double twips)
{
    return qRound(twips / twipsPerPixelX(w));
}
inline int twipsToPixelsY(const QWidget *w, double twips)
{
    return qRound(twips / twipsPerPixelY(w));
}

} // namespace orvane::ui

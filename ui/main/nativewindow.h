#pragma once

#include <QColor>

class QWindow;

namespace orvane::ui {

// Gives a native window a background the X server paints itself. The
// engines' video windows are never painted by Qt, so without it a menu or
// dialog closed over an idle engine would leave its picture behind. Does
// nothing on other platforms.
void setNativeBackground(QWindow *window, const QColor &colour);

} // namespace orvane::ui

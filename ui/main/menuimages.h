#pragma once

#include <QIcon>
#include <QList>

namespace orvane::ui {

// The menus' image list: image n (1 to 22) of the menu table is element
// n - 1. Icons come from the desktop's theme, else from Qt's own set. A
// theme lookup walks the theme's folders, which would hold up the first
// window by milliseconds for pictures seen only in an open menu, so each
// icon looks itself up when it is first drawn.
QList<QIcon> menuImages();

} // namespace orvane::ui

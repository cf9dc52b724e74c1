#pragma once

#include <QIcon>
#include <QList>

namespace orvane::ui {

// The menus' image list: image n (1 to 22) of the menu table is element
// n - 1. Icons come from the desktop's theme, else from Qt's own set.
QList<QIcon> menuImages();

} // namespace orvane::ui

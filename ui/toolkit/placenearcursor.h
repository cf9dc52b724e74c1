#pragma once

class QWidget;

namespace orvane::ui {

// Moves a dialog so that the pointer lies over it and it stays on the
// screen. Does nothing before the main window exists.
void PlaceNearCursor(QWidget *form);

} // namespace orvane::ui

#pragma once

class QWidget;

namespace orvane::app {

// Logs (category "orvane.app.startup", off unless enabled) the wall-clock
// time at which the window was first drawn, so start-up can be measured
// from outside the process without a display-specific tool.
void reportFirstExpose(QWidget *window);

} // namespace orvane::app

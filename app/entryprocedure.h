#pragma once

class QApplication;

namespace orvane::app {

// Start-up: becomes the first instance and shows the main window, or hands
// the command line to the running instance and ends. Returns the exit status.
int runEntryProcedure(QApplication &app);

} // namespace orvane::app

#pragma once

#include <QString>

namespace orvane::core {

// Keeps the desktop's screen saver from starting while Orvane runs, through
// the freedesktop ScreenSaver service on the session bus. Without a session
// bus or without the service every call quietly does nothing. The desktop
// also drops an inhibition when our process ends, however it ends.
class ScreenSaver
{
public:
    // Asks the desktop not to start the screen saver. True when it agreed.
    static bool inhibit();
    // Gives the screen saver back, when inhibit() had succeeded.
    static void release();
    static bool isInhibited();
};

// Start-up: "Run Screen Saver" of "General Setting" reading exactly "No"
// inhibits the screen saver.
void ApplyScreenSaverSetting(const QString &settingsFile);

// Exit: "Set Screen Saver" reading exactly "Yes" releases it again.
void RestoreScreenSaver(const QString &settingsFile);

} // namespace orvane::core

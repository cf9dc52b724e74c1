#pragma once

#include <QByteArray>

namespace orvane::app {

// What the session offers for a display, and what the user asked Qt for.
struct DisplayEnvironment {
    QByteArray display;        // DISPLAY
    QByteArray waylandDisplay; // WAYLAND_DISPLAY
    QByteArray platform;       // QT_QPA_PLATFORM
    static DisplayEnvironment current();
};

// The Qt platform to run on, as QT_QPA_PLATFORM takes it; empty to leave
// the choice to Qt. The engines put their video into our window only on
// xcb, so wherever an X server is reachable (XWayland on a Wayland desktop)
// that comes first. A platform the user named, in the environment or as
// "-platform", stays.
QByteArray choosePlatform(const DisplayEnvironment &env, int argc, const char *const *argv);

// Makes the choice for the QApplication about to be built.
void applyPlatformChoice(int argc, const char *const *argv);

} // namespace orvane::app

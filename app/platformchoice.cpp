#include "app/platformchoice.h"

#include <cstring>

namespace orvane::app {

namespace {

bool platformArgumentGiven(int argc, const char *const *argv)
{
    for (int i = 1; i < argc; ++i) {
        // Qt takes its options with one dash or two.
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return true;
    }
    return false;
}

} // namespace

DisplayEnvironment DisplayEnvironment::current()
{
    return {qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY"), qgetenv("QT_QPA_PLATFORM")};
}

QByteArray choosePlatform(const DisplayEnvironment &env, int argc, const char *const *argv)
{
    if (!env.platform.isEmpty() || platformArgumentGiven(argc, argv))
        return {};
    // Should XWayland not answer, a picture without video beats no window.
    if (!env.display.isEmpty())
        return env.waylandDisplay.isEmpty() ? QByteArray("xcb") : QByteArray("xcb;wayland");
    if (!env.waylandDisplay.isEmpty())
        return QByteArray("wayland");
    return {};
}

void applyPlatformChoice(int argc, const char *const *argv)
{
    const QByteArray platform = choosePlatform(DisplayEnvironment::current(), argc, argv);
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}

} // namespace orvane::app

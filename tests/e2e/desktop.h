#pragma once

#include "tests/support/pulse.h"
#include "tests/support/sessionbus.h"
#include "tests/support/xvfb.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace orvane::e2e {

// A private desktop for one test, as a user's session has it: an X server
// (Xvfb) with a real window manager (openbox), a D-Bus session bus, and a
// PulseAudio server whose default sink is a null sink. Its own HOME and XDG
// folders keep everything away from the user's session. Everything stops
// with the object, also when the test fails halfway.
class Desktop
{
public:
    Desktop();
    ~Desktop();
    Desktop(const Desktop &) = delete;
    Desktop &operator=(const Desktop &) = delete;

    // Starts every part and waits (bounded) until each answers; false with
    // the reason in error().
    bool start(int width = 1280, int height = 1024);
    QString error() const { return m_error; }

    QString display() const { return m_x.display(); }
    QString busAddress() const { return m_bus.address(); }
    test::PulseServer &pulse() { return m_pulse; }
    // A folder of the desktop's own for files a test makes.
    QString home() const { return m_home.path(); }
    // The environment a program of this desktop runs in.
    QProcessEnvironment environment() const;

    // Runs a client of this desktop (xdotool, playerctl, pactl ...) and
    // returns its standard output, trimmed; empty when it fails or takes
    // longer than timeoutMs. exitCode, when given, gets its status.
    QString run(const QString &program, const QStringList &args, int timeoutMs = 15000,
                int *exitCode = nullptr) const;
    // Where the window manager has a window on the screen, as xdotool
    // reports it; empty when it cannot be read.
    QRect windowGeometry(const QString &windowId) const;
    // Saves the whole screen as PNG.
    bool screenshot(const QString &pngPath) const;

private:
    bool startWindowManager();

    QTemporaryDir m_home;
    test::Xvfb m_x;
    test::PrivateSessionBus m_bus;
    test::PulseServer m_pulse;
    std::unique_ptr<QProcess> m_windowManager;
    QString m_error;
};

// Waits for a condition, checking it every pollMs, for at most timeoutMs.
bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 15000, int pollMs = 50);

} // namespace orvane::e2e

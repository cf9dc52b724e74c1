#pragma once

#include <QString>

#include <memory>

class QProcess;

namespace orvane::test {

// A private X server for tests that need a real window (screenshots, key
// events through xdotool). Picks a free display number itself.
class Xvfb
{
public:
    Xvfb();
    ~Xvfb();
    Xvfb(const Xvfb &) = delete;
    Xvfb &operator=(const Xvfb &) = delete;

    // Starts the server; false (with the reason in error()) when it cannot.
    bool start(int width = 1280, int height = 1024);
    // ":N", valid after start().
    QString display() const { return m_display; }
    QString error() const { return m_error; }

    // Saves the whole screen as PNG with ImageMagick's import.
    bool screenshot(const QString &pngPath) const;

private:
    std::unique_ptr<QProcess> m_server;
    QString m_display;
    QString m_error;
};

} // namespace orvane::test

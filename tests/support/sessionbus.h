#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

namespace orvane::test {

// A private D-Bus session bus for one test: services registered on it never
// meet the user's desktop. The daemon runs in a process group of its own,
// so the services it starts on demand (the accessibility bus, for one) end
// with it. Stopped by the destructor.
class PrivateSessionBus
{
public:
    ~PrivateSessionBus();
    // Starts dbus-daemon and waits (bounded) for its address. Services it
    // starts inherit env.
    bool start(const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment());
    void stop();
    QString address() const { return m_address; }

private:
    QProcess m_daemon;
    QString m_address;
};

} // namespace orvane::test

#pragma once

#include <QProcess>
#include <QString>

namespace orvane::test {

// A private D-Bus session bus for one test: services registered on it never
// meet the user's desktop. Stopped by the destructor.
class PrivateSessionBus
{
public:
    ~PrivateSessionBus();
    // Starts dbus-daemon and waits (bounded) for its address.
    bool start();
    QString address() const { return m_address; }

private:
    QProcess m_daemon;
    QString m_address;
};

} // namespace orvane::test

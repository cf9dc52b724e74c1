#include "tests/support/sessionbus.h"

#include <signal.h>
#include <unistd.h>

namespace orvane::test {

PrivateSessionBus::~PrivateSessionBus()
{
    stop();
}

bool PrivateSessionBus::start(const QProcessEnvironment &env)
{
    m_daemon.setProcessEnvironment(env);
    m_daemon.setChildProcessModifier([] { ::setpgid(0, 0); });
    m_daemon.start(QStringLiteral("dbus-daemon"),
                   {QStringLiteral("--session"), QStringLiteral("--nofork"),
                    QStringLiteral("--print-address=1")});
    if (!m_daemon.waitForReadyRead(10000))
        return false;
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    return !m_address.isEmpty();
}

void PrivateSessionBus::stop()
{
    if (m_daemon.state() == QProcess::NotRunning)
        return;
    // The whole group: the daemon and every service it started.
    ::kill(-pid_t(m_daemon.processId()), SIGKILL);
    m_daemon.waitForFinished(5000);
}

} // namespace orvane::test

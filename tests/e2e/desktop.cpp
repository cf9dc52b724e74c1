#include "tests/e2e/desktop.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QHash>
#include <QThread>

#include <signal.h>
#include <unistd.h>

namespace orvane::e2e {

Desktop::Desktop() = default;

Desktop::~Desktop()
{
    if (m_windowManager && m_windowManager->state() != QProcess::NotRunning) {
        m_windowManager->kill();
        m_windowManager->waitForFinished(5000);
    }
    m_pulse.stop();
    m_bus.stop();
    // Xvfb goes last, with its member.
}

bool Desktop::start(int width, int height)
{
    if (!m_home.isValid()) {
        m_error = QStringLiteral("no temporary folder");
        return false;
    }
    for (const char *sub : {"runtime", "config", "cache", "tmp"})
        QDir().mkpath(m_home.filePath(QString::fromLatin1(sub)));
    QFile::setPermissions(m_home.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (!m_x.start(width, height)) {
        m_error = m_x.error();
        return false;
    }
    // The bus starts its services (the accessibility bus) in this desktop.
    if (!m_bus.start(environment())) {
        m_error = QStringLiteral("dbus-daemon did not start");
        return false;
    }
    if (!m_pulse.start()) {
        m_error = m_pulse.error();
        return false;
    }
    return startWindowManager();
}

bool Desktop::startWindowManager()
{
    m_windowManager = std::make_unique<QProcess>();
    m_windowManager->setProcessEnvironment(environment());
    m_windowManager->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_windowManager->setStandardOutputFile(QProcess::nullDevice());
    m_windowManager->start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    if (!m_windowManager->waitForStarted(10000)) {
        m_error = QStringLiteral("openbox did not start");
        return false;
    }
    // A window manager announces itself on the root window once it manages.
    const bool managing = waitUntil(
        [this] {
            return run(QStringLiteral("xprop"),
                       {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")}, 5000)
                .contains(QStringLiteral("window id"));
        },
        10000, 50);
    if (!managing)
        m_error = QStringLiteral("openbox did not take the screen");
    return managing;
}

QProcessEnvironment Desktop::environment() const
{
    QProcessEnvironment env = m_pulse.clientEnvironment();
    for (const char *name : {"WAYLAND_DISPLAY", "XDG_SESSION_TYPE", "XDG_CURRENT_DESKTOP",
                             "SESSION_MANAGER", "XAUTHORITY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("DISPLAY"), m_x.display());
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_bus.address());
    env.insert(QStringLiteral("HOME"), m_home.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home.filePath(QStringLiteral("runtime")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), m_home.filePath(QStringLiteral("cache")));
    env.insert(QStringLiteral("TMPDIR"), m_home.filePath(QStringLiteral("tmp")));
    return env;
}

QString Desktop::run(const QString &program, const QStringList &args, int timeoutMs,
                     int *exitCode) const
{
    QProcess client;
    client.setProcessEnvironment(environment());
    client.start(program, args);
    if (!client.waitForFinished(timeoutMs)) {
        client.kill();
        client.waitForFinished(2000);
        if (exitCode)
            *exitCode = -1;
        return {};
    }
    if (exitCode)
        *exitCode = client.exitStatus() == QProcess::NormalExit ? client.exitCode() : -1;
    return QString::fromUtf8(client.readAllStandardOutput()).trimmed();
}

QRect Desktop::windowGeometry(const QString &windowId) const
{
    const QString shell =
        run(QStringLiteral("xdotool"),
            {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), windowId}, 5000);
    QHash<QString, int> v;
    for (const QString &line : shell.split(u'\n'))
        v.insert(line.section(u'=', 0, 0), line.section(u'=', 1).toInt());
    if (!v.contains(QStringLiteral("WIDTH")))
        return {};
    return {v.value(QStringLiteral("X")), v.value(QStringLiteral("Y")),
            v.value(QStringLiteral("WIDTH")), v.value(QStringLiteral("HEIGHT"))};
}

bool Desktop::screenshot(const QString &pngPath) const
{
    return m_x.screenshot(pngPath);
}

bool waitUntil(const std::function<bool()> &condition, int timeoutMs, int pollMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return condition();
        QThread::msleep(pollMs);
    }
    return true;
}

} // namespace orvane::e2e

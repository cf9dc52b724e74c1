#include "tests/support/pulse.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace orvane::test {

namespace {

// True once something accepts connections on the socket.
bool accepts(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    sockaddr_un address{};
    if (native.size() >= qsizetype(sizeof(address.sun_path)))
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, native.constData(), size_t(native.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0;
    ::close(fd);
    return ok;
}

} // namespace

PulseServer::PulseServer() = default;

PulseServer::~PulseServer()
{
    stop();
}

QString PulseServer::serverAddress() const
{
    return QStringLiteral("unix:") + m_dir.filePath(QStringLiteral("native"));
}

bool PulseServer::start(int timeoutMs)
{
    if (isRunning())
        return true;
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("no temporary folder");
        return false;
    }
    const QString socket = m_dir.filePath(QStringLiteral("native"));
    const QString config = m_dir.filePath(QStringLiteral("server.pa"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        m_error = QStringLiteral("cannot write the server configuration");
        return false;
    }
    file.write("load-module module-null-sink sink_name=orvane_null\n");
    file.write("load-module module-native-protocol-unix auth-anonymous=1 socket=");
    file.write(QFile::encodeName(socket));
    file.write("\nset-default-sink orvane_null\n");
    file.close();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), m_dir.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), m_dir.filePath(QStringLiteral("runtime")));
    env.insert(QStringLiteral("PULSE_STATE_PATH"), m_dir.filePath(QStringLiteral("state")));
    env.remove(QStringLiteral("PULSE_SERVER"));
    m_server = std::make_unique<QProcess>();
    m_server->setProcessEnvironment(env);
    m_server->setProcessChannelMode(QProcess::MergedChannels);
    m_server->start(QStringLiteral("pulseaudio"),
                    {QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                     QStringLiteral("--use-pid-file=no"), QStringLiteral("--disable-shm=yes"),
                     QStringLiteral("--log-target=stderr"), QStringLiteral("-n"),
                     QStringLiteral("-F"), config});
    if (!m_server->waitForStarted(timeoutMs)) {
        m_error = QStringLiteral("pulseaudio did not start");
        m_server.reset();
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    while (!accepts(socket)) {
        if (m_server->state() == QProcess::NotRunning || clock.elapsed() > timeoutMs) {
            m_server->waitForFinished(100);
            m_error = QStringLiteral("pulseaudio did not come up: ") +
                      QString::fromLocal8Bit(m_server->readAll()).right(2000);
            stop();
            return false;
        }
        QThread::msleep(20);
    }
    return true;
}

void PulseServer::stop()
{
    if (!m_server)
        return;
    if (m_server->state() != QProcess::NotRunning) {
        m_server->terminate();
        if (!m_server->waitForFinished(5000)) {
            m_server->kill();
            m_server->waitForFinished(5000);
        }
    }
    m_server.reset();
}

bool PulseServer::isRunning() const
{
    return m_server && m_server->state() == QProcess::Running;
}

qint64 PulseServer::processId() const
{
    return isRunning() ? m_server->processId() : 0;
}

QProcessEnvironment PulseServer::clientEnvironment(QProcessEnvironment base) const
{
    base.insert(QStringLiteral("PULSE_SERVER"), serverAddress());
    base.insert(QStringLiteral("PULSE_RUNTIME_PATH"), m_dir.filePath(QStringLiteral("runtime")));
    base.insert(QStringLiteral("PULSE_SINK"), sinkName());
    return base;
}

void PulseServer::exportToThisProcess() const
{
    qputenv("PULSE_SERVER", serverAddress().toLocal8Bit());
    qputenv("PULSE_RUNTIME_PATH", m_dir.filePath(QStringLiteral("runtime")).toLocal8Bit());
    qputenv("PULSE_SINK", sinkName().toLocal8Bit());
}

} // namespace orvane::test

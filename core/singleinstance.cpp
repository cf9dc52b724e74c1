#include "core/singleinstance.h"

#include "core/instancemessage.h"
#include "core/logging.h"
#include "core/messagebox.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace orvane::core {

namespace {

// A connection that does not deliver its message in this time is dropped,
// so a stuck or hostile client cannot hold the running instance.
constexpr int kConnectionTimeoutMs = 5000;
constexpr int kProbeTimeoutMs = 500;

QString runtimeFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder;
}

bool answers(const QString &socketPath)
{
    QLocalSocket probe;
    probe.connectToServer(socketPath);
    // A socket nobody listens on refuses at once.
    return probe.waitForConnected(kProbeTimeoutMs);
}

} // namespace

SingleInstance::SingleInstance(QObject *parent)
    : QObject(parent)
    , m_base(runtimeFolder() + QLatin1Char('/') + kApplicationTitle + QLatin1Char('-') +
             QString::number(::getuid()))
{}

SingleInstance::~SingleInstance()
{
    if (m_server) {
        m_server->close();
        QLocalServer::removeServer(socketPath());
    }
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

QString SingleInstance::socketPath() const
{
    return m_base + QStringLiteral(".socket");
}

QString SingleInstance::lockPath() const
{
    return m_base + QStringLiteral(".lock");
}

bool SingleInstance::acquire()
{
    if (m_lockFd >= 0)
        return true;
    const int fd =
        ::open(QFile::encodeName(lockPath()).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        // Without a lock file we cannot tell; behave as the only instance.
        qCWarning(lcInstance) << "cannot open lock file" << lockPath();
        return true;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_lockFd = fd;
    return true;
}

bool SingleInstance::listen()
{
    // We hold the lock, so a socket left there belongs to a dead instance.
    // One that still answers is another program's: listening would take
    // its name away (QLocalServer renames its socket over the old one).
    if (answers(socketPath()))
        return cannotListen(QStringLiteral("another program listens there"));
    QLocalServer::removeServer(socketPath());
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnection);
    if (!m_server->listen(socketPath())) {
        const QString error = m_server->errorString();
        delete m_server;
        m_server = nullptr;
        return cannotListen(error);
    }
    return true;
}

bool SingleInstance::cannotListen(const QString &reason) const
{
    // The player runs on; only later starts cannot hand it their files.
    qCWarning(lcInstance).nospace() << "cannot listen on " << socketPath() << ": " << reason
                                    << "; later starts cannot hand files over to this one";
    return false;
}

void SingleInstance::acceptConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        auto *reader = new InstanceMessageReader;
        auto *timer = new QTimer(socket);
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, socket, &QLocalSocket::abort);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QObject::destroyed, socket, [reader] { delete reader; });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, reader] {
            switch (reader->feed(socket->readAll())) {
            case InstanceMessageReader::State::NeedMore:
                return;
            case InstanceMessageReader::State::Invalid:
                qCWarning(lcInstance) << "dropped a malformed hand-over";
                socket->abort();
                return;
            case InstanceMessageReader::State::Complete:
                socket->write(kInstanceReply);
                socket->flush();
                socket->disconnectFromServer();
                Q_EMIT executeReceived(reader->text());
                return;
            }
        });
        timer->start(kConnectionTimeoutMs);
    }
}

bool SingleInstance::sendExecute(const QString &rawCommandLine, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    // The first instance may hold the lock but not listen yet: retry.
    while (true) {
        socket.connectToServer(socketPath());
        if (socket.waitForConnected(int(std::max<qint64>(deadline.remainingTime(), 1))))
            break;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    socket.write(encodeInstanceMessage(rawCommandLine));
    QByteArray reply;
    while (!reply.contains('\n')) {
        if (socket.bytesToWrite() > 0)
            socket.waitForBytesWritten(int(std::max<qint64>(deadline.remainingTime(), 1)));
        else if (!socket.waitForReadyRead(int(std::max<qint64>(deadline.remainingTime(), 1))))
            break;
        reply += socket.readAll();
        if (deadline.hasExpired())
            break;
    }
    reply += socket.readAll();
    return reply == kInstanceReply;
}

} // namespace orvane::core

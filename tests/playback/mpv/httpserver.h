#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

namespace orvane::test {

// Serves one file over HTTP on 127.0.0.1 (with byte ranges, as libavformat
// asks for them), so that a network source can be played without a network.
// Runs on the test's event loop: it answers while the test pumps events.
class HttpFileServer : public QObject
{
public:
    explicit HttpFileServer(QByteArray body, QByteArray contentType)
        : m_body(std::move(body))
        , m_type(std::move(contentType))
    {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                socket->setParent(this);
                QObject::connect(socket, &QTcpSocket::readyRead, socket,
                                 [this, socket] { answer(socket); });
            }
        });
    }
    QString url(const QString &name) const
    {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(m_server.serverPort()).arg(name);
    }
    int requests() const { return m_requests; }

private:
    void answer(QTcpSocket *socket)
    {
        QByteArray &request = m_partial[socket];
        request += socket->readAll();
        if (!request.contains("\r\n\r\n"))
            return;
        ++m_requests;
        qsizetype from = 0;
        const qsizetype range = request.indexOf("Range: bytes=");
        if (range >= 0) {
            const qsizetype start = range + 13;
            from = request.mid(start, request.indexOf('-', start) - start).toLongLong();
        }
        from = qBound<qsizetype>(0, from, m_body.size());
        QByteArray head = range >= 0 ? "HTTP/1.1 206 Partial Content\r\n" : "HTTP/1.1 200 OK\r\n";
        head += "Content-Type: " + m_type + "\r\nAccept-Ranges: bytes\r\nContent-Length: " +
                QByteArray::number(m_body.size() - from) + "\r\n";
        if (range >= 0)
            head += "Content-Range: bytes " + QByteArray::number(from) + '-' +
                    QByteArray::number(m_body.size() - 1) + '/' +
                    QByteArray::number(m_body.size()) + "\r\n";
        head += "Connection: close\r\n\r\n";
        socket->write(head + m_body.mid(from));
        socket->disconnectFromHost();
        m_partial.remove(socket);
    }

    QTcpServer m_server;
    QByteArray m_body;
    QByteArray m_type;
    QHash<QTcpSocket *, QByteArray> m_partial;
    int m_requests = 0;
};

} // namespace orvane::test

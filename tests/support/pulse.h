#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class QProcess;

namespace orvane::test {

// A private PulseAudio server with one null sink ("orvane_null", the
// default), reached through a socket in a temporary folder. Nothing of the
// user's sound setup is touched: the server gets its own HOME and runtime
// folder and loads no configuration but ours. Stopped by stop() or the
// destructor.
class PulseServer
{
public:
    PulseServer();
    ~PulseServer();
    PulseServer(const PulseServer &) = delete;
    PulseServer &operator=(const PulseServer &) = delete;

    // Starts the server and waits (bounded) until it takes connections;
    // false, with the reason in error(), when it does not.
    bool start(int timeoutMs = 10000);
    void stop();
    bool isRunning() const;
    QString error() const { return m_error; }

    QString sinkName() const { return QStringLiteral("orvane_null"); }
    // "unix:<socket>", the value for PULSE_SERVER.
    QString serverAddress() const;
    // The environment for a client process: PULSE_SERVER, PULSE_RUNTIME_PATH
    // and PULSE_SINK pointing here.
    QProcessEnvironment
    clientEnvironment(QProcessEnvironment base = QProcessEnvironment::systemEnvironment()) const;
    // The same for clients inside this process (GStreamer's pulsesink).
    void exportToThisProcess() const;
    // The server's process id, or 0.
    qint64 processId() const;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_server;
    QString m_error;
};

} // namespace orvane::test

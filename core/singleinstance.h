#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace orvane::core {

// Stands in for the DDE link between two instances: a lock file decides which
// process is the first, and a local socket carries the second one's command
// line to it. Both live in the user's runtime folder and are named after the
// application title and the user id, so users never meet each other.
//
// The first instance holds an exclusive lock on the lock file for its whole
// life. The kernel drops it when the process dies in any way, so a killed
// instance never blocks the next start; its stale socket is removed.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when this process became the first instance (it now holds the
    // lock); false when an earlier instance runs.
    bool acquire();

    // First instance: starts accepting hand-overs. False (and a warning
    // naming the socket and the reason) when the socket cannot be created
    // or another program listens on its name; the caller runs on alone.
    bool listen();

    // Second instance: hands the raw command line to the first one and waits
    // for its answer, at most timeoutMs in all. False when none answers.
    bool sendExecute(const QString &rawCommandLine, int timeoutMs = 5000);

    QString socketPath() const;
    QString lockPath() const;

Q_SIGNALS:
    // A second instance handed over this raw command line.
    void executeReceived(const QString &rawCommandLine);

private:
    void acceptConnection();
    // Reports why hand-overs cannot arrive; false.
    bool cannotListen(const QString &reason) const;

    QString m_base;
    int m_lockFd = -1;
    QLocalServer *m_server = nullptr;
};

} // namespace orvane::core

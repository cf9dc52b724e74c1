#pragma once

#include "tests/support/processes.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

namespace orvane::test {

// One run of the real program in a private program folder, its hand-over
// log switched on so a test can see what reached it.
class AppProcess
{
public:
    AppProcess(const ProgramFolder &folder, const QStringList &args,
               const QString &display = QString());
    // The same with an environment of the caller's.
    AppProcess(QProcessEnvironment env, const QString &executable, const QStringList &args,
               const QString &display = QString());
    ~AppProcess();

    QProcess &process() { return *m_process; }
    // Waits (bounded) until the log holds the text.
    bool waitForLog(const QString &text, int timeoutMs = 10000);
    QString log();
    // Waits (bounded) for the exit; -1 when it is still running.
    int waitForExit(int timeoutMs = 10000);

private:
    std::unique_ptr<QProcess> m_process;
    QString m_log;
};

// The lines "queued: <text>" the first instance wrote, in order.
QStringList queuedTexts(const QString &log);

// Runs xdotool on a display; its standard output, or nothing after timeoutMs.
QString xdotool(const QString &display, const QStringList &args, int timeoutMs = 15000);

} // namespace orvane::test

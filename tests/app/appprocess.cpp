#include "tests/app/appprocess.h"

#include <QDeadlineTimer>
#include <QRegularExpression>

#include <signal.h>

namespace orvane::test {

AppProcess::AppProcess(const ProgramFolder &folder, const QStringList &args, const QString &display)
    : AppProcess(folder.environment(), folder.executable(), args, display)
{}

AppProcess::AppProcess(QProcessEnvironment env, const QString &executable, const QStringList &args,
                       const QString &display)
    : m_process(std::make_unique<QProcess>())
{
    env.insert(QStringLiteral("QT_LOGGING_RULES"),
               QStringLiteral("orvane.core.instance.info=true"));
    if (!display.isEmpty()) {
        env.insert(QStringLiteral("DISPLAY"), display);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    }
    m_process->setProcessEnvironment(env);
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->start(executable, args);
}

AppProcess::~AppProcess()
{
    if (m_process->state() != QProcess::NotRunning) {
        ::kill(pid_t(m_process->processId()), SIGKILL);
        m_process->waitForFinished(5000);
    }
}

QString AppProcess::log()
{
    m_log += QString::fromUtf8(m_process->readAll());
    return m_log;
}

bool AppProcess::waitForLog(const QString &text, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!log().contains(text)) {
        if (deadline.hasExpired() || m_process->state() == QProcess::NotRunning)
            return log().contains(text);
        m_process->waitForReadyRead(100);
    }
    return true;
}

int AppProcess::waitForExit(int timeoutMs)
{
    if (!m_process->waitForFinished(timeoutMs) && m_process->state() != QProcess::NotRunning)
        return -1;
    log();
    return m_process->exitStatus() == QProcess::NormalExit ? m_process->exitCode() : -2;
}

QStringList queuedTexts(const QString &log)
{
    QStringList texts;
    static const QRegularExpression line(QStringLiteral("queued: (.*)$"),
                                         QRegularExpression::MultilineOption);
    auto it = line.globalMatch(log);
    while (it.hasNext())
        texts.append(it.next().captured(1));
    return texts;
}

QString xdotool(const QString &display, const QStringList &args, int timeoutMs)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("xdotool"), args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(2000);
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

} // namespace orvane::test

#include "tests/support/xvfb.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <fcntl.h>
#include <unistd.h>

namespace orvane::test {

Xvfb::Xvfb() = default;

Xvfb::~Xvfb()
{
    if (m_server && m_server->state() != QProcess::NotRunning) {
        m_server->terminate();
        if (!m_server->waitForFinished(5000))
            m_server->kill();
        m_server->waitForFinished(5000);
    }
}

bool Xvfb::start(int width, int height)
{
    // -displayfd makes Xvfb choose a free display and write its number to
    // the descriptor once it accepts connections: no guessing, no races.
    int fds[2];
    if (::pipe(fds) != 0) {
        m_error = QStringLiteral("pipe failed");
        return false;
    }
    m_server = std::make_unique<QProcess>();
    m_server->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const int writeFd = fds[1];
    m_server->setChildProcessModifier([writeFd] {
        // Keep the write end open across exec under a known number.
        ::dup2(writeFd, 3);
        ::fcntl(3, F_SETFD, 0);
    });
    m_server->start(QStringLiteral("Xvfb"),
                    {QStringLiteral("-displayfd"), QStringLiteral("3"), QStringLiteral("-screen"),
                     QStringLiteral("0"), QStringLiteral("%1x%2x24").arg(width).arg(height),
                     QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                     QStringLiteral("-noreset")});
    ::close(fds[1]);
    if (!m_server->waitForStarted(10000)) {
        ::close(fds[0]);
        m_error = QStringLiteral("Xvfb did not start");
        return false;
    }
    QByteArray number;
    char c = 0;
    // Xvfb writes the number and a newline; bound the wait with poll-free
    // reads (the server closes the pipe on failure, which ends the loop).
    while (::read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    ::close(fds[0]);
    if (number.isEmpty()) {
        m_error = QStringLiteral("Xvfb gave no display number");
        return false;
    }
    m_display = QLatin1Char(':') + QString::fromLatin1(number);
    return true;
}

bool Xvfb::screenshot(const QString &pngPath) const
{
    QProcess import;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    import.setProcessEnvironment(env);
    import.start(QStringLiteral("import"),
                 {QStringLiteral("-window"), QStringLiteral("root"), pngPath});
    return import.waitForFinished(20000) && import.exitCode() == 0;
}

} // namespace orvane::test

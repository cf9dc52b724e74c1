// Start-up to the main window first drawn, with an empty playlist, under a
// private Xvfb: the median of 20 starts. Each start runs in a fresh program
// folder so no setting.ini or instance lock carries over.
#include "tests/support/processes.h"
#include "tests/support/xvfb.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

using namespace orvane::test;

namespace {

constexpr int kRuns = 20;
constexpr double kBudgetMs = 200.0;

qint64 nowMicros()
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return qint64(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

// Milliseconds from the start of the process to its first expose; -1 on failure.
double oneStart(const QString &display)
{
    ProgramFolder folder;
    if (!folder.isValid())
        return -1;
    QProcessEnvironment env = folder.environment();
    env.insert(QStringLiteral("DISPLAY"), display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("orvane.app.startup.info=true"));
    QProcess app;
    app.setProcessEnvironment(env);
    app.setProcessChannelMode(QProcess::MergedChannels);
    const qint64 started = nowMicros();
    app.start(folder.executable(), {});
    QString log;
    static const QRegularExpression exposed(QStringLiteral("window exposed at (\\d+)"));
    QRegularExpressionMatch match;
    while (!(match = exposed.match(log)).hasMatch() && app.waitForReadyRead(10000))
        log += QString::fromUtf8(app.readAll());
    app.kill();
    app.waitForFinished(5000);
    if (!match.hasMatch())
        return -1;
    return double(match.captured(1).toLongLong() - started) / 1000.0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication qapp(argc, argv);
    Xvfb x;
    if (!x.start(1280, 1024)) {
        std::printf("startup: no Xvfb: %s\n", qPrintable(x.error()));
        return 1;
    }
    oneStart(x.display()); // warm the file cache
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        const double ms = oneStart(x.display());
        if (ms < 0) {
            std::printf("startup: run %d failed\n", i);
            return 1;
        }
        times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    const double median = (times[kRuns / 2 - 1] + times[kRuns / 2]) / 2;
    std::printf("startup to first expose: median %.1f ms (min %.1f, max %.1f) over %d starts; "
                "budget %.0f ms: %s\n",
                median, times.front(), times.back(), kRuns, kBudgetMs,
                median <= kBudgetMs ? "within" : "OVER");
    return 0;
}

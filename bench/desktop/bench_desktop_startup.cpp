// Start-up of the real program with an empty playlist, from launch to its
// main window's first expose on a private desktop with a window manager,
// against a Qt Widgets hello-world started and timed the same way, the two
// taking turns. Both print the wall-clock time of their first expose.
#include "bench/desktop/desktopbench.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QRegularExpression>

#include <cstdio>
#include <ctime>

using namespace orvane;
using namespace orvane::bench;

namespace {

constexpr int kStarts = 20; // of each program, per block
constexpr double kBudgetRatio = 1.3;

qint64 wallMicros()
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return qint64(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

qint64 exposedAt(const QString &log)
{
    static const QRegularExpression line(QStringLiteral("window exposed at (\\d+)"));
    const QRegularExpressionMatch match = line.match(log);
    return match.hasMatch() ? match.captured(1).toLongLong() : -1;
}

// Milliseconds from launch to the first expose; -1 when it never comes.
double oneStart(e2e::Desktop &desktop, const test::ProgramFolder &folder, const QString &program)
{
    e2e::Player player(desktop, folder);
    player.setAccessibility(false);
    player.setProgram(program);
    player.setEnvironment(QStringLiteral("QT_LOGGING_RULES"),
                          QStringLiteral("orvane.app.startup.info=true;hello.startup.info=true"));
    const qint64 launched = wallMicros();
    if (!player.start())
        return -1;
    qint64 exposed = -1;
    const QDeadlineTimer deadline(20000);
    while ((exposed = exposedAt(player.log())) < 0 && !deadline.hasExpired())
        if (player.waitForExit(10) != -1)
            break;
    if (exposed < 0)
        std::fprintf(stderr, "no first expose; its output:\n%s\n",
                     qPrintable(player.log().right(2000)));
    return exposed < 0 ? -1 : double(exposed - launched) / 1000.0;
}

struct Block {
    double orvaneMs = -1;
    double helloMs = -1;
    double ratio() const { return orvaneMs / helloMs; }
};

// The two take turns, each first every other time, so neither gains from
// what the other left in the caches.
Block runBlock(e2e::Desktop &desktop, const test::ProgramFolder &folder)
{
    const QString hello = QStringLiteral(ORVANE_BENCH_HELLO);
    std::vector<double> orvane;
    std::vector<double> helloWorld;
    for (int i = 0; i < 2 * kStarts; ++i) {
        const bool orvaneNow = (i % 2 == 0) == (i / 2 % 2 == 0);
        const double ms = oneStart(desktop, folder, orvaneNow ? QString() : hello);
        if (ms < 0)
            return {};
        (orvaneNow ? orvane : helloWorld).push_back(ms);
    }
    return {median(orvane), median(helloWorld)};
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    test::ProgramFolder folder;
    if (!folder.isValid())
        return cannotPrepare("startup", QStringLiteral("no program folder"));
    const auto desktop = startDesktop("startup");
    if (!desktop)
        return 1;
    // One start of each first: the executables and libraries into the cache,
    // and orvane's setting.ini written as after a user's first run.
    oneStart(*desktop, folder, {});
    oneStart(*desktop, folder, QStringLiteral(ORVANE_BENCH_HELLO));
    std::vector<double> orvane, hello, ratios;
    for (int block = 1; block <= kBlocks; ++block) {
        const Block b = runBlock(*desktop, folder);
        if (b.orvaneMs < 0 || b.helloMs < 0)
            return cannotPrepare("startup", QStringLiteral("a start showed no window"));
        std::printf("startup block %d: orvane median %.1f ms, hello-world %.1f ms, ratio %.2f "
                    "(%d starts each)\n",
                    block, b.orvaneMs, b.helloMs, b.ratio(), kStarts);
        std::fflush(stdout);
        orvane.push_back(b.orvaneMs);
        hello.push_back(b.helloMs);
        ratios.push_back(b.ratio());
    }
    const double ratio = median(ratios);
    std::printf("startup: orvane median %.1f ms, hello-world %.1f ms, ratios %s, median ratio "
                "%.2f (budget %.1f): %s\n",
                median(orvane), median(hello), qPrintable(joined(ratios, 2)), ratio, kBudgetRatio,
                verdict(ratio <= kBudgetRatio));
    return 0;
}

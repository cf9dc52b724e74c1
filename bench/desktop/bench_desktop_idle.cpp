// Idle CPU of the real program: started with nothing to play on a private
// desktop, its window shown, measured over 20 s once it has settled. The
// busiest threads and their wake-ups show where an idle cost comes from.
#include "bench/desktop/desktopbench.h"

#include <QCoreApplication>

#include <cstdio>

using namespace orvane;
using namespace orvane::bench;

namespace {

constexpr int kWindowMs = 20000;
constexpr int kSettleMs = 15000;
constexpr double kBudgetPercent = 0.05;

// One start, measured; invalid after printing why.
CpuUse idleRun(e2e::Desktop &desktop, const test::ProgramFolder &folder)
{
    const auto player = startProgram(desktop, folder, {}, {});
    if (!player || player->window().isEmpty()) {
        std::fprintf(stderr, "idle: orvane showed no window\n%s\n",
                     player ? qPrintable(player->log().right(2000)) : "");
        return {};
    }
    if (!settle(*player, kSettleMs))
        std::printf("  (still busy %d s after its window came up; measured anyway)\n",
                    kSettleMs / 1000);
    const CpuUse use = measureFor(*player, kWindowMs);
    if (!use.isValid())
        std::fprintf(stderr, "idle: orvane ended while measured\n%s\n",
                     qPrintable(player->log().right(2000)));
    return use;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    test::ProgramFolder folder;
    if (!folder.isValid())
        return cannotPrepare("idle", QStringLiteral("no program folder"));
    const auto desktop = startDesktop("idle");
    if (!desktop)
        return 1;
    std::vector<double> percents;
    for (int block = 1; block <= kBlocks; ++block) {
        const CpuUse use = idleRun(*desktop, folder);
        if (!use.isValid())
            return 1;
        std::printf("idle block %d: orvane %.3f %% of one core over %.0f s (utime+stime %.2f s; "
                    "threads' run time %.4f s = %.4f %%)\n",
                    block, use.percentOfCore(), use.wallSeconds, use.seconds, use.preciseSeconds,
                    use.precisePercentOfCore());
        printTopThreads(QStringLiteral("orvane"), use, 4);
        std::fflush(stdout);
        percents.push_back(use.percentOfCore());
    }
    const double percent = median(percents);
    std::printf("idle: orvane %s %% of one core; median %.3f %% (budget %.2f %%): %s\n",
                qPrintable(joined(percents, 3)), percent, kBudgetPercent,
                verdict(percent <= kBudgetPercent));
    return 0;
}

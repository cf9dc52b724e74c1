// The own caption under a moving pointer: the real program on a private
// desktop, the pointer sweeping across its caption for 5 s, and the GUI
// thread's CPU meanwhile. A caption that repaints on every move would show
// here; one that copies its cached image costs next to nothing.
#include "bench/desktop/desktopbench.h"

#include <QCoreApplication>
#include <QProcess>

#include <cstdio>

using namespace orvane;
using namespace orvane::bench;

namespace {

constexpr int kSweepMs = 5000;
constexpr int kSettleMs = 15000;
constexpr double kBudgetPercent = 2.0; // of one core, the GUI thread
// At 96 DPI the caption's middle is 15 pixels below the window's top.
constexpr int kCaptionMiddle = 15;

// xdotool moving the pointer to and fro along the caption, a step every
// 10 ms, for about kSweepMs.
QStringList sweep(const QRect &window)
{
    QStringList args;
    const int from = window.left() + 30;
    const int to = window.right() - 90; // short of the buttons
    const int steps = kSweepMs / 10;
    for (int i = 0; i < steps; ++i) {
        const int phase = i % 100;
        const int x = from + (to - from) * (phase < 50 ? phase : 100 - phase) / 50;
        args << QStringLiteral("mousemove") << QString::number(x)
             << QString::number(window.top() + kCaptionMiddle) << QStringLiteral("sleep")
             << QStringLiteral("0.01");
    }
    return args;
}

// One start, swept; the GUI thread's share of a core, negative after
// printing why.
double sweepRun(e2e::Desktop &desktop, const test::ProgramFolder &folder, int block)
{
    const auto player = startProgram(desktop, folder, {}, {});
    if (!player || player->window().isEmpty()) {
        std::fprintf(stderr, "caption: orvane showed no window\n");
        return -1;
    }
    settle(*player, kSettleMs);
    QProcess hand;
    hand.setProcessEnvironment(desktop.environment());
    hand.start(QStringLiteral("xdotool"), sweep(player->geometry()));
    if (!hand.waitForStarted(5000)) {
        std::fprintf(stderr, "caption: xdotool did not start\n");
        return -1;
    }
    const CpuUse use = measureFor(*player, kSweepMs);
    hand.waitForFinished(kSweepMs);
    if (!use.isValid())
        return -1;
    double gui = 0;
    for (const ThreadUse &thread : use.threads)
        if (thread.tid == use.mainTid)
            gui = thread.seconds / use.wallSeconds * 100.0;
    std::printf("caption block %d: GUI thread %.3f %% of one core, the whole program %.3f %% "
                "over %.1f s of sweeping\n",
                block, gui, use.precisePercentOfCore(), use.wallSeconds);
    printTopThreads(QStringLiteral("orvane"), use, 3);
    std::fflush(stdout);
    return gui;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    test::ProgramFolder folder;
    if (!folder.isValid())
        return cannotPrepare("caption", QStringLiteral("no program folder"));
    const auto desktop = startDesktop("caption");
    if (!desktop)
        return 1;
    std::vector<double> percents;
    for (int block = 1; block <= kBlocks; ++block) {
        const double gui = sweepRun(*desktop, folder, block);
        if (gui < 0)
            return 1;
        percents.push_back(gui);
    }
    const double percent = median(percents);
    std::printf("caption: GUI thread %s %% of one core while the pointer sweeps the caption; "
                "median %.3f %% (budget %.1f %%): %s\n",
                qPrintable(joined(percents, 3)), percent, kBudgetPercent,
                verdict(percent <= kBudgetPercent));
    return 0;
}

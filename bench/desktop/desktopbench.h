#pragma once

#include "bench/desktop/procstat.h"
#include "tests/e2e/desktop.h"
#include "tests/e2e/player.h"
#include "tests/support/processes.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// Shared by the benchmarks that run the real program on a private desktop
// (Xvfb, openbox, a session bus, PulseAudio with a null sink) beside a
// reference started the same way in the same run.
namespace orvane::bench {

// Every measurement block runs this often; the median of its figures is
// what is held against the budget, so one unlucky block on a small machine
// does not decide.
constexpr int kBlocks = 3;

double median(std::vector<double> values);
QString joined(const std::vector<double> &values, int decimals);
const char *verdict(bool within);
// Prints why the benchmark cannot run; the exit status to return.
int cannotPrepare(const char *bench, const QString &why);

// A started desktop, or null after printing why not.
std::unique_ptr<e2e::Desktop> startDesktop(const char *bench);

// Starts a program on the desktop without accessibility, as most desktops
// run: orvane of the folder when program is empty, else that program.
std::unique_ptr<e2e::Player> startProgram(e2e::Desktop &desktop, const test::ProgramFolder &folder,
                                          const QString &program, const QStringList &args);

// Whether the process has a PulseAudio stream that plays (not corked).
bool playsSound(const e2e::Desktop &desktop, qint64 pid);
// Waits (bounded) until the process's sound plays; false when it ends or
// the time runs out first.
bool waitForSound(const e2e::Desktop &desktop, e2e::Player &player, int timeoutMs = 30000);

// What the process uses over the next ms; invalid when it ends meanwhile.
CpuUse measureFor(e2e::Player &player, int ms);
// Waits (bounded) until a second passes in which the process uses under
// 0.5 % of a core; false when it is still busy when the time runs out.
bool settle(e2e::Player &player, int timeoutMs);

// The size of the program's visible window whose name starts so; empty
// when there is none.
QSize windowSize(const e2e::Desktop &desktop, qint64 pid, const QString &namePattern);

QString fileUri(const QString &path);
// A medium made by ffmpeg once per build tree; empty after printing why.
QString makeMedia(const QString &name, const QStringList &ffmpegArgs);

} // namespace orvane::bench

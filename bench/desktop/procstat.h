#pragma once

#include <QString>

#include <vector>

namespace orvane::bench {

// One thread's counters from /proc/<pid>/task/<tid>/.
struct ThreadSample {
    qint64 tid = 0;
    QString name;       // comm: "orvane" for the main (GUI) thread
    qint64 ticks = 0;   // utime + stime, in clock ticks
    qint64 runNs = 0;   // time on a CPU from schedstat, in nanoseconds
    qint64 wakeups = 0; // voluntary context switches
};

// A process's counters at one moment. The process figure from
// /proc/<pid>/stat keeps the time of threads that have ended; the threads
// list holds only those alive now.
struct ProcessSample {
    qint64 pid = 0;
    qint64 ticks = -1;
    std::vector<ThreadSample> threads;
    bool isValid() const { return ticks >= 0; }
};

ProcessSample sampleProcess(qint64 pid);

struct ThreadUse {
    qint64 tid = 0;
    QString name;
    double seconds = 0.0;
    double wakeupsPerSecond = 0.0;
};

// What a process used between two samples.
struct CpuUse {
    double seconds = -1.0;       // utime + stime, clock-tick resolution
    double preciseSeconds = 0.0; // the threads' run time (misses threads that ended)
    double wallSeconds = 0.0;
    qint64 mainTid = 0;
    std::vector<ThreadUse> threads; // most CPU first
    bool isValid() const { return seconds >= 0.0 && wallSeconds > 0.0; }
    double percentOfCore() const { return seconds / wallSeconds * 100.0; }
    double precisePercentOfCore() const { return preciseSeconds / wallSeconds * 100.0; }
};

// Threads are matched by id; one born in between counts from zero.
CpuUse cpuBetween(const ProcessSample &before, const ProcessSample &after, double wallSeconds);

// The busiest threads, one a line, the main thread marked.
void printTopThreads(const QString &label, const CpuUse &use, int count);

} // namespace orvane::bench

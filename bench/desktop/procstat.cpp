#include "bench/desktop/procstat.h"

#include <QDir>
#include <QFile>
#include <QHash>

#include <algorithm>
#include <cstdio>

#include <unistd.h>

namespace orvane::bench {

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// utime + stime of a stat line, or -1 when the task is gone or a zombie.
// The fields after the name (which may hold blanks and brackets) start
// after its last ')'.
qint64 statTicks(const QByteArray &line, QString *name = nullptr)
{
    const qsizetype open = line.indexOf('(');
    const qsizetype close = line.lastIndexOf(')');
    if (open < 0 || close < open)
        return -1;
    const QList<QByteArray> fields = line.mid(close + 2).split(' ');
    if (fields.size() < 13 || fields.at(0) == "Z" || fields.at(0) == "X")
        return -1;
    if (name)
        *name = QString::fromUtf8(line.mid(open + 1, close - open - 1));
    return fields.at(11).toLongLong() + fields.at(12).toLongLong();
}

qint64 voluntarySwitches(const QByteArray &status)
{
    static const QByteArray key = "\nvoluntary_ctxt_switches:";
    const qsizetype at = status.indexOf(key);
    if (at < 0)
        return 0;
    const qsizetype from = at + key.size();
    return status.mid(from, status.indexOf('\n', from) - from).trimmed().toLongLong();
}

ThreadSample sampleThread(const QString &taskDir, qint64 tid)
{
    ThreadSample thread;
    thread.tid = tid;
    thread.ticks = statTicks(readAll(taskDir + QStringLiteral("/stat")), &thread.name);
    thread.runNs = readAll(taskDir + QStringLiteral("/schedstat")).split(' ').value(0).toLongLong();
    thread.wakeups = voluntarySwitches(readAll(taskDir + QStringLiteral("/status")));
    return thread;
}

double ticksToSeconds(qint64 ticks)
{
    return double(ticks) / double(::sysconf(_SC_CLK_TCK));
}

} // namespace

ProcessSample sampleProcess(qint64 pid)
{
    ProcessSample sample;
    sample.pid = pid;
    const QString proc = QStringLiteral("/proc/%1").arg(pid);
    const QStringList tasks =
        QDir(proc + QStringLiteral("/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &tid : tasks) {
        ThreadSample thread = sampleThread(proc + QStringLiteral("/task/") + tid, tid.toLongLong());
        if (thread.ticks >= 0)
            sample.threads.push_back(std::move(thread));
    }
    // Read last, so the total is never below the sum of the threads.
    sample.ticks = statTicks(readAll(proc + QStringLiteral("/stat")));
    return sample;
}

CpuUse cpuBetween(const ProcessSample &before, const ProcessSample &after, double wallSeconds)
{
    CpuUse use;
    if (!before.isValid() || !after.isValid() || before.pid != after.pid || wallSeconds <= 0)
        return use;
    use.seconds = ticksToSeconds(after.ticks - before.ticks);
    use.wallSeconds = wallSeconds;
    use.mainTid = after.pid;
    QHash<qint64, const ThreadSample *> earlier;
    for (const ThreadSample &thread : before.threads)
        earlier.insert(thread.tid, &thread);
    for (const ThreadSample &thread : after.threads) {
        const ThreadSample *start = earlier.value(thread.tid, nullptr);
        const double runNs = double(thread.runNs - (start ? start->runNs : 0));
        const qint64 wakeups = thread.wakeups - (start ? start->wakeups : 0);
        use.preciseSeconds += runNs / 1e9;
        use.threads.push_back(
            {thread.tid, thread.name, runNs / 1e9, double(wakeups) / wallSeconds});
    }
    std::sort(use.threads.begin(), use.threads.end(),
              [](const ThreadUse &a, const ThreadUse &b) { return a.seconds > b.seconds; });
    return use;
}

void printTopThreads(const QString &label, const CpuUse &use, int count)
{
    std::printf("  %s threads, busiest first (CPU s over %.0f s, share of one core, wake-ups a "
                "second):\n",
                qPrintable(label), use.wallSeconds);
    const auto print = [&](const ThreadUse &thread) {
        std::printf("    %-18s %7.3f s %6.2f %% %7.1f/s%s\n", qPrintable(thread.name),
                    thread.seconds, thread.seconds / use.wallSeconds * 100.0,
                    thread.wakeupsPerSecond,
                    thread.tid == use.mainTid ? "  <- main (GUI) thread" : "");
    };
    bool mainShown = false;
    for (int i = 0; i < count && i < int(use.threads.size()); ++i) {
        print(use.threads[size_t(i)]);
        mainShown = mainShown || use.threads[size_t(i)].tid == use.mainTid;
    }
    for (const ThreadUse &thread : use.threads)
        if (!mainShown && thread.tid == use.mainTid)
            print(thread);
    std::printf("    %zu threads, %.3f s together; the process (utime+stime, ended threads "
                "too) %.2f s\n",
                use.threads.size(), use.preciseSeconds, use.seconds);
}

} // namespace orvane::bench

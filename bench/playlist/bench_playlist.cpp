// Loading and saving a 100,000-item playlist file through the real view
// model, and the memory it then takes.
#include "playlist/ovlformat.h"
#include "playlist/playlistfile.h"
#include "playlist/playlistmodel.h"
#include "playlist/playliststore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

using namespace orvane::playlist;

namespace {

constexpr int kItems = 100000;
constexpr int kRuns = 7;

QString itemLine(int i)
{
    PlayListItem item;
    item.MEDIATYPE = i % 7 == 0 ? kMediaReal : kMediaWmp;
    item.DOPLAY = i % 11 == 0 ? kFalse : kTrue;
    item.DOLOOP = 1;
    item.NUMBER = i % 13 == 0 ? 2 : 0;
    item.TITLE = QStringLiteral("Track %1, part %2").arg(i).arg(i % 9);
    item.AUTHOR = QStringLiteral("Artist %1").arg(i / 12);
    item.COPYRIGHT = QStringLiteral("(c) 2004 Label %1").arg(i % 40);
    item.DESCRIPTHION = QStringLiteral("Recorded live\r\nSide %1").arg(i % 2 ? u'A' : u'B');
    item.FILENAME = QStringLiteral("file:///home/user/Music/Artist %1/Album %2/%3 - Track.mp3")
                        .arg(i / 12)
                        .arg(i / 120)
                        .arg(i, 6, 10, QLatin1Char('0'));
    return ovl::formatItemLine(item);
}

QString writeInput()
{
    QDir().mkpath(QStringLiteral(ORVANE_BENCH_MEDIA_DIR));
    const QString path = QStringLiteral(ORVANE_BENCH_MEDIA_DIR "/playlist-100k.ovl");
    QString text = ovl::kHeader + ovl::kWrittenVersion + ovl::kLineEnd;
    for (int i = 0; i < kItems; ++i)
        text += itemLine(i) + ovl::kLineEnd;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0)
        return {};
    return path;
}

long statusKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qsizetype(qstrlen(field))).trimmed().split(' ').front().toLong();
    }
    return -1;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double cpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Wall-clock and CPU time of one run; the CPU time tells what the code
// costs when other processes share the two cores.
struct Timing {
    std::vector<double> wall, cpu;
    template <typename F> void run(F &&f)
    {
        const double cpuStart = cpuMs();
        QElapsedTimer timer;
        timer.start();
        f();
        wall.push_back(double(timer.nsecsElapsed()) / 1e6);
        cpu.push_back(cpuMs() - cpuStart);
    }
    void print(const char *what, const char *budget) const
    {
        std::printf("  %-26s median %7.1f ms wall, %7.1f ms CPU   %s\n", what, median(wall),
                    median(cpu), budget);
    }
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString input = writeInput();
    if (input.isEmpty()) {
        std::fprintf(stderr, "cannot write the input file\n");
        return 1;
    }
    const QString output = QStringLiteral(ORVANE_BENCH_MEDIA_DIR "/playlist-100k-saved.ovl");
    PlayListModel model;
    const long baseKb = statusKb("VmRSS:");
    bool ok = false;
    Timing first, loads, saves, commented;
    first.run([&] { ok = LoadPlayList(input, model); });
    const long loadedKb = statusKb("VmRSS:");
    for (int run = 0; run < kRuns && ok; ++run) {
        model.clear();
        ResetPlayList();
        loads.run([&] { ok = LoadPlayList(input, model) && ok; });
        saves.run([&] { ok = SavePlayList(model, output, false) && ok; });
        commented.run([&] { ok = SavePlayList(model, output, true) && ok; });
    }
    if (!ok || model.count() != kItems) {
        std::fprintf(stderr, "load or save failed (%d items)\n", model.count());
        return 1;
    }
    std::printf("playlist: %d-item .ovl (%.1f MB), %d runs\n", kItems,
                double(QFile(input).size()) / 1e6, kRuns);
    loads.print("load into the view model", "(budget 300 ms)");
    first.print("first load of the process", "");
    saves.print("save", "(budget 200 ms)");
    commented.print("save with comment block", "");
    std::printf("  resident after loading %.1f MB (budget 120 MB; %.1f MB before, peak %.1f MB)\n",
                double(loadedKb) / 1024.0, double(baseKb) / 1024.0,
                double(statusKb("VmHWM:")) / 1024.0);
    return 0;
}

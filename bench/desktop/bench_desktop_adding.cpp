// Adding media in the real program: started on a private desktop with an
// M3U of 2,000 local MP3 files, from its main window's first expose to the
// end of the walk, per file. The program prints the wall-clock time of
// both; the walk's own time is printed beside it.
#include "bench/desktop/desktopbench.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <unistd.h>

#include <cstdio>

using namespace orvane;
using namespace orvane::bench;

namespace {

constexpr int kFiles = 2000;
constexpr int kWarmUpFiles = 50;
constexpr double kBudgetMsPerFile = 6.0;

// An M3U of count files under names of their own, hard links (copies where
// no link can be made) of the clips; empty when a file cannot be made.
QString makeList(const QString &folder, const QString &name, const QStringList &clips, int count)
{
    QDir().mkpath(folder);
    QByteArray lines;
    for (int i = 0; i < count; ++i) {
        const QString &clip = clips.at(i % clips.size());
        const QString file =
            folder + QStringLiteral("/track-%1.mp3").arg(i, 4, 10, QLatin1Char('0'));
        if (!QFile::exists(file) &&
            ::link(QFile::encodeName(clip).constData(), QFile::encodeName(file).constData()) != 0 &&
            !QFile::copy(clip, file))
            return {};
        lines += QFile::encodeName(file) + '\n';
    }
    const QString list = folder + u'/' + name;
    QFile out(list);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(lines) != lines.size())
        return {};
    return list;
}

qint64 stampAfter(const QString &log, const QString &words)
{
    const QRegularExpression line(QRegularExpression::escape(words) + QStringLiteral(" (\\d+)"));
    const QRegularExpressionMatch match = line.match(log);
    return match.hasMatch() ? match.captured(1).toLongLong() : -1;
}

struct Run {
    double perFileMs = -1;     // first expose to the end of the walk
    double walkPerFileMs = -1; // the walk alone, by the program's clock
};

Run oneRun(e2e::Desktop &desktop, const test::ProgramFolder &folder, const QString &list, int files)
{
    // Each run adds to an empty list: the playlist kept from the run
    // before would otherwise be restored under it.
    QFile::remove(folder.path() + QStringLiteral("/lastplaylist.ovl"));
    e2e::Player player(desktop, folder);
    player.setAccessibility(false);
    player.setEnvironment(QStringLiteral("QT_LOGGING_RULES"),
                          QStringLiteral("orvane.app.startup.info=true;orvane.adding.info=true"));
    if (!player.start({list}))
        return {};
    // Generous: the slowest build measured took 110 s for the list.
    const QDeadlineTimer deadline(300000);
    qint64 done = -1;
    while ((done = stampAfter(player.log(), QStringLiteral("items; done at"))) < 0 &&
           !deadline.hasExpired())
        if (player.waitForExit(100) != -1)
            break;
    const QString log = player.log();
    const qint64 exposed = stampAfter(log, QStringLiteral("window exposed at"));
    static const QRegularExpression walk(QStringLiteral("walked (\\d+) locations in ([\\d.]+) ms"));
    const QRegularExpressionMatch walked = walk.match(log);
    if (done < 0 || exposed < 0 || !walked.hasMatch() || walked.captured(1).toInt() != files) {
        std::fprintf(stderr, "the walk did not end as expected; the program's output:\n%s\n",
                     qPrintable(log.right(2000)));
        return {};
    }
    return {double(done - exposed) / 1000.0 / files, walked.captured(2).toDouble() / files};
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    test::ProgramFolder folder;
    if (!folder.isValid())
        return cannotPrepare("adding", QStringLiteral("no program folder"));
    QStringList clips;
    for (const char *title : {"Alpha", "Beta", "Gamma"}) {
        const QString name = QString::fromLatin1(title);
        clips << makeMedia(QStringLiteral("adding-%1.mp3").arg(name.toLower()),
                           {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                            QStringLiteral("sine=frequency=440:duration=1"), QStringLiteral("-c:a"),
                            QStringLiteral("libmp3lame"), QStringLiteral("-metadata"),
                            QStringLiteral("title=") + name});
    }
    if (clips.contains(QString()))
        return 1;
    const auto desktop = startDesktop("adding");
    if (!desktop)
        return 1;
    const QString music = desktop->home() + QStringLiteral("/music");
    const QString list = makeList(music, QStringLiteral("long.m3u"), clips, kFiles);
    const QString warmUp = makeList(music, QStringLiteral("short.m3u"), clips, kWarmUpFiles);
    if (list.isEmpty() || warmUp.isEmpty())
        return cannotPrepare("adding", QStringLiteral("cannot write the files of the list"));
    // The program, its libraries and the clips into the cache first.
    oneRun(*desktop, folder, warmUp, kWarmUpFiles);
    std::vector<double> perFile;
    for (int block = 1; block <= kBlocks; ++block) {
        const Run run = oneRun(*desktop, folder, list, kFiles);
        if (run.perFileMs < 0)
            return cannotPrepare("adding", QStringLiteral("a walk did not end"));
        std::printf("adding block %d: %.2f ms a file from the window on screen to the last item "
                    "(the walk alone %.2f ms), %d local MP3 files from an M3U\n",
                    block, run.perFileMs, run.walkPerFileMs, kFiles);
        std::fflush(stdout);
        perFile.push_back(run.perFileMs);
    }
    const double result = median(perFile);
    std::printf("adding: %s ms a file, median %.2f (budget %.1f): %s\n",
                qPrintable(joined(perFile, 2)), result, kBudgetMsPerFile,
                verdict(result <= kBudgetMsPerFile));
    return 0;
}

// Adding discs in the real program: started on a private desktop with a
// 12-track audio CD image, then a 2-track Video CD image, mapped to a drive
// letter; the program's own clock of the walk over the disc location, which
// reads the table of contents, CD-TEXT and the MPEG tracks.
#include "bench/desktop/desktopbench.h"
#include "tests/support/discimages.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QRegularExpression>

#include <cstdio>

using namespace orvane;
using namespace orvane::bench;

namespace {

struct Disc {
    const char *label;
    QString image;
    QString location;
    int items;
    double budgetMs;
};

// The walk's time by the program's clock; negative when it did not end so.
double walkMs(e2e::Desktop &desktop, const test::ProgramFolder &folder, const Disc &disc)
{
    QFile::remove(folder.path() + QStringLiteral("/lastplaylist.ovl"));
    QFile ini(folder.settingsFile());
    if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        ini.write("[Drives]\nX=" + disc.image.toUtf8() + '\n') < 0)
        return -1;
    ini.close();
    e2e::Player player(desktop, folder);
    player.setAccessibility(false);
    player.setEnvironment(QStringLiteral("QT_LOGGING_RULES"),
                          QStringLiteral("orvane.adding.info=true"));
    if (!player.start({disc.location}))
        return -1;
    static const QRegularExpression walk(QStringLiteral(
        "walked 1 locations in ([\\d.]+) ms, 0 failed, the list holds (\\d+) items"));
    const QDeadlineTimer deadline(30000);
    QRegularExpressionMatch walked;
    while (!(walked = walk.match(player.log())).hasMatch() && !deadline.hasExpired())
        if (player.waitForExit(100) != -1)
            break;
    if (!walked.hasMatch() || walked.captured(2).toInt() != disc.items) {
        std::fprintf(stderr, "%s: the walk did not end as expected; the program's output:\n%s\n",
                     disc.label, qPrintable(player.log().right(2000)));
        return -1;
    }
    return walked.captured(1).toDouble();
}

bool measure(e2e::Desktop &desktop, const test::ProgramFolder &folder, const Disc &disc)
{
    walkMs(desktop, folder, disc); // the libraries and the image into the cache
    std::vector<double> times;
    for (int block = 1; block <= kBlocks; ++block) {
        const double ms = walkMs(desktop, folder, disc);
        if (ms < 0)
            return false;
        std::printf("%s block %d: %.1f ms for %d items\n", disc.label, block, ms, disc.items);
        std::fflush(stdout);
        times.push_back(ms);
    }
    const double result = median(times);
    std::printf("%s: %s ms, median %.1f (budget %.0f): %s\n", disc.label,
                qPrintable(joined(times, 1)), result, disc.budgetMs,
                verdict(result <= disc.budgetMs));
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    test::ProgramFolder folder;
    if (!folder.isValid())
        return cannotPrepare("discs", QStringLiteral("no program folder"));
    QVector<test::ImageTrack> tracks;
    for (int i = 1; i <= 12; ++i)
        tracks.append({2, QStringLiteral("Track %1").arg(i), QStringLiteral("Bench")});
    const Disc audio{
        "audio CD",
        test::audioDiscImage(QStringLiteral("bench-cd-12"), tracks, QStringLiteral("Twelve")),
        QStringLiteral("AudioCD://X:/"), 12, 50};
    const Disc video{"Video CD", test::videoCdImage(QStringLiteral("bench-vcd-2"), {3, 2}),
                     QStringLiteral("VideoCD://X:/"), 2, 100};
    if (audio.image.isEmpty() || video.image.isEmpty())
        return cannotPrepare("discs", QStringLiteral("the disc images cannot be made"));
    const auto desktop = startDesktop("discs");
    if (!desktop)
        return 1;
    return measure(*desktop, folder, audio) && measure(*desktop, folder, video) ? 0 : 1;
}

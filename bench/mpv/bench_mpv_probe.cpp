// Probe cost of the libmpv RealPlayer engine: the adding code's sequence
// (empty the engine, set the source, play, wait for the first report, stop,
// wait for a non-zero state, ask can-play) over 200 generated local files.
//
//   bench_mpv_probe [name=value ...]   extra libmpv options, for comparisons
#include "playback/mpv/mpvrealplayer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

using orvane::playback::RealPlayer;
using orvane::playback::mpv::MpvOptions;
using orvane::playback::mpv::MpvRealPlayer;

namespace {

constexpr double kBudgetMs = 6.0;
constexpr int kFiles = 200;

struct Kind {
    const char *suffix;
    QStringList ffmpeg;
};

QString generate(const QString &dir, const Kind &kind)
{
    const QString path = dir + QStringLiteral("/base.") + QLatin1String(kind.suffix);
    if (QFileInfo(path).size() > 0)
        return path;
    QProcess ffmpeg;
    QStringList args{QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"),
                     QStringLiteral("error"), QStringLiteral("-y")};
    args += kind.ffmpeg;
    args << path;
    ffmpeg.start(QStringLiteral("ffmpeg"), args);
    if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0) {
        std::fprintf(stderr, "ffmpeg failed for %s\n", kind.suffix);
        return {};
    }
    return path;
}

QStringList lavfi(const char *source)
{
    return {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
            QLatin1String(source)};
}

// CPU time of the whole process (libmpv's threads included): less swayed
// than the wall clock when other work shares the machine.
double cpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

double median(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

bool pumpUntil(const std::function<bool()> &condition, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString dir = QStringLiteral(ORVANE_BENCH_MEDIA_DIR) + QStringLiteral("/mpv");
    QDir().mkpath(dir);

    const QList<Kind> kinds{
        {"mp3", lavfi("sine=frequency=440:duration=30") +
                    QStringList{QStringLiteral("-c:a"), QStringLiteral("libmp3lame")}},
        {"wav", lavfi("sine=frequency=440:duration=30")},
        {"ogg", lavfi("sine=frequency=440:duration=30") +
                    QStringList{QStringLiteral("-c:a"), QStringLiteral("libvorbis")}},
        {"rm",
         lavfi("testsrc=size=160x112:rate=15:duration=10") + lavfi("sine=duration=10") +
             QStringList{QStringLiteral("-c:v"), QStringLiteral("rv10"), QStringLiteral("-c:a"),
                         QStringLiteral("real_144"), QStringLiteral("-ar"), QStringLiteral("8000"),
                         QStringLiteral("-ac"), QStringLiteral("1")}},
        {"ra", lavfi("sine=duration=30") +
                   QStringList{QStringLiteral("-c:a"), QStringLiteral("real_144"),
                               QStringLiteral("-ar"), QStringLiteral("8000"), QStringLiteral("-ac"),
                               QStringLiteral("1"), QStringLiteral("-f"), QStringLiteral("rm")}},
    };
    QStringList files;
    QStringList bases;
    for (const Kind &kind : kinds) {
        bases << generate(dir, kind);
        if (bases.last().isEmpty())
            return 1;
    }
    // Kinds take turns, so that a burst of other work on the machine does
    // not land on one kind alone.
    for (int i = 0; i < kFiles / int(kinds.size()); ++i) {
        for (qsizetype k = 0; k < kinds.size(); ++k) {
            const QString copy = dir + QStringLiteral("/file%1.").arg(i, 3, 10, QLatin1Char('0')) +
                                 QLatin1String(kinds[k].suffix);
            if (!QFileInfo::exists(copy))
                QFile::copy(bases[k], copy);
            files << copy;
        }
    }

    MpvOptions options;
    options.audioOutput = QStringLiteral("null");
    options.videoOutput = QStringLiteral("null");
    for (int i = 1; i < argc; ++i)
        options.extraOptions << QString::fromLocal8Bit(argv[i]);
    MpvRealPlayer mainEngine(nullptr, options);
    MpvOptions untrusting = options;
    untrusting.trustPcmHeaders = false;
    MpvRealPlayer pcmProbingEngine(nullptr, untrusting);
    bool reported = false;
    bool failed = false;
    for (MpvRealPlayer *engine : {&mainEngine, &pcmProbingEngine}) {
        QObject::connect(engine, &RealPlayer::clipOpened, [&reported] { reported = true; });
        QObject::connect(engine, &RealPlayer::errorMessage,
                         [&reported, &failed] { reported = failed = true; });
    }

    QElapsedTimer phase;
    double emptyMs = 0, openMs = 0;
    auto probe = [&](MpvRealPlayer &engine, const QString &file) {
        phase.start();
        engine.setSource(QString());
        if (!pumpUntil([&] { return engine.playState() == RealPlayer::Stopped; }, 30000)) {
            std::fprintf(stderr, "%s: the engine did not empty\n", qPrintable(file));
            return false;
        }
        emptyMs = double(phase.nsecsElapsed()) / 1e6;
        phase.start();
        reported = failed = false;
        engine.setSource(QStringLiteral("file://") + file);
        engine.play();
        if (!pumpUntil([&] { return reported; }, 30000)) {
            std::fprintf(stderr, "%s: no report (state %d)\n", qPrintable(file),
                         engine.playState());
            return false;
        }
        openMs = double(phase.nsecsElapsed()) / 1e6;
        engine.stop();
        if (failed) {
            std::fprintf(stderr, "%s: failed to open\n", qPrintable(file));
            return false;
        }
        if (!pumpUntil([&] { return engine.playState() != RealPlayer::Stopped; }, 30000))
            return false;
        return engine.canPlay();
    };

    // One warm-up round: libmpv's start and the first open of each kind.
    for (const Kind &kind : kinds)
        probe(mainEngine, dir + QStringLiteral("/base.") + QLatin1String(kind.suffix));

    QMap<QString, QList<double>> byKind, emptyByKind, openByKind;
    QList<double> all;
    int failures = 0;
    const double cpuBefore = cpuMs();
    for (const QString &file : std::as_const(files)) {
        QElapsedTimer clock;
        clock.start();
        const bool ok = probe(mainEngine, file);
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        if (!ok)
            ++failures;
        all << ms;
        byKind[QFileInfo(file).suffix()] << ms;
        emptyByKind[QFileInfo(file).suffix()] << emptyMs; // the previous file's stop
        openByKind[QFileInfo(file).suffix()] << openMs;
    }
    const double cpuPerFile = (cpuMs() - cpuBefore) / double(files.size());
    mainEngine.setSource(QString());

    // The same WAV files with libavformat probing their samples, as it does
    // unless told otherwise: what our per-file setting saves.
    // Paired, file by file, so that both see the same load.
    QList<double> pcmTrusted, pcmProbed;
    probe(pcmProbingEngine, dir + QStringLiteral("/base.wav"));
    for (const QString &file : std::as_const(files)) {
        if (!file.endsWith(QLatin1String(".wav")))
            continue;
        for (MpvRealPlayer *engine : {&mainEngine, &pcmProbingEngine}) {
            QElapsedTimer clock;
            clock.start();
            if (!probe(*engine, file))
                ++failures;
            (engine == &mainEngine ? pcmTrusted : pcmProbed) << double(clock.nsecsElapsed()) / 1e6;
        }
    }
    mainEngine.setSource(QString());
    pcmProbingEngine.setSource(QString());

    std::printf("libmpv RealPlayer probe (open to stopped), %d local files%s%s\n",
                int(files.size()), argc > 1 ? ", extra options: " : "",
                argc > 1 ? qPrintable(options.extraOptions.join(QLatin1Char(' '))) : "");
    for (auto it = byKind.constBegin(); it != byKind.constEnd(); ++it)
        std::printf("  %-4s median %6.2f ms per file (open %.2f, closing the one before %.2f)\n",
                    qPrintable(it.key()), median(it.value()), median(openByKind[it.key()]),
                    median(emptyByKind[it.key()]));
    const double overall = median(all);
    std::printf("  all  median %6.2f ms per file (budget %.1f ms): %s\n", overall, kBudgetMs,
                overall <= kBudgetMs ? "within budget" : "OVER BUDGET");
    std::printf("  CPU time (all threads) %.2f ms per file\n", cpuPerFile);
    std::printf("  wav  again, file by file: %.2f ms with our setting, %.2f ms when libavformat "
                "probes the samples (its default)\n",
                median(pcmTrusted), median(pcmProbed));
    if (failures)
        std::printf("  %d probes failed\n", failures);
    return failures ? 1 : 0;
}

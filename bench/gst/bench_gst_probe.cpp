// Probe cost of the GStreamer engine: a location handed to FileName until
// the engine reports it stopped (opened and prerolled), as adding media
// does it for every file, over 200 local files.
#include "bench/benchmedia.h"
#include "playback/gst/gstmediaplayer.h"
#include "tests/support/pulse.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

using namespace orvane;
using playback::MediaPlayer;

namespace {

constexpr int kFiles = 200;
constexpr double kBudgetMs = 5.0;

QStringList makeFiles()
{
    struct Kind {
        const char *ext;
        QStringList codec;
    };
    const Kind kinds[] = {
        {"mp3", {QStringLiteral("-c:a"), QStringLiteral("libmp3lame")}},
        {"wav", {}},
        {"ogg", {QStringLiteral("-c:a"), QStringLiteral("libvorbis")}},
        {"flac", {QStringLiteral("-c:a"), QStringLiteral("flac")}},
    };
    QStringList files;
    for (const Kind &kind : kinds) {
        const QString ext = QString::fromLatin1(kind.ext);
        const QString source = bench::benchMedia(
            QStringLiteral("probe-source.") + ext,
            QStringList{QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                        QStringLiteral("sine=frequency=440:duration=5")} +
                kind.codec);
        if (source.isEmpty())
            return {};
        // Copies under their own names: each probe opens a file it has not seen.
        const QString dir = QStringLiteral(ORVANE_BENCH_MEDIA_DIR "/probe");
        QDir().mkpath(dir);
        for (int i = 0; i < kFiles / 4; ++i) {
            const QString copy =
                dir + QStringLiteral("/file-%1.").arg(i, 3, 10, QLatin1Char('0')) + ext;
            if (!QFileInfo::exists(copy))
                QFile::copy(source, copy);
            files << copy;
        }
    }
    return files;
}

// Waits in the event loop, idle, until the engine leaves Closed or fails.
bool waitOpened(MediaPlayer &engine, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (engine.playState() == MediaPlayer::Closed && !engine.hasError() &&
           clock.elapsed() < timeoutMs) {
        QEventLoop loop;
        QObject::connect(&engine, &MediaPlayer::playStateChanged, &loop, &QEventLoop::quit);
        QObject::connect(&engine, &MediaPlayer::error, &loop, &QEventLoop::quit);
        QTimer::singleShot(int(timeoutMs - clock.elapsed()), &loop, &QEventLoop::quit);
        loop.exec();
    }
    return engine.playState() != MediaPlayer::Closed && !engine.hasError();
}

double processCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

struct Result {
    double cpuMsPerFile = 0.0; // all threads; not inflated by a busy machine
    double medianMs = 0.0;
    double p90Ms = 0.0;
    int failed = 0;
};

Result probeAll(const QStringList &files, const QString &audioSink)
{
    playback::gst::GstMediaPlayerOptions options;
    options.audioSink = audioSink;
    options.videoSink = QStringLiteral("fakesink");
    playback::gst::GstMediaPlayer engine(options);
    engine.setMuted(true);
    std::vector<double> times;
    Result result;
    // The first open pays for loading the plugins: not a per-file cost.
    engine.setFileName(files.first());
    waitOpened(engine, 10000);
    const double cpuBefore = processCpuMs();
    for (const QString &file : files) {
        engine.setFileName(QString());
        QElapsedTimer clock;
        clock.start();
        engine.setFileName(QStringLiteral("file://") + file);
        const bool ok = waitOpened(engine, 10000);
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
        engine.stop();
        if (!ok || engine.hasError())
            ++result.failed;
    }
    result.cpuMsPerFile = (processCpuMs() - cpuBefore) / double(files.size());
    std::sort(times.begin(), times.end());
    result.medianMs = times[times.size() / 2];
    result.p90Ms = times[times.size() * 9 / 10];
    return result;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList files = makeFiles();
    if (files.size() != kFiles) {
        std::fprintf(stderr, "could not generate the media\n");
        return 1;
    }
    std::printf("GStreamer engine probe (open to stopped), %d local files (mp3, wav, ogg, flac)\n",
                kFiles);
    const Result fake = probeAll(files, QStringLiteral("fakesink"));
    std::printf(
        "  audio into fakesink:             median %.2f ms, 90%% %.2f ms, CPU %.2f ms/file, "
        "failed %d\n",
        fake.medianMs, fake.p90Ms, fake.cpuMsPerFile, fake.failed);
    test::PulseServer pulse;
    Result real;
    if (pulse.start()) {
        pulse.exportToThisProcess();
        real = probeAll(files, QStringLiteral("autoaudiosink"));
        std::printf("  audio into PulseAudio null sink: median %.2f ms, 90%% %.2f ms, CPU %.2f "
                    "ms/file, failed %d\n",
                    real.medianMs, real.p90Ms, real.cpuMsPerFile, real.failed);
    } else {
        std::printf("  PulseAudio not available (%s): measured with fakesink only\n",
                    qPrintable(pulse.error()));
        real = fake;
    }
    std::printf("  budget: median <= %.1f ms per file: %s\n", kBudgetMs,
                real.medianMs <= kBudgetMs ? "within" : "OVER");
    return fake.failed + real.failed == 0 ? 0 : 1;
}

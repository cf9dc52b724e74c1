// CPU while playing: a 10-minute MP3 for 30 s through the GStreamer engine
// into a PulseAudio null sink, against gst-launch-1.0's bare playbin with
// pulsesink on the same file in the same run and the same private server.
#include "bench/benchmedia.h"
#include "playback/gst/gstmediaplayer.h"
#include "tests/support/pulse.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <cstdio>
#include <ctime>

#include <unistd.h>

using namespace orvane;
using playback::MediaPlayer;

namespace {

constexpr int kPlayMs = 30000;
constexpr double kBudgetRatio = 1.3;

double processCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// User + system time of another process, from /proc.
double childCpuSeconds(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1.0;
    const QByteArray line = stat.readAll();
    // Fields after the command name (which may hold blanks) start at ") ".
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return -1.0;
    const double ticks = double(sysconf(_SC_CLK_TCK));
    return (fields.at(11).toDouble() + fields.at(12).toDouble()) / ticks;
}

// Runs the event loop (idle, as the program does) for the given time.
void pump(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(qMax(0, ms), &loop, &QEventLoop::quit);
    loop.exec();
}

double measureGstLaunch(const QString &mp3, const test::PulseServer &pulse)
{
    QProcess launch;
    launch.setProcessEnvironment(pulse.clientEnvironment());
    launch.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    launch.setStandardOutputFile(QProcess::nullDevice());
    launch.start(QStringLiteral("gst-launch-1.0"),
                 {QStringLiteral("playbin"),
                  QStringLiteral("uri=") + QString::fromUtf8(QUrl::fromLocalFile(mp3).toEncoded()),
                  QStringLiteral("audio-sink=pulsesink")});
    if (!launch.waitForStarted(10000))
        return -1.0;
    QThread::msleep(kPlayMs);
    const double cpu = childCpuSeconds(launch.processId());
    launch.terminate();
    if (!launch.waitForFinished(5000)) {
        launch.kill();
        launch.waitForFinished(5000);
    }
    return cpu;
}

double measureEngine(const QString &mp3)
{
    const double before = processCpuSeconds();
    playback::gst::GstMediaPlayerOptions options;
    options.audioSink = QStringLiteral("pulsesink");
    playback::gst::GstMediaPlayer engine(options);
    engine.setFileName(QStringLiteral("file://") + mp3);
    QElapsedTimer clock;
    clock.start();
    {
        QEventLoop wait;
        QObject::connect(&engine, &MediaPlayer::playStateChanged, &wait, &QEventLoop::quit);
        QObject::connect(&engine, &MediaPlayer::error, &wait, &QEventLoop::quit);
        QTimer::singleShot(10000, &wait, &QEventLoop::quit);
        wait.exec();
    }
    if (engine.playState() != MediaPlayer::Stopped)
        return -1.0;
    engine.play();
    QElapsedTimer started;
    started.start();
    while (engine.currentPosition() <= 0.0 && started.elapsed() < 5000)
        pump(5);
    std::printf("  (engine: %.0f ms to open, %lld ms from play to a moving position)\n",
                double(clock.elapsed() - started.elapsed()), started.elapsed());
    pump(kPlayMs - int(clock.elapsed()));
    const double position = engine.currentPosition();
    const double cpu = processCpuSeconds() - before;
    std::printf("  (engine position after the run: %.1f s)\n", position);
    return position > 20.0 ? cpu : -1.0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString mp3 = bench::benchMedia(
        QStringLiteral("ten-minutes.mp3"),
        {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
         QStringLiteral("sine=frequency=440:duration=600:sample_rate=44100"), QStringLiteral("-ac"),
         QStringLiteral("2"), QStringLiteral("-c:a"), QStringLiteral("libmp3lame"),
         QStringLiteral("-b:a"), QStringLiteral("192k")});
    if (mp3.isEmpty())
        return 1;
    test::PulseServer pulse;
    if (!pulse.start()) {
        std::printf("GStreamer engine CPU: skipped, PulseAudio did not start: %s\n",
                    qPrintable(pulse.error()));
        return 0;
    }
    pulse.exportToThisProcess();
    std::printf("CPU while playing a 10-minute MP3 for %d s into a PulseAudio null sink\n",
                kPlayMs / 1000);
    const double bare = measureGstLaunch(mp3, pulse);
    std::printf("  gst-launch-1.0 playbin, pulsesink: %.2f CPU s\n", bare);
    const double engine = measureEngine(mp3);
    std::printf("  Orvane GStreamer engine:          %.2f CPU s\n", engine);
    if (bare <= 0.0 || engine <= 0.0) {
        std::printf("  a run failed\n");
        return 1;
    }
    const double ratio = engine / bare;
    std::printf("  ratio %.2f, budget <= %.1f x gst-launch: %s\n", ratio, kBudgetRatio,
                ratio <= kBudgetRatio ? "within" : "OVER");
    return 0;
}

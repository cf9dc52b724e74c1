// CPU of the processing loop in loop mode: idle for 30 s with nothing
// playing, and while an MP3 plays into a private PulseAudio null sink,
// compared with gst-launch-1.0 playing the same file in the same run.
#include "core/modmain.h"
#include "playback/controller.h"
#include "playback/gst/gstmediaplayer.h"
#include "playback/mpv/mpvrealplayer.h"
#include "playback/playbackwindow.h"
#include "playback/processing.h"
#include "playback/seekbar.h"
#include "playback/session.h"
#include "playlist/playlistmodel.h"
#include "playlist/playliststore.h"
#include "tests/support/pulse.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>

using namespace orvane;
using namespace orvane::playback;

namespace {

// ORVANE_BENCH_SECONDS shortens a trial run.
const int kSeconds = qEnvironmentVariableIntValue("ORVANE_BENCH_SECONDS") > 0
                         ? qEnvironmentVariableIntValue("ORVANE_BENCH_SECONDS")
                         : 30;
constexpr double kIdleBudgetPercent = 0.5;
constexpr double kPlayBudgetRatio = 1.3;

double cpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec) + usage.ru_utime.tv_usec / 1e6 +
           double(usage.ru_stime.tv_sec) + usage.ru_stime.tv_usec / 1e6;
}

struct Bar final : SeekBar {
    int v = 0, m = 0;
    bool on = false;
    int value() const override { return v; }
    void setValue(int value) override { v = value; }
    int maximum() const override { return m; }
    void setMaximum(int maximum) override { m = maximum; }
    void setLargeChange(int) override {}
    void setSmallChange(int) override {}
    void setTickFrequency(int) override {}
    bool isEnabled() const override { return on; }
    void setEnabled(bool enabled) override { on = enabled; }
};

struct Line final : StatusLine {
    QString t;
    QString text() const override { return t; }
    void setText(const QString &text) override { t = text; }
};

QString mp3Path()
{
    const QString dir = QStringLiteral(ORVANE_BENCH_MEDIA_DIR);
    QDir().mkpath(dir);
    const QString path = dir + QStringLiteral("/processing-tone.mp3");
    if (QFileInfo(path).size() > 0)
        return path;
    QProcess ffmpeg;
    ffmpeg.start(
        QStringLiteral("ffmpeg"),
        {QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"), QStringLiteral("error"),
         QStringLiteral("-y"), QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
         QStringLiteral("sine=frequency=440:duration=%1").arg(kSeconds + 2), QStringLiteral("-c:a"),
         QStringLiteral("libmp3lame"), QStringLiteral("-b:a"), QStringLiteral("192k"), path});
    if (!ffmpeg.waitForFinished(120000) || ffmpeg.exitCode() != 0)
        return {};
    return path;
}

// Runs the processing loop for kSeconds; the process CPU it took, in seconds.
double runLoopFor(PlaybackSession &session)
{
    ProcessingLoop loop(session, [](const QString &) {});
    core::modMain::QuitProcessing = false;
    core::modMain::ProcessingEnabled = true;
    QTimer::singleShot(kSeconds * 1000, [] { core::modMain::QuitProcessing = true; });
    const double before = cpuSeconds(RUSAGE_SELF);
    loop.start(1, 500);
    while (!core::modMain::QuitProcessing || loop.isLooping())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return cpuSeconds(RUSAGE_SELF) - before;
}

double gstLaunchCpu(const QString &path, const test::PulseServer &pulse)
{
    QProcess gst;
    gst.setProcessEnvironment(pulse.clientEnvironment());
    const double before = cpuSeconds(RUSAGE_CHILDREN);
    gst.start(QStringLiteral("gst-launch-1.0"),
              {QStringLiteral("-q"), QStringLiteral("playbin"),
               QStringLiteral("uri=file://") + path, QStringLiteral("audio-sink=pulsesink"),
               QStringLiteral("video-sink=fakesink")});
    QElapsedTimer clock;
    clock.start();
    if (!gst.waitForStarted(10000))
        return -1.0;
    QTimer::singleShot(kSeconds * 1000, &gst, [&] { gst.terminate(); });
    while (gst.state() != QProcess::NotRunning && clock.elapsed() < (kSeconds + 20) * 1000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    gst.waitForFinished(5000);
    return cpuSeconds(RUSAGE_CHILDREN) - before;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    core::modMain::LanguageFile =
        QStringLiteral(ORVANE_SOURCE_DIR) + QStringLiteral("/resources/Language/Default.ovs");
    const QString mp3 = mp3Path();
    test::PulseServer pulse;
    if (mp3.isEmpty() || !pulse.start()) {
        std::fprintf(stderr, "cannot prepare: %s\n", qPrintable(pulse.error()));
        return 1;
    }
    pulse.exportToThisProcess();

    gst::GstMediaPlayer mp({QStringLiteral("pulsesink"), QStringLiteral("fakesink"), 8000});
    mpv::MpvRealPlayer rp(nullptr, {QStringLiteral("null"), QStringLiteral("null"), 5, {}});
    playlist::PlayListModel view;
    Bar bar;
    Line line;
    PlaybackSession session(mp, rp, view, &bar, &line, nullptr);
    session.connectEngines();
    ResetEngines(mp, rp, &bar, true);

    const double idle = runLoopFor(session);
    const double idlePercent = idle / kSeconds * 100.0;
    std::printf("processing loop, idle %d s: %.3f CPU s = %.3f %% of one core (budget %.1f %%)\n",
                kSeconds, idle, idlePercent, kIdleBudgetPercent);

    playlist::PlayListItem &item = playlist::EnsureRecord(0);
    item.MEDIATYPE = kMediaPlayerFile;
    item.DOPLAY = playlist::kTrue;
    item.DOLOOP = 1;
    item.FILENAME = QStringLiteral("file://") + mp3;
    playlist::ViewItem viewItem;
    viewItem.key = playlist::KeyOfIndex(0);
    viewItem.checked = true;
    view.insertItem(0, viewItem);
    view.setSelectedPosition(0);
    if (!PlayItem(mp, rp, view, &bar)) {
        std::fprintf(stderr, "the MP3 did not play\n");
        return 1;
    }
    const double playing = runLoopFor(session);
    ResetEngines(mp, rp, &bar, true);
    const double reference = gstLaunchCpu(mp3, pulse);
    const double ratio = reference > 0 ? playing / reference : 0.0;
    std::printf(
        "playing an MP3 in loop mode, %d s: %.3f CPU s; gst-launch-1.0 playbin: %.3f CPU s; "
        "ratio %.2f (budget %.1f)\n",
        kSeconds, playing, reference, ratio, kPlayBudgetRatio);
    const bool ok = idlePercent <= kIdleBudgetPercent && ratio > 0 && ratio <= kPlayBudgetRatio;
    std::printf("%s\n", ok ? "within budget" : "OVER BUDGET");
    return 0;
}

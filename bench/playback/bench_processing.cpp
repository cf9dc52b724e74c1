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
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <functional>

using namespace orvane;
using namespace orvane::playback;

namespace {

// ORVANE_BENCH_SECONDS shortens a trial run.
const int kSeconds = qEnvironmentVariableIntValue("ORVANE_BENCH_SECONDS") > 0
                         ? qEnvironmentVariableIntValue("ORVANE_BENCH_SECONDS")
                         : 30;
constexpr int kRounds = 1;
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

// Runs the processing loop for seconds; the process CPU it took, in seconds.
double runLoopFor(PlaybackSession &session, int seconds = kSeconds,
                  const std::function<bool()> &start = {})
{
    ProcessingLoop loop(session, [](const QString &) {});
    core::modMain::QuitProcessing = false;
    core::modMain::ProcessingEnabled = true;
    const double before = cpuSeconds(RUSAGE_SELF);
    if (start && !start())
        return -1.0;
    QTimer::singleShot(seconds * 1000, [] { core::modMain::QuitProcessing = true; });
    loop.start(1, 500);
    while (!core::modMain::QuitProcessing || loop.isLooping())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return cpuSeconds(RUSAGE_SELF) - before;
}

double gstLaunchCpu(const QString &path, const test::PulseServer &pulse, int seconds)
{
    QProcess gst;
    gst.setProcessEnvironment(pulse.clientEnvironment());
    const double before = cpuSeconds(RUSAGE_CHILDREN);
    gst.start(QStringLiteral("gst-launch-1.0"),
              {QStringLiteral("-q"), QStringLiteral("playbin"),
               QStringLiteral("uri=file://") + path, QStringLiteral("audio-sink=pulsesink"),
               QStringLiteral("video-sink=fakesink")});
    if (!gst.waitForStarted(10000))
        return -1.0;
    // Wait in an event loop, not in a polling one: processEvents with a time
    // limit ignores WaitForMoreEvents and would spin a core while the
    // reference plays, which skews what it is compared with.
    QEventLoop wait;
    QObject::connect(&gst, &QProcess::finished, &wait, &QEventLoop::quit);
    QTimer::singleShot(seconds * 1000, &gst, [&] { gst.terminate(); });
    QTimer::singleShot((seconds + 20) * 1000, &wait, &QEventLoop::quit);
    if (gst.state() != QProcess::NotRunning)
        wait.exec();
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
    // Both sides open the file and play it from the start (gst-launch pays
    // for its start-up, so the load is counted on our side too). More than
    // one round would charge gst-launch's start-up several times.
    double playing = 0.0;
    double reference = 0.0;
    for (int round = 0; round < kRounds; ++round) {
        const double ours =
            runLoopFor(session, kSeconds / kRounds, [&] { return PlayItem(mp, rp, view, &bar); });
        ResetEngines(mp, rp, &bar, true);
        if (ours < 0) {
            std::fprintf(stderr, "the MP3 did not play\n");
            return 1;
        }
        playing += ours;
        reference += gstLaunchCpu(mp3, pulse, kSeconds / kRounds);
    }
    const double ratio = reference > 0 ? playing / reference : 0.0;
    std::printf(
        "playing an MP3 in loop mode, %d s: %.3f CPU s; gst-launch-1.0 playbin: %.3f CPU s; "
        "ratio %.2f (budget %.1f)\n",
        kSeconds, playing, reference, ratio, kPlayBudgetRatio);
    const bool ok = idlePercent <= kIdleBudgetPercent && ratio > 0 && ratio <= kPlayBudgetRatio;
    std::printf("%s\n", ok ? "within budget" : "OVER BUDGET");
    return 0;
}

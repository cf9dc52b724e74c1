// Adding 1,000 local audio files (MP3, OGG, WAV, FLAC) through AddMedia
// with the progress dialog shown: the time per file of the adding code and
// the engines alone. It runs offscreen, without the program's X11 picture
// output and sound server, which is where the real program once lost
// ten times this; bench_desktop_adding measures the program itself.
#include "adding/addmedia.h"
#include "core/modmain.h"
#include "playback/errorhandlers.h"
#include "playback/gst/gstmediaplayer.h"
#include "playback/mpv/mpvrealplayer.h"
#include "playlist/playlistmodel.h"
#include "playlist/playliststore.h"
#include "ui/dialogs/frmstatus.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

using namespace orvane;

constexpr int kFiles = 1000;
constexpr double kBudgetMsPerFile = 6.0;

QString makeMedia(const QString &dir, const QString &name, const QStringList &codec)
{
    const QString path = dir + u'/' + name;
    if (QFileInfo(path).size() > 0)
        return path;
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 QStringList{QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"),
                             QStringLiteral("error"), QStringLiteral("-y"), QStringLiteral("-f"),
                             QStringLiteral("lavfi"), QStringLiteral("-i"),
                             QStringLiteral("sine=frequency=440:duration=2")} +
                     codec + QStringList{path});
    if (!ffmpeg.waitForFinished(120000) || ffmpeg.exitCode() != 0) {
        std::fprintf(stderr, "ffmpeg failed for %s\n", qPrintable(name));
        return {};
    }
    return path;
}

// User and system time of the whole process so far.
double cpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval &t) {
        return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3;
    };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// The progress dialog, noting when each location's turn begins.
class TimedProgress final : public adding::ProgressSink
{
public:
    explicit TimedProgress(QList<qint64> &starts)
        : m_starts(starts)
    {
        m_dialog.show();
        m_clock.start();
    }
    void Show_Status(const QString &l1, const QString &l2, const QString &l3, qint32 current,
                     qint32 total, qint16 skip, qint16 cancel) override
    {
        if (current > 0 && total > 0 && current > m_starts.size())
            m_starts.append(m_clock.nsecsElapsed());
        m_dialog.Show_Status(l1, l2, l3, current, total, skip, cancel);
        SkipRequested = SkipRequested || m_dialog.SkipRequested;
        CancelRequested = CancelRequested || m_dialog.CancelRequested;
    }
    qint64 now() const { return m_clock.nsecsElapsed(); }

private:
    ui::frmStatus m_dialog;
    QElapsedTimer m_clock;
    QList<qint64> &m_starts;
};

// Says which locations failed, so a miss can be told from a slow run.
class FailurePrinter final : public adding::FailureList
{
public:
    void clearItems() override { m_failed.clear(); }
    void addItem(const QString &, const QString &text) override { m_failed.append(text); }
    void showModal() override
    {
        std::fprintf(stderr, "%lld locations failed, the first: %s\n",
                     static_cast<long long>(m_failed.size()), qPrintable(m_failed.value(0)));
    }

private:
    QStringList m_failed;
};

class BenchWindow final : public adding::AddingWindow
{
public:
    std::unique_ptr<adding::ProgressSink> loadStatusDialog() override
    {
        return std::make_unique<TimedProgress>(starts);
    }
    std::unique_ptr<adding::FailureList> loadErrorLog() override
    {
        return std::make_unique<FailurePrinter>();
    }
    void setEngineViewVisible(adding::EngineView, bool) override {}
    QRect engineViewGeometry(adding::EngineView) const override { return {}; }
    void setEngineViewGeometry(adding::EngineView, const QRect &) override {}
    void setPlayListViewVisible(bool) override {}

    QList<qint64> starts;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString dir = QStringLiteral(ORVANE_BENCH_MEDIA_DIR "/adding");
    QDir().mkpath(dir + QStringLiteral("/many"));
    const QStringList sources = {
        makeMedia(dir, QStringLiteral("src.mp3"),
                  {QStringLiteral("-c:a"), QStringLiteral("libmp3lame")}),
        makeMedia(dir, QStringLiteral("src.ogg"),
                  {QStringLiteral("-c:a"), QStringLiteral("libvorbis")}),
        makeMedia(dir, QStringLiteral("src.wav"), {}),
        makeMedia(dir, QStringLiteral("src.flac"), {}),
    };
    if (sources.contains(QString()))
        return 1;
    QStringList locations;
    for (int i = 0; i < kFiles; ++i) {
        const QString &source = sources.at(i % sources.size());
        const QString copy = dir + QStringLiteral("/many/f%1.").arg(i, 4, 10, QLatin1Char('0')) +
                             QFileInfo(source).suffix();
        if (!QFileInfo::exists(copy) && !QFile::copy(source, copy))
            return 1;
        locations.append(copy);
    }

    core::modMain::AutoPlay = false;
    core::modMain::UseShortPath = true;
    playback::gst::GstMediaPlayer mediaPlayer;
    playback::mpv::MpvOptions mpvOptions;
    mpvOptions.audioOutput = QStringLiteral("null");
    mpvOptions.videoOutput = QStringLiteral("null");
    playback::mpv::MpvRealPlayer realPlayer(nullptr, mpvOptions);
    playback::connectErrorHandlers(mediaPlayer, realPlayer);
    playlist::PlayListModel view;
    BenchWindow window;

    const double cpuBefore = cpuMs();
    QElapsedTimer total;
    total.start();
    const bool added =
        adding::AddMedia(locations.join(u'|'), mediaPlayer, realPlayer, view, nullptr, &window);
    const double totalMs = double(total.nsecsElapsed()) / 1e6;
    const double cpuPerFile = (cpuMs() - cpuBefore) / kFiles;
    if (!added || view.count() != kFiles || window.starts.size() != kFiles) {
        std::fprintf(stderr, "adding failed: %d items, %lld turns\n", view.count(),
                     static_cast<long long>(window.starts.size()));
        return 1;
    }
    QList<double> perFile;
    for (qsizetype i = 1; i < window.starts.size(); ++i)
        perFile.append(double(window.starts[i] - window.starts[i - 1]) / 1e6);
    std::sort(perFile.begin(), perFile.end());
    const double median = perFile.at(perFile.size() / 2);
    const double p90 = perFile.at(perFile.size() * 9 / 10);
    std::printf("adding %d local audio files (mp3, ogg, wav, flac) with the progress dialog\n",
                kFiles);
    std::printf("  median %.2f ms per file, 90th percentile %.2f ms, total %.0f ms (%.2f ms a "
                "file)\n",
                median, p90, totalMs, totalMs / kFiles);
    std::printf("  CPU %.2f ms per file (all threads; wall times grow on a busy machine)\n",
                cpuPerFile);
    std::printf("  budget %.1f ms per file median: %s\n", kBudgetMsPerFile,
                median <= kBudgetMsPerFile ? "met" : "MISSED");
    return 0;
}

#include "bench/desktop/playing.h"

#include "bench/desktop/desktopbench.h"

#include <QFile>

#include <cstdio>

namespace orvane::bench {

namespace {

constexpr int kWindowMs = 20000;
constexpr double kBudgetRatio = 1.3;
constexpr double kAimRatio = 1.1;

struct Block {
    CpuUse orvane;
    CpuUse reference;
    bool precise = false;
    double orvaneSeconds() const { return precise ? orvane.preciseSeconds : orvane.seconds; }
    double referenceSeconds() const
    {
        return precise ? reference.preciseSeconds : reference.seconds;
    }
    double ratio() const { return orvaneSeconds() / referenceSeconds(); }
};

class PlayingBench
{
public:
    PlayingBench(const PlayingCase &playing, e2e::Desktop &desktop)
        : m_case(playing)
        , m_desktop(desktop)
        , m_picture(playing.videoSize)
    {
        if (!playing.settings.isEmpty()) {
            QFile ini(m_folder.settingsFile());
            if (ini.open(QIODevice::WriteOnly | QIODevice::Truncate))
                ini.write(playing.settings);
        }
    }

    bool runBlock(int number, Block &block);
    void report(const std::vector<Block> &blocks) const;

private:
    CpuUse runOrvane();
    CpuUse runReference();
    CpuUse measurePlaying(e2e::Player &player, const char *who);
    QStringList referenceArgs() const;

    const PlayingCase &m_case;
    e2e::Desktop &m_desktop;
    test::ProgramFolder m_folder;
    QSize m_picture; // the size the program draws the picture at, once seen
};

// The picture the program draws in its picture window at the default
// display size: the video as it is, shrunk to fit when it is larger.
QSize pictureIn(const QSize &video, const QSize &area)
{
    if (area.isEmpty() || (video.width() <= area.width() && video.height() <= area.height()))
        return video;
    return video.scaled(area, Qt::KeepAspectRatio);
}

QStringList PlayingBench::referenceArgs() const
{
    if (!m_case.referenceArgs.isEmpty())
        return QStringList{QStringLiteral("-q")} + m_case.referenceArgs;
    QStringList args{QStringLiteral("-q"), QStringLiteral("playbin"),
                     QStringLiteral("uri=") + fileUri(m_case.media),
                     QStringLiteral("audio-sink=pulsesink")};
    if (m_case.videoSize.isEmpty())
        return args << QStringLiteral("video-sink=fakesink");
    // The program's own video bin under X11, at the size it draws.
    return args << QStringLiteral("video-sink=videoscale ! capsfilter caps=video/x-raw,width=%1,"
                                  "height=%2,pixel-aspect-ratio=1/1 ! videoconvert ! "
                                  "ximagesink handle-events=false")
                       .arg(m_picture.width())
                       .arg(m_picture.height());
}

CpuUse PlayingBench::measurePlaying(e2e::Player &player, const char *who)
{
    if (!waitForSound(m_desktop, player)) {
        std::fprintf(stderr, "%s: %s played no sound\n%s\n", qPrintable(m_case.label), who,
                     qPrintable(player.log().right(2000)));
        return {};
    }
    const CpuUse use = measureFor(player, kWindowMs);
    if (!use.isValid() || !playsSound(m_desktop, player.pid())) {
        std::fprintf(stderr, "%s: %s stopped playing while measured\n%s\n",
                     qPrintable(m_case.label), who, qPrintable(player.log().right(2000)));
        return {};
    }
    return use;
}

CpuUse PlayingBench::runOrvane()
{
    const QStringList args =
        m_case.orvaneArgs.isEmpty() ? QStringList{m_case.media} : m_case.orvaneArgs;
    const auto player = startProgram(m_desktop, m_folder, {}, args);
    if (!player)
        return {};
    const CpuUse use = measurePlaying(*player, "orvane");
    if (use.isValid() && player->window(5000).isEmpty()) {
        std::fprintf(stderr, "%s: orvane played without a window\n", qPrintable(m_case.label));
        return {};
    }
    if (use.isValid() && !m_case.videoSize.isEmpty()) {
        const QSize area = windowSize(m_desktop, player->pid(), QStringLiteral("^Orvane video"));
        if (area.isEmpty())
            std::printf("  (%s: orvane shows no picture window)\n", qPrintable(m_case.label));
        m_picture = pictureIn(m_case.videoSize, area);
    }
    return use;
}

CpuUse PlayingBench::runReference()
{
    const auto player =
        startProgram(m_desktop, m_folder, QStringLiteral("gst-launch-1.0"), referenceArgs());
    if (!player)
        return {};
    return measurePlaying(*player, "gst-launch-1.0");
}

// Every other block the reference goes first, so neither side always
// finds the other's leftovers in the caches and the sound server.
bool PlayingBench::runBlock(int number, Block &block)
{
    if (number % 2 == 1) {
        block.orvane = runOrvane();
        block.reference = block.orvane.isValid() ? runReference() : CpuUse();
    } else {
        block.reference = runReference();
        block.orvane = block.reference.isValid() ? runOrvane() : CpuUse();
    }
    if (!block.orvane.isValid() || !block.reference.isValid())
        return false;
    block.precise = m_case.preciseTime;
    std::printf("%s block %d: orvane %.3f CPU s, gst-launch-1.0 %.3f CPU s over %.0f s; "
                "ratio %.2f\n",
                qPrintable(m_case.label), number, block.orvaneSeconds(), block.referenceSeconds(),
                block.orvane.wallSeconds, block.ratio());
    std::fflush(stdout);
    return true;
}

void PlayingBench::report(const std::vector<Block> &blocks) const
{
    std::vector<double> ratios, orvane, reference;
    for (const Block &block : blocks) {
        ratios.push_back(block.ratio());
        orvane.push_back(block.orvaneSeconds());
        reference.push_back(block.referenceSeconds());
    }
    const double ratio = median(ratios);
    const auto middle = std::find_if(blocks.begin(), blocks.end(),
                                     [&](const Block &block) { return block.ratio() == ratio; });
    if (middle != blocks.end()) {
        std::printf("%s: where the time goes in the median block\n", qPrintable(m_case.label));
        printTopThreads(QStringLiteral("orvane"), middle->orvane, 6);
        printTopThreads(QStringLiteral("gst-launch-1.0"), middle->reference, 6);
    }
    if (!m_case.videoSize.isEmpty())
        std::printf("%s: the reference drew the picture at %dx%d, as orvane does\n",
                    qPrintable(m_case.label), m_picture.width(), m_picture.height());
    std::printf("%s playing: orvane median %.2f CPU s, gst-launch-1.0 %.2f CPU s per "
                "%d s; ratios %s, median ratio %.2f (budget %.1f, aim %.1f): %s\n",
                qPrintable(m_case.label), median(orvane), median(reference), kWindowMs / 1000,
                qPrintable(joined(ratios, 2)), ratio, kBudgetRatio, kAimRatio,
                verdict(ratio <= kBudgetRatio));
}

} // namespace

int runPlayingBench(const PlayingCase &playing)
{
    const QByteArray label = playing.label.toUtf8();
    if (playing.media.isEmpty())
        return 1;
    const auto desktop = startDesktop(label.constData());
    if (!desktop)
        return 1;
    PlayingBench bench(playing, *desktop);
    std::vector<Block> blocks(kBlocks);
    for (int number = 1; number <= kBlocks; ++number)
        if (!bench.runBlock(number, blocks[size_t(number - 1)]))
            return 1;
    bench.report(blocks);
    return 0;
}

} // namespace orvane::bench

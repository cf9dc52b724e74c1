// CPU while the real program plays a 10-minute 640x360 H.264 + AAC MP4 in
// its window on a private desktop, against gst-launch-1.0 playbin with the
// program's video bin under X11 (drawing the picture at the size the
// program draws it) and pulsesink, in the same run.
#include "bench/desktop/desktopbench.h"
#include "bench/desktop/playing.h"

#include <QCoreApplication>

using namespace orvane::bench;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString mp4 =
        makeMedia(QStringLiteral("ten-minutes-640x360.mp4"),
                  {QStringLiteral("-f"),
                   QStringLiteral("lavfi"),
                   QStringLiteral("-i"),
                   QStringLiteral("testsrc=size=640x360:rate=25:duration=600"),
                   QStringLiteral("-f"),
                   QStringLiteral("lavfi"),
                   QStringLiteral("-i"),
                   QStringLiteral("sine=frequency=440:duration=600:sample_rate=44100"),
                   QStringLiteral("-c:v"),
                   QStringLiteral("libx264"),
                   QStringLiteral("-preset"),
                   QStringLiteral("veryfast"),
                   QStringLiteral("-pix_fmt"),
                   QStringLiteral("yuv420p"),
                   QStringLiteral("-c:a"),
                   QStringLiteral("aac"),
                   QStringLiteral("-ac"),
                   QStringLiteral("2"),
                   QStringLiteral("-b:a"),
                   QStringLiteral("128k")});
    return runPlayingBench({QStringLiteral("mp4"), mp4, QSize(640, 360)});
}

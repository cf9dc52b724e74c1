// CPU while the real program plays a 10-minute 192 kbit/s MP3 in its window
// on a private desktop, into PulseAudio's null sink, against gst-launch-1.0
// playbin with pulsesink on the same file and server in the same run.
#include "bench/desktop/desktopbench.h"
#include "bench/desktop/playing.h"

#include <QCoreApplication>

using namespace orvane::bench;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString mp3 =
        makeMedia(QStringLiteral("ten-minutes.mp3"),
                  {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                   QStringLiteral("sine=frequency=440:duration=600:sample_rate=44100"),
                   QStringLiteral("-ac"), QStringLiteral("2"), QStringLiteral("-c:a"),
                   QStringLiteral("libmp3lame"), QStringLiteral("-b:a"), QStringLiteral("192k")});
    return runPlayingBench({QStringLiteral("mp3"), mp3, {}});
}

// CPU while the real program plays an audio CD track in its window on a
// private desktop, into PulseAudio's null sink, against gst-launch-1.0
// reading the same disc image with cdiocddasrc into pulsesink in the same
// run. The image is mapped to a drive letter, as a user maps one.
#include "bench/desktop/playing.h"
#include "tests/support/discimages.h"

#include <QCoreApplication>

using namespace orvane::bench;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // Long enough that the measured window never reaches the track's end.
    const QString cue = orvane::test::audioDiscImage(
        QStringLiteral("bench-cd-long"),
        {{90, QStringLiteral("Long"), QStringLiteral("Bench")}, {5, {}, {}}});
    if (cue.isEmpty())
        return 1;
    PlayingCase playing{QStringLiteral("cd"), cue, {}};
    playing.orvaneArgs = {QStringLiteral("AudioCD://X:/")};
    playing.settings = "[Drives]\nX=" + cue.toUtf8() + '\n';
    playing.referenceArgs = {QStringLiteral("cdiocddasrc"), QStringLiteral("device=") + cue,
                             QStringLiteral("track=1"), QStringLiteral("!"),
                             QStringLiteral("pulsesink")};
    playing.preciseTime = true;
    return runPlayingBench(playing);
}

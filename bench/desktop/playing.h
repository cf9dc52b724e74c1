#pragma once

#include <QSize>
#include <QString>

namespace orvane::bench {

// A medium played in the real window on the private desktop, against
// gst-launch-1.0's playbin with the sinks the program uses there.
struct PlayingCase {
    QString label;   // "mp3", "mp4": starts every line the benchmark prints
    QString media;   // the file
    QSize videoSize; // empty for sound only; the reference then gets fakesink
};

// Runs the blocks and prints the figures; the exit status.
int runPlayingBench(const PlayingCase &playing);

} // namespace orvane::bench

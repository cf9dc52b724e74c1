#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

namespace orvane::bench {

// A medium played in the real window on the private desktop, against
// gst-launch-1.0's playbin with the sinks the program uses there.
struct PlayingCase {
    QString label;   // "mp3", "mp4": starts every line the benchmark prints
    QString media;   // the file
    QSize videoSize; // empty for sound only; the reference then gets fakesink
    // What orvane is started with instead of the file, and the settings it
    // finds (a disc needs its drive mapped); none when empty.
    QStringList orvaneArgs = {};
    QByteArray settings = {};
    // gst-launch-1.0's arguments instead of playbin on the file.
    QStringList referenceArgs = {};
    // Held against each other by the threads' run time (nanoseconds)
    // instead of clock ticks: a source that needs a few ticks a window
    // would otherwise be measured to one tick in five.
    bool preciseTime = false;
};

// Runs the blocks and prints the figures; the exit status.
int runPlayingBench(const PlayingCase &playing);

} // namespace orvane::bench

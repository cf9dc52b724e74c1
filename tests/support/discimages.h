#pragma once

#include <QString>
#include <QVector>

namespace orvane::test {

struct ImageTrack {
    int seconds = 3;
    QString title;     // CD-TEXT; none when empty
    QString performer; // CD-TEXT
    bool data = false; // a MODE1 data track instead of audio
};

// A BIN/CUE audio disc image made from ffmpeg tones into the test-media
// folder; returns the .cue path (empty and a test failure when ffmpeg fails).
// The disc's own CD-TEXT is written when discTitle is not empty.
QString audioDiscImage(const QString &name, const QVector<ImageTrack> &tracks,
                       const QString &discTitle = {}, const QString &discPerformer = {});

// A Video CD image (BIN/CUE by vcdimager) with one MPEG-1 clip of test
// picture and tone per entry of clipSeconds, into the test-media folder;
// returns the .cue path (empty and a test failure when a tool fails). Disc
// track 1 is the ISO 9660 data track, clip i is disc track i + 2, and clip
// files are test-media/vcdclip-<seconds>s.mpg.
QString videoCdImage(const QString &name, const QVector<int> &clipSeconds);

} // namespace orvane::test

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

} // namespace orvane::test

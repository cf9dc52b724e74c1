#pragma once

#include "playback/controller.h"

#include <QString>

namespace orvane::playback {

// A time in seconds as the status line writes it: whole minutes (at least
// two digits), ":", seconds, the decimal separator, hundredths. 83.25 s is
// "01:23.25".
QString timeText(double seconds);
// Shown for a length the engine does not know.
inline const QString kUnknownTimeText = QStringLiteral("??:??.??");

// Seconds per seek-bar step for a length, and the step of the bar's ticks
// and large changes in seconds.
struct SeekScaleChoice {
    qint16 scale = 1;
    int stepSeconds = 30;
};
SeekScaleChoice seekScaleFor(double lengthSeconds);

// Whether the engines' video stays unseen on a Qt platform: they draw into
// our window on xcb only. Platforms without a screen to watch (none, as in
// a console program, offscreen, minimal) hide nothing.
bool videoHiddenOn(QStringView platformName);
// The status line while nothing is loaded: "Ready", and a note where the
// platform this program runs on hides the video.
QString readyText();

// The language key ("Status" section) of a play mode's word.
QString playModeKey(qint32 mode);
// "position / length     word"; a negative length reads "??:??.??".
QString statusText(double position, double length, qint32 mode);

// Position and length (seconds; length -1 when the engine does not know
// it) and the status text of the loaded engine. False with nothing loaded.
bool ReadStatus(MediaPlayer &mediaPlayer, RealPlayer &realPlayer, QString &text, double &position,
                double &length);
// Moves the loaded media to a position; false when it is outside the media
// or nothing is loaded.
bool SeekMedia(MediaPlayer &mediaPlayer, RealPlayer &realPlayer, double position);

} // namespace orvane::playback

#pragma once

#include <QString>

namespace orvane::playback::mci {

// Readings of the CD device's replies. Replies come from outside the
// program, so every reading accepts any text: a missing or non-numeric
// field counts as 0, and numbers are clamped to the field's width.

// The leading number of a text (blanks skipped, an optional sign, digits and
// a fraction), 0 when there is none.
double leadingNumber(const QString &text);
// The leading number rounded (halves to even) into 16 or 32 bits.
qint16 leadingInt16(const QString &text);
qint32 leadingInt32(const QString &text);

// "tt:mm:ss:ff" (a position in the tmsf format) as seconds within the track.
double tmsfPositionSeconds(const QString &reply);
// "mm:ss:ff" (a track length) as seconds.
double tmsfLengthSeconds(const QString &reply);

// A whole-frame position in the form the play and seek commands take:
// minutes, seconds within the minute and frames (75 to a second).
struct MsfPosition {
    qint64 minutes = 0;
    int seconds = 0;
    int frames = 0;
};
MsfPosition msfFromSeconds(double seconds);

} // namespace orvane::playback::mci

#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace orvane::ui {

// What the desktop's media controls send and read, turned into the
// player's own terms. Values from the bus are anyone's: nothing here trusts
// them.

// "None" and "Playlist" (repeat-all) are the player's loop states; "Track"
// and anything else are not, and give nothing.
std::optional<bool> repeatAllFromLoopStatus(const QString &status);
QString loopStatusOf(bool repeatAll);

// An MPRIS volume (1.0 is full) on the volume slider's scale, 0 to 1000;
// nothing for a value that is no number.
std::optional<int> sliderValueOfVolume(double volume);

// A playlist location as the URL a client can open: local paths
// percent-encoded, web URLs encoded, other locations (discs) as they are.
QString encodedUrl(const QString &location);

// The MIME types of the files an extension list (".mp3;.wav") names,
// without repeats, in the list's order.
QStringList mimeTypesOfFileTypes(const QString &fileTypes);

} // namespace orvane::ui

#pragma once

#include <QString>

namespace orvane::playback {

// Sends one MCI-style command string to the CD device ("open D: type
// cdaudio alias Medias wait", "status Medias position", ...). reply receives
// the device's answer (callers pass an empty text and a capacity of 256),
// errorText the error's description, empty on success. With showErrors a
// failure is also reported through ShowError. True when the command
// succeeded.
bool SendMci(const QString &command, QString &reply, qint32 capacity, quintptr callbackWindow,
             QString &errorText, bool showErrors);

} // namespace orvane::playback

#pragma once

#include <QtGlobal>

namespace orvane::playback {

class MediaPlayer;
class RealPlayer;

// The volume slider and the mute button act on the system mixer, not on the
// engines: the first mixer device's speaker output. On Linux that is the
// ALSA card "default" (PulseAudio's or PipeWire's plugin on a desktop, so
// the desktop's volume) and its element "Master", else "Speaker", else
// "PCM". The mixer is opened and closed within each call; every failure is
// silent and only shows in the result.

// Sets the mute switch and the volume (0 to 1000) of the speaker output.
// True exactly when muting was asked for and the switch was set. The volume
// is set whether or not muting was asked for. The engines are not used.
bool SetVolume(MediaPlayer *mediaPlayer, RealPlayer *realPlayer, bool mute, qint16 volume);

// The control level for a slider value of 0 to 1000 on a control running
// from minimum to maximum, rounded to the nearest, halves to even.
long mixerLevel(long minimum, long maximum, int volume);

// The ALSA card the mixer uses; tests point it elsewhere.
void setMixerCard(const char *card);

} // namespace orvane::playback

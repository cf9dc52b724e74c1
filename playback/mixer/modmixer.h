#pragma once

#include <QList>
#include <QtGlobal>

#include <memory>

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

// What the speaker output holds now, as the mixer reports it.
struct MixerReading {
    bool hasVolume = false; // false: no volume control, the level means nothing
    long minimum = 0;
    long maximum = 0;
    long level = 0; // the loudest channel
    bool hasMute = false;
    bool muted = false; // every channel's switch is off

    // The level on the slider's scale, 0 to 1000.
    int sliderValue() const;
    // Where a slider now at current should go to show this reading. A
    // slider whose value already gives this level stays: on a control with
    // fewer steps than the slider, reading back what the slider wrote must
    // not make it jump.
    int followedSliderValue(int current) const;
};

// Reads the speaker output; false when there is no mixer or no speaker line.
bool GetVolume(MixerReading &reading);

// The ALSA card the mixer uses; tests point it elsewhere.
void setMixerCard(const char *card);

// Tells when the mixer changes, whoever changed it (this program, the
// desktop's sound applet, another program). It keeps one mixer open for its
// whole life and hands out that mixer's poll descriptors: the user
// interface watches them and calls takeEvents() when one is readable, so
// nothing wakes while the mixer stays as it is.
class MixerWatch
{
public:
    MixerWatch();
    ~MixerWatch();
    MixerWatch(const MixerWatch &) = delete;
    MixerWatch &operator=(const MixerWatch &) = delete;

    // Empty when there is no mixer to watch.
    QList<int> descriptors() const;
    // Takes what the mixer sent; true when the mixer reported a change.
    bool takeEvents();

private:
    struct Handle;
    std::unique_ptr<Handle> m_handle;
};

} // namespace orvane::playback

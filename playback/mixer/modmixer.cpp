#include "playback/mixer/modmixer.h"

#include <alsa/asoundlib.h>

#include <poll.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <string>
#include <vector>

namespace orvane::playback {

namespace {

std::string g_card = "default";

// The speaker line of the Windows mixer; a desktop's "default" card names
// it "Master", small devices "Speaker" or only "PCM".
const char *const kSpeakerElements[] = {"Master", "Speaker", "PCM"};

// ALSA prints its own complaints about missing cards and servers to stderr;
// a missing mixer is an ordinary, silent case here.
void quietAlsa(const char *, int, const char *, int, const char *, ...)
{}

// An open mixer for the length of one call.
class Mixer
{
public:
    Mixer()
    {
        snd_lib_error_set_handler(quietAlsa);
        if (snd_mixer_open(&m_handle, 0) < 0) {
            m_handle = nullptr;
            return;
        }
        if (snd_mixer_attach(m_handle, g_card.c_str()) < 0 ||
            snd_mixer_selem_register(m_handle, nullptr, nullptr) < 0 ||
            snd_mixer_load(m_handle) < 0) {
            snd_mixer_close(m_handle);
            m_handle = nullptr;
        }
    }
    ~Mixer()
    {
        if (m_handle)
            snd_mixer_close(m_handle);
        snd_lib_error_set_handler(nullptr);
    }
    Mixer(const Mixer &) = delete;
    Mixer &operator=(const Mixer &) = delete;

    snd_mixer_t *handle() const { return m_handle; }

    // The speaker element, or null.
    snd_mixer_elem_t *speaker() const
    {
        if (!m_handle)
            return nullptr;
        for (const char *name : kSpeakerElements) {
            snd_mixer_selem_id_t *sid = nullptr;
            snd_mixer_selem_id_alloca(&sid);
            snd_mixer_selem_id_set_index(sid, 0);
            snd_mixer_selem_id_set_name(sid, name);
            if (snd_mixer_elem_t *elem = snd_mixer_find_selem(m_handle, sid))
                return elem;
        }
        return nullptr;
    }

private:
    snd_mixer_t *m_handle = nullptr;
};

bool setMute(snd_mixer_elem_t *speaker, bool mute)
{
    if (!snd_mixer_selem_has_playback_switch(speaker))
        return false;
    // ALSA's switch says "sound on": muting turns it off on every channel.
    return snd_mixer_selem_set_playback_switch_all(speaker, mute ? 0 : 1) == 0;
}

void setLevel(snd_mixer_elem_t *speaker, int volume)
{
    if (!snd_mixer_selem_has_playback_volume(speaker))
        return;
    long minimum = 0;
    long maximum = 0;
    if (snd_mixer_selem_get_playback_volume_range(speaker, &minimum, &maximum) < 0)
        return;
    snd_mixer_selem_set_playback_volume_all(speaker, mixerLevel(minimum, maximum, volume));
}

void readLevel(snd_mixer_elem_t *speaker, MixerReading &reading)
{
    if (!snd_mixer_selem_has_playback_volume(speaker) ||
        snd_mixer_selem_get_playback_volume_range(speaker, &reading.minimum, &reading.maximum) <
            0 ||
        reading.maximum <= reading.minimum)
        return;
    bool any = false;
    for (int c = 0; c <= SND_MIXER_SCHN_LAST; ++c) {
        const auto channel = snd_mixer_selem_channel_id_t(c);
        long level = 0;
        if (!snd_mixer_selem_has_playback_channel(speaker, channel) ||
            snd_mixer_selem_get_playback_volume(speaker, channel, &level) < 0)
            continue;
        reading.level = any ? std::max(reading.level, level) : level;
        any = true;
    }
    reading.hasVolume = any;
}

void readMute(snd_mixer_elem_t *speaker, MixerReading &reading)
{
    if (!snd_mixer_selem_has_playback_switch(speaker))
        return;
    bool anyOn = false;
    bool any = false;
    for (int c = 0; c <= SND_MIXER_SCHN_LAST; ++c) {
        const auto channel = snd_mixer_selem_channel_id_t(c);
        int on = 0;
        if (!snd_mixer_selem_has_playback_channel(speaker, channel) ||
            snd_mixer_selem_get_playback_switch(speaker, channel, &on) < 0)
            continue;
        any = true;
        anyOn = anyOn || on != 0;
    }
    reading.hasMute = any;
    reading.muted = any && !anyOn;
}

} // namespace

int MixerReading::sliderValue() const
{
    if (!hasVolume || maximum <= minimum)
        return 0;
    // A driver may report a level outside its own range.
    const long clamped = std::clamp(level, minimum, maximum);
    const double exact = double(clamped - minimum) * 1000.0 / double(maximum - minimum);
    return int(std::nearbyint(exact));
}

int MixerReading::followedSliderValue(int current) const
{
    if (!hasVolume)
        return current;
    if (current >= 0 && current <= 1000 &&
        mixerLevel(minimum, maximum, current) == std::clamp(level, minimum, maximum))
        return current;
    return sliderValue();
}

bool GetVolume(MixerReading &reading)
{
    reading = MixerReading();
    Mixer mixer;
    snd_mixer_elem_t *speaker = mixer.speaker();
    if (!speaker)
        return false;
    readLevel(speaker, reading);
    readMute(speaker, reading);
    return true;
}

struct MixerWatch::Handle {
    Mixer mixer;
};

MixerWatch::MixerWatch()
    : m_handle(std::make_unique<Handle>())
{}

MixerWatch::~MixerWatch() = default;

QList<int> MixerWatch::descriptors() const
{
    snd_mixer_t *mixer = m_handle->mixer.handle();
    if (!mixer)
        return {};
    const int count = snd_mixer_poll_descriptors_count(mixer);
    if (count <= 0)
        return {};
    std::vector<pollfd> fds(static_cast<size_t>(count));
    const int filled = snd_mixer_poll_descriptors(mixer, fds.data(), unsigned(count));
    QList<int> list;
    for (int i = 0; i < filled; ++i)
        list.append(fds[size_t(i)].fd);
    return list;
}

bool MixerWatch::takeEvents()
{
    snd_mixer_t *mixer = m_handle->mixer.handle();
    if (!mixer)
        return false;
    // Handling the events drains the descriptors; left pending, they would
    // wake the program again at once.
    return snd_mixer_handle_events(mixer) >= 0;
}

long mixerLevel(long minimum, long maximum, int volume)
{
    const double exact = double(minimum) + double(maximum - minimum) * double(volume) / 1000.0;
    return long(std::nearbyint(exact)); // the default rounding mode: halves to even
}

void setMixerCard(const char *card)
{
    g_card = card ? card : "default";
}

bool SetVolume(MediaPlayer *, RealPlayer *, bool mute, qint16 volume)
{
    Mixer mixer;
    snd_mixer_elem_t *speaker = mixer.speaker();
    if (!speaker)
        return false;
    const bool muted = setMute(speaker, mute) && mute;
    setLevel(speaker, qBound<int>(0, volume, 1000));
    return muted;
}

} // namespace orvane::playback

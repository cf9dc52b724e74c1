#include "playback/mixer/modmixer.h"

#include <alsa/asoundlib.h>

#include <cmath>
#include <cstdarg>
#include <string>

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

} // namespace

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

// The volume slider and the mute button: they write the system mixer when
// the user moves or presses them, and otherwise show what the mixer holds,
// whoever set it.
#include "playback/mixer/modmixer.h"
#include "ui/main/artwork.h"
#include "ui/main/frmnormal.h"
#include "ui/main/mprisservice.h"
#include "ui/main/mprisvalues.h"

#include <QAction>
#include <QSlider>
#include <QSocketNotifier>
#include <QToolBar>

namespace orvane::ui {

void frmNormal::runSoundAction()
{
    QAction *sound = m_tobControl->findChild<QAction *>(QStringLiteral("sound"));
    if (!sound)
        return;
    const bool muted = playback::SetVolume(m_mediaPlayer.get(), m_realPlayer.get(),
                                           sound->isChecked(), qint16(m_silVolume->value()));
    showSoundState(muted);
}

void frmNormal::showSoundState(bool muted)
{
    if (QAction *sound = m_tobControl->findChild<QAction *>(QStringLiteral("sound"))) {
        sound->setChecked(muted);
        sound->setIcon(toolbarIcon(muted ? QStringLiteral("nosound") : QStringLiteral("sound")));
    }
    m_silVolume->setEnabled(!muted);
}

void frmNormal::setVolumeFromControls()
{
    if (m_followingMixer)
        return;
    playback::SetVolume(m_mediaPlayer.get(), m_realPlayer.get(), false,
                        qint16(m_silVolume->value()));
    m_mixerVolume = m_silVolume->value() / 1000.0;
}

void frmNormal::refreshSoundControls()
{
    // While the user drags the handle, the mixer's reports trail behind the
    // handle; showing them would pull it back. The release reads again.
    if (m_silVolume->isSliderDown())
        return;
    playback::MixerReading reading;
    if (!playback::GetVolume(reading))
        return;
    m_followingMixer = true;
    if (reading.hasVolume) {
        m_silVolume->setValue(reading.followedSliderValue(m_silVolume->value()));
        m_mixerVolume = reading.sliderValue() / 1000.0;
    }
    showSoundState(reading.hasMute && reading.muted);
    m_followingMixer = false;
    if (m_mpris)
        m_mpris->refresh();
}

void frmNormal::watchMixer()
{
    refreshSoundControls();
    connect(m_silVolume, &QSlider::sliderReleased, this, [this] { refreshSoundControls(); });
    m_mixerWatch = std::make_unique<playback::MixerWatch>();
    for (int fd : m_mixerWatch->descriptors()) {
        auto *notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, [this] {
            if (m_mixerWatch->takeEvents())
                refreshSoundControls();
        });
    }
}

double frmNormal::volume() const
{
    return m_mixerVolume;
}

void frmNormal::setVolume(double volume)
{
    const std::optional<int> wanted = sliderValueOfVolume(volume);
    if (!wanted || !m_silVolume)
        return;
    const int value = *wanted;
    QAction *sound = m_tobControl->findChild<QAction *>(QStringLiteral("sound"));
    const bool muted = sound && sound->isChecked();
    m_followingMixer = true;
    m_silVolume->setValue(value);
    m_followingMixer = false;
    // A muted output stays muted: the volume is the level it comes back at.
    playback::SetVolume(m_mediaPlayer.get(), m_realPlayer.get(), muted, qint16(value));
    m_mixerVolume = value / 1000.0;
    if (m_mpris)
        m_mpris->refresh();
}

} // namespace orvane::ui

#include "core/language.h"
#include "core/modmain.h"
#include "playback/playbackwindow.h"
#include "playback/seekbar.h"
#include "playback/session.h"
#include "playback/status.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace orvane::playback {

void PlaybackSession::UpdateStatus()
{
    if (m_seekDragging || (m_window && m_window->menuHelpShown())) {
        m_statusLent = true;
        return;
    }
    // Menu help or the seek target took the line over; paused media would
    // not change the text again, so it would stay there.
    if (std::exchange(m_statusLent, false))
        m_memory.statusText.clear();
    if (!statusShown()) {
        // Nothing to draw for; the end of a CD track is still noticed.
    } else if (state::LoadedMediaType == kMediaNone) {
        m_memory.statusText = m_failureText.isEmpty() ? readyText() : m_failureText;
        if (m_status)
            m_status->setText(m_memory.statusText);
    } else {
        refreshFromEngine();
    }
    if (core::modMain::ShowErrors)
        runCdStep();
}

bool PlaybackSession::refreshFromEngine()
{
    QString text;
    double position = 0.0;
    double length = 0.0;
    ReadStatus(m_mediaPlayer, m_realPlayer, text, position, length);
    if (length <= 0.0) {
        if (m_seekBar && m_seekBar->isEnabled())
            m_seekBar->setEnabled(false);
        // A stream of unknown length still shows where it is and what it
        // does ("??:??.??" for the length), not the idle text it started with.
        m_memory.position = position;
        showStatus(text, position);
        return false;
    }
    if (m_seekBar && !m_seekBar->isEnabled())
        m_seekBar->setEnabled(true);
    if (length != m_memory.length)
        applyLength(length);
    if (position != m_memory.position) {
        if (m_seekBar)
            m_seekBar->setValue(int(std::nearbyint(position / m_seekScale)));
        m_memory.position = position;
    }
    showStatus(text, position);
    return true;
}

// The running time is shown to the second, like a clock: a text that
// differs from the shown one only in the hundredths of a position moving on
// within the same second is not written (writing it 30 times a second cost
// several times what playing itself costs). A new second, a jump back or
// ahead, a new length or play mode is written at once.
void PlaybackSession::showStatus(const QString &text, double position)
{
    if (text == m_memory.statusText)
        return;
    const auto tail = [](const QString &status) {
        return QStringView(status).mid(status.indexOf(QStringLiteral(" / ")));
    };
    const bool ticking = !m_memory.statusText.isEmpty() && position >= m_memory.shownPosition &&
                         std::floor(position) == std::floor(m_memory.shownPosition) &&
                         tail(text) == tail(m_memory.statusText);
    if (ticking)
        return;
    setStatus(text);
    m_memory.statusText = text;
    m_memory.shownPosition = position;
}

int PlaybackSession::msUntilNextSecond() const
{
    if (state::LoadedMediaType == kMediaNone || !statusShown() ||
        GetPlayMode(m_mediaPlayer, m_realPlayer) != kPlayModePlaying)
        return -1;
    // Just past the second, so the time reads it whole.
    const double fraction = m_memory.position - std::floor(m_memory.position);
    return std::clamp(int((1.0 - fraction) * 1000.0) + kTickLateMs, kTickLateMs, 1000);
}

bool PlaybackSession::statusShown() const
{
    return !m_window || m_window->statusShown();
}

void PlaybackSession::applyLength(double length)
{
    const SeekScaleChoice choice = seekScaleFor(length);
    m_seekScale = choice.scale;
    if (m_seekBar) {
        m_seekBar->setTickFrequency(choice.stepSeconds / choice.scale);
        m_seekBar->setLargeChange(choice.stepSeconds / choice.scale);
        m_seekBar->setSmallChange(1);
        m_seekBar->setMaximum(int(std::nearbyint(std::min(length / choice.scale, 2.0e9))));
    }
    m_memory.length = length;
}

void PlaybackSession::runCdStep()
{
    if (state::LoadedMediaType != kAudioCdTrack) {
        if (m_memory.cdMode != 0)
            m_memory.cdMode = 0;
        return;
    }
    const qint32 mode = GetPlayMode(m_mediaPlayer, m_realPlayer);
    if (mode == m_memory.cdMode)
        return;
    if (CdEndOfTrack(mode))
        return;
    m_memory.cdMode = mode;
    layoutPictureArea();
}

void PlaybackSession::setStatus(const QString &text)
{
    if (m_status)
        m_status->setText(text);
}

void PlaybackSession::silSeek_Scroll()
{
    if (!m_seekBar)
        return;
    m_seekDragging = true;
    const double position = double(m_seekBar->value()) * m_seekScale;
    const double length = double(m_seekBar->maximum()) * m_seekScale;
    setStatus(timeText(position) + QStringLiteral(" / ") + timeText(length) +
              QStringLiteral("     ") +
              core::GetText(QStringLiteral("Status"), QStringLiteral("mesSeeking")));
}

void PlaybackSession::silSeek_Change()
{
    if (!m_seekDragging || !m_seekBar)
        return;
    m_seekDragging = false;
    SeekMedia(m_mediaPlayer, m_realPlayer, double(m_seekBar->value()) * m_seekScale);
}

// Steps come in bursts (a wheel spun, a key held): each moves the bar as a
// drag does, and the seek follows when they pause. A seek per step would
// let the refresh between them put the bar back to where the engine had
// not yet left, and the next step would count from there.
void PlaybackSession::silSeek_Step()
{
    if (!m_seekBar || (m_seekDragging && !m_seekSteps.isActive()))
        return;
    silSeek_Scroll();
    if (!m_seekSteps.isActive()) {
        m_seekSteps.setSingleShot(true);
        connect(&m_seekSteps, &QTimer::timeout, this, &PlaybackSession::silSeek_Change,
                Qt::UniqueConnection);
    }
    m_seekSteps.start(kSeekStepPauseMs);
}

} // namespace orvane::playback

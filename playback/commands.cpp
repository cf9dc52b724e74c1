#include "core/messagebox.h"
#include "playback/eventpump.h"
#include "playback/navigation.h"
#include "playback/playbackwindow.h"
#include "playback/session.h"
#include "playlist/playlistops.h"

namespace orvane::playback {

bool PlaybackSession::ovmPlay_MenuClick(int id, bool repeatAllChecked)
{
    switch (id) {
    case 11:
        PlayPause();
        return true;
    case 12:
        Stop();
        return true;
    case 14:
        Reverse();
        return true;
    case 15:
        Forward();
        return true;
    case 17:
        setRepeatAll(!repeatAllChecked);
        return true;
    default:
        return false;
    }
}

void PlaybackSession::tobControl_ButtonClick(const QString &key)
{
    const QString action = key.toLower();
    if (action == u"play" || action == u"pause")
        ovmPlay_MenuClick(11);
    else if (action == u"stop")
        ovmPlay_MenuClick(12);
    else if (action == u"reverse")
        ovmPlay_MenuClick(14);
    else if (action == u"forward")
        ovmPlay_MenuClick(15);
    else if (action == u"sound" && m_window)
        m_window->runSoundAction();
}

void PlaybackSession::PlayPause()
{
    // A clip that seeks plays on once it lands: Pause pressed meanwhile
    // pauses it, as it would a moment later.
    const PlayMode mode = GetPlayMode(m_mediaPlayer, m_realPlayer);
    if (mode == kPlayModePlaying || mode == kPlayModeSeeking) {
        if (!PauseMedia(m_mediaPlayer, m_realPlayer)) {
            setStopRequested(true);
            StopMedia(m_mediaPlayer, m_realPlayer);
        }
        return;
    }
    if (PlayItem(m_mediaPlayer, m_realPlayer, m_view, m_seekBar)) {
        showMediaInfo();
    } else {
        setStopRequested(true);
        StopMedia(m_mediaPlayer, m_realPlayer);
        const int index = playlist::IndexFromKey(&m_view, QString());
        if (index >= 0)
            reportFailures({index});
    }
}

void PlaybackSession::Stop()
{
    setStopRequested(true);
    // A load that is still waiting for its engine ends here too.
    CancelLoadWait();
    StopMedia(m_mediaPlayer, m_realPlayer);
}

void PlaybackSession::Reverse()
{
    FailedItems failed;
    if (PlayPrevious(m_mediaPlayer, m_realPlayer, m_view, m_seekBar, true, &failed))
        showMediaInfo();
    else
        core::messageBox().beep();
    reportFailures(failed);
}

void PlaybackSession::Forward()
{
    FailedItems failed;
    if (PlayNext(m_mediaPlayer, m_realPlayer, m_view, m_seekBar, true, &failed))
        showMediaInfo();
    else
        core::messageBox().beep();
    reportFailures(failed);
}

} // namespace orvane::playback

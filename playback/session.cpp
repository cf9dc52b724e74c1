#include "playback/session.h"

#include "core/language.h"
#include "core/messagebox.h"
#include "core/modmain.h"
#include "playback/engine/mediaplayer.h"
#include "playback/engine/realplayer.h"
#include "playback/errorhandlers.h"
#include "playback/eventpump.h"
#include "playback/logging.h"
#include "playback/navigation.h"
#include "playback/playbackwindow.h"
#include "playback/processing.h"
#include "playlist/locations.h"
#include "playlist/lstplaylist.h"
#include "playlist/playlistops.h"
#include "playlist/playliststore.h"

#include <utility>

namespace orvane::playback {

using core::modMain::ShowErrors;

PlaybackSession::PlaybackSession(MediaPlayer &mediaPlayer, RealPlayer &realPlayer,
                                 playlist::lstPlayList &view, SeekBar *silSeek,
                                 StatusLine *lblStatus, PlaybackWindow *window, QObject *parent)
    : QObject(parent)
    , m_mediaPlayer(mediaPlayer)
    , m_realPlayer(realPlayer)
    , m_view(view)
    , m_seekBar(silSeek)
    , m_status(lblStatus)
    , m_window(window)
{}

PlaybackSession::~PlaybackSession() = default;

void PlaybackSession::connectEngines()
{
    connectErrorHandlers(m_mediaPlayer, m_realPlayer);
    connect(&m_mediaPlayer, &MediaPlayer::playStateChanged, this,
            &PlaybackSession::MediaPlayer_PlayStateChange);
    connect(&m_mediaPlayer, &MediaPlayer::nextStarted, this,
            &PlaybackSession::MediaPlayer_NextStarted);
    m_mediaPlayer.setNextLocationProvider(
        [this](const QString &after, int playsDone) { return NextLocation(after, playsDone); });
    connect(&m_realPlayer, &RealPlayer::stateChanged, this,
            &PlaybackSession::RealPlayer_OnStateChange);
}

bool PlaybackSession::AdvanceAfterEnd()
{
    if (m_stopRequested)
        return false;
    const bool resumeEnabled = m_processing
                                   ? m_processing->suspend()
                                   : std::exchange(core::modMain::ProcessingEnabled, false);
    FailedItems failed;
    bool result = PlayNext(m_mediaPlayer, m_realPlayer, m_view, m_seekBar, true, &failed);
    if (!result) {
        setStopRequested(true);
        state::LoadedMediaType = kMediaNone;
        if (m_view.count() > 0) {
            m_view.setSelectedPosition(0);
            // One walk from the top: a list where nothing plays comes to
            // rest instead of being tried round and round.
            if (m_repeatAll)
                result = PlayFirstChecked(m_mediaPlayer, m_realPlayer, m_view, m_seekBar, &failed);
        }
    }
    reportFailures(failed);
    if (m_processing)
        m_processing->resume(resumeEnabled);
    else
        core::modMain::ProcessingEnabled = resumeEnabled;
    return result;
}

void PlaybackSession::MediaPlayer_PlayStateChange(int, int newState)
{
    // Reports are queued: one the engine has already left behind (a
    // Playing just before the user's Stop) must not undo what followed.
    if (!ShowErrors || newState != m_mediaPlayer.playState())
        return;
    if (newState == MediaPlayer::Stopped)
        onEngineStopped();
    else if (newState == MediaPlayer::Paused)
        pressButton(QStringLiteral("pause"));
    else if (newState == MediaPlayer::Playing)
        onEnginePlaying();
    layoutPictureArea();
}

void PlaybackSession::RealPlayer_OnStateChange(int newState)
{
    if (!ShowErrors)
        return;
    if (newState == RealPlayer::Stopped)
        onEngineStopped();
    else if (newState == RealPlayer::Paused)
        pressButton(QStringLiteral("pause"));
    else if (newState == RealPlayer::Playing)
        onEnginePlaying();
    layoutPictureArea();
}

void PlaybackSession::MediaPlayer_NextStarted()
{
    if (!ShowErrors)
        return;
    // PlayItem then finds the file it is given already playing and takes
    // it as it is; any other choice of the advance loads its own item.
    state::LoadedSource = m_mediaPlayer.fileName();
    state::LoadedEntry = 0;
    if (!AdvanceAfterEnd()) {
        pressButton(QStringLiteral("stop"));
        ResetEngines(m_mediaPlayer, m_realPlayer, m_seekBar, true);
        setInfoText(QString());
    } else if (m_mediaPlayer.playState() == MediaPlayer::Playing &&
               m_mediaPlayer.fileName() == state::LoadedSource) {
        // No state report comes for a change that never stopped.
        onEnginePlaying();
    }
    layoutPictureArea();
}

QString PlaybackSession::NextLocation(const QString &after, int playsDone) const
{
    const int position = handedPosition();
    const QString base = locationAt(position);
    if (base.isEmpty() || base != after)
        return {};
    // The engine makes the item's repeats; only the last one leads on.
    const qint16 repeats =
        playlist::PlayList.at(playlist::IndexFromKey(&m_view, m_view.key(position))).DOLOOP;
    if (repeats == 0 || playsDone + 1 < repeats)
        return {};
    return locationAt(FollowingPosition(m_view, position, m_repeatAll));
}

// The view position of the last item the engine holds: the playing one,
// followed through what it was handed; -1 when that is no longer what the
// advance would play.
int PlaybackSession::handedPosition() const
{
    // Forward at the end of a file with chapters may still mean a chapter.
    // A stop request counts only while no item is being started: one
    // started after it (a click, Play after Stop) opens and plays with the
    // request standing until the engine's report clears it, and a short
    // clip asks for its follower before that.
    const bool starting = isLoadWaiting() || m_mediaPlayer.playState() == MediaPlayer::Playing;
    const bool stopping = m_stopRequested && !starting;
    if (stopping || state::LoadedMediaType != kMediaPlayerFile || m_mediaPlayer.markerCount() != 0)
        return -1;
    int position = CurrentPosition(m_view);
    for (const QString &handed : m_mediaPlayer.nextLocations()) {
        position = FollowingPosition(m_view, position, m_repeatAll);
        if (locationAt(position) != handed)
            return -1;
    }
    return position;
}

// A plain file of the first engine at that view position, else "".
QString PlaybackSession::locationAt(int position) const
{
    const int index = position < 0 ? -1 : playlist::IndexFromKey(&m_view, m_view.key(position));
    if (index < 0 || index >= playlist::PlayList.size())
        return {};
    const playlist::PlayListItem &item = playlist::PlayList.at(index);
    if (item.MEDIATYPE != kMediaPlayerFile || item.NUMBER != 0)
        return {};
    return item.FILENAME;
}

void PlaybackSession::revisePrepared()
{
    if (!m_mediaPlayer.nextLocations().isEmpty() && handedPosition() < 0)
        m_mediaPlayer.dropNextLocations();
}

void PlaybackSession::PlayListChanged()
{
    revisePrepared();
}

void PlaybackSession::setRepeatAll(bool on)
{
    m_repeatAll = on;
    revisePrepared();
}

void PlaybackSession::onEngineStopped()
{
    if (AdvanceAfterEnd())
        return;
    pressButton(QStringLiteral("stop"));
    ResetEngines(m_mediaPlayer, m_realPlayer, m_seekBar, true);
    setInfoText(QString());
}

void PlaybackSession::onEnginePlaying()
{
    m_stopRequested = false;
    m_failureText.clear();
    pressButton(QStringLiteral("play"));
    // Only the user's own slider moves and mute clicks write the mixer: a
    // new item must not undo what the desktop's volume control did.
    if (m_window)
        m_window->refreshSoundControls();
    showMediaInfo();
}

bool PlaybackSession::CdEndOfTrack(qint32 mode)
{
    if (mode == kPlayModePlaying) {
        onEnginePlaying();
        return false;
    }
    if (mode == kPlayModePaused) {
        pressButton(QStringLiteral("pause"));
        return false;
    }
    if (mode != kPlayModeStopped)
        return false;
    const int index = playlist::IndexFromKey(&m_view, QString());
    if (index >= 0 && index < playlist::PlayList.size()) {
        ++m_memory.cdRepeat;
        const qint16 repeats = playlist::PlayList.at(index).DOLOOP;
        if ((repeats == 0 || repeats > m_memory.cdRepeat) && !m_stopRequested) {
            PlayItem(m_mediaPlayer, m_realPlayer, m_view, m_seekBar);
            return true;
        }
        m_memory.cdRepeat = 0;
    }
    if (AdvanceAfterEnd()) {
        showMediaInfo();
        return false;
    }
    pressButton(QStringLiteral("stop"));
    ResetEngines(m_mediaPlayer, m_realPlayer, m_seekBar, true);
    setInfoText(QString());
    state::LoadedMediaType = kMediaNone;
    return false;
}

void PlaybackSession::reportFailures(const FailedItems &failed)
{
    // Only a missing file is told here: the engines report their own errors,
    // and a load the user stopped is no failure.
    for (auto it = failed.crbegin(); it != failed.crend(); ++it) {
        if (*it < 0 || *it >= playlist::PlayList.size() ||
            !ItemFileMissing(playlist::PlayList.at(*it)))
            continue;
        const QString &location = playlist::PlayList.at(*it).FILENAME;
        m_failureText = core::GetText(QStringLiteral("Status"), QStringLiteral("mesMissing"))
                            .arg(playlist::FileNamePart(location));
        qCWarning(lcPlayback).noquote() << "not there:" << location;
        m_memory.statusText = m_failureText;
        setStatus(m_failureText);
        return;
    }
}

void PlaybackSession::pressButton(const QString &key)
{
    if (m_window)
        m_window->pressControlButton(key);
}

void PlaybackSession::setInfoText(const QString &text)
{
    if (m_window)
        m_window->setInfoText(text);
}

void PlaybackSession::showMediaInfo()
{
    if (m_window)
        m_window->setInfoText(m_window->mediaInfoText());
}

void PlaybackSession::layoutPictureArea()
{
    if (m_window)
        m_window->layoutPictureArea();
}

} // namespace orvane::playback

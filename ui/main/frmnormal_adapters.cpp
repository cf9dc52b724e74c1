// What adding media and the desktop's media controls need of the window.
#include "playback/controller.h"
#include "playback/engine/mediaplayer.h"
#include "playback/engine/realplayer.h"
#include "playback/session.h"
#include "playback/status.h"

#include "playlist/playlistmodel.h"
#include "playlist/playlistops.h"
#include "playlist/playliststore.h"
#include "ui/dialogs/frmerrorlog.h"
#include "ui/dialogs/frmstatus.h"
#include "ui/main/frmnormal.h"
#include "ui/main/mprisservice.h"
#include "ui/main/widgetcontrols.h"
#include <cmath>

#include <QTreeView>
#include <QUrl>

namespace orvane::ui {

std::unique_ptr<adding::ProgressSink> frmNormal::loadStatusDialog()
{
    auto dialog = std::make_unique<frmStatus>(this);
    dialog->show();
    return dialog;
}

std::unique_ptr<adding::FailureList> frmNormal::loadErrorLog()
{
    return std::make_unique<frmErrorLog>(this);
}

QWidget *frmNormal::engineView(adding::EngineView view) const
{
    return view == adding::EngineView::MediaPlayer ? m_mediaPlayerView : m_realPlayerView;
}

void frmNormal::setEngineViewVisible(adding::EngineView view, bool visible)
{
    if (QWidget *w = engineView(view))
        w->setVisible(visible);
}

QRect frmNormal::engineViewGeometry(adding::EngineView view) const
{
    QWidget *w = engineView(view);
    return w ? w->geometry() : QRect();
}

void frmNormal::setEngineViewGeometry(adding::EngineView view, const QRect &geometry)
{
    if (QWidget *w = engineView(view))
        w->setGeometry(geometry);
}

void frmNormal::setPlayListViewVisible(bool visible)
{
    m_lstPlayList->setVisible(visible);
}

QList<MprisPlayer::Track> frmNormal::tracks() const
{
    QList<Track> list;
    const QString playing = playingKey();
    const int n = m_model->count();
    list.reserve(n);
    for (int position = 0; position < n; ++position) {
        const QString key = m_model->key(position);
        const int index = playlist::IndexFromKey(nullptr, key);
        Track track{key, m_model->item(position).text, {}, {}, {}, -1};
        if (index >= 0 && index < playlist::PlayList.size()) {
            const playlist::PlayListItem &record = playlist::PlayList.at(index);
            track.artist = record.AUTHOR;
            track.url = record.FILENAME;
        }
        if (key == playing)
            describePlayingTrack(track);
        list.append(track);
    }
    return list;
}

// Only the engine that holds an item knows its length and album.
void frmNormal::describePlayingTrack(Track &track) const
{
    QString text;
    double position = 0.0;
    double length = 0.0;
    playback::ReadStatus(*m_mediaPlayer, *m_realPlayer, text, position, length);
    if (length > 0.0)
        track.lengthUs = qint64(std::llround(length * 1e6));
    switch (playback::state::LoadedMediaType) {
    case playback::kMediaPlayerFile:
    case playback::kVideoCdTrack:
        track.album = m_mediaPlayer->mediaInfoString(playback::MediaPlayer::InfoAlbum);
        break;
    case playback::kRealPlayerFile:
        track.album = m_realPlayer->album();
        break;
    default:
        break;
    }
}

QString frmNormal::playingKey() const
{
    if (!m_mediaPlayer || playback::state::LoadedMediaType == playback::kMediaNone)
        return {};
    switch (playback::GetPlayMode(*m_mediaPlayer, *m_realPlayer)) {
    case playback::kPlayModePlaying:
    case playback::kPlayModePaused:
    case playback::kPlayModeWaiting:
    case playback::kPlayModeSeeking:
        break;
    default:
        return {};
    }
    const QString key = playback::state::LoadedKey;
    return m_model->positionOfKey(key) < 0 ? QString() : key;
}

QString frmNormal::currentKey() const
{
    const QString playing = playingKey();
    if (!playing.isEmpty())
        return playing;
    const int position = m_model->selectedPosition();
    return position < 0 ? QString() : m_model->key(position);
}

void frmNormal::playbackChanged()
{
    m_model->setPlayingKey(playingKey());
    if (m_mpris)
        m_mpris->refresh();
}

bool frmNormal::repeatAll() const
{
    return m_session && m_session->repeatAll();
}

void frmNormal::setRepeatAll(bool on)
{
    if (m_session)
        m_session->setRepeatAll(on);
}

QString frmNormal::playbackStatus() const
{
    if (!m_mediaPlayer)
        return QStringLiteral("Stopped");
    switch (playback::GetPlayMode(*m_mediaPlayer, *m_realPlayer)) {
    case playback::kPlayModePlaying:
    case playback::kPlayModeWaiting:
    case playback::kPlayModeSeeking:
        return QStringLiteral("Playing");
    case playback::kPlayModePaused:
        return QStringLiteral("Paused");
    default:
        return QStringLiteral("Stopped");
    }
}

qint64 frmNormal::positionUs() const
{
    if (!m_mediaPlayer)
        return 0;
    switch (playback::state::LoadedMediaType) {
    case playback::kMediaPlayerFile:
    case playback::kVideoCdTrack:
        return qint64(m_mediaPlayer->currentPosition() * 1e6);
    case playback::kRealPlayerFile:
        return qint64(m_realPlayer->position()) * 1000;
    default:
        return 0;
    }
}

bool frmNormal::canSeek() const
{
    return m_mediaPlayer && playback::CanSeekMedia(*m_mediaPlayer, *m_realPlayer);
}

void frmNormal::play()
{
    if (playbackStatus() != QStringLiteral("Playing"))
        ovmPlay_MenuClick(11);
}

void frmNormal::pause()
{
    if (playbackStatus() == QStringLiteral("Playing"))
        ovmPlay_MenuClick(11);
}

void frmNormal::goTo(const QString &key)
{
    const int position = m_model->positionOfKey(key);
    if (position < 0 || !m_session || refusedWhileBusy())
        return;
    m_model->setSelectedPosition(position);
    m_session->setStopRequested(true);
    playback::PlayItem(*m_mediaPlayer, *m_realPlayer, *m_model, m_seekBar.get());
}

void frmNormal::setPositionUs(qint64 position)
{
    if (m_mediaPlayer && !refusedWhileBusy())
        playback::SeekMedia(*m_mediaPlayer, *m_realPlayer, double(position) / 1e6);
}

void frmNormal::raise()
{
    // Only a minimised window changes its state: a maximised one stays so.
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    activateWindow();
    QMainWindow::raise();
}

} // namespace orvane::ui

// The commands the toolbars and the playlist view reach: File, Play and
// PlayList menu ids, the view's clicks and the mute button.
#include "adding/mediainfo.h"
#include "core/language.h"
#include "core/messagebox.h"
#include "core/modmain.h"
#include "playback/controller.h"
#include "playback/mixer/modmixer.h"
#include "playback/session.h"
#include "playlist/playlistfile.h"
#include "playlist/playlistmodel.h"
#include "playlist/playlistops.h"
#include "playlist/playliststore.h"
#include "ui/main/artwork.h"
#include "ui/main/frmnormal.h"
#include "ui/main/mprisservice.h"
#include "ui/main/widgetcontrols.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QPlainTextEdit>
#include <QSlider>
#include <QToolBar>

namespace orvane::ui {

using namespace orvane::core;

namespace {

void beep()
{
    messageBox().beep();
}

} // namespace

void frmNormal::ovmFile_MenuClick(int id)
{
    switch (id) {
    case 1:
        openFiles(true);
        break;
    case 2: {
        QString message;
        if (!playlist::SavePlayList(*m_model, QString(), true, &message) &&
            message == playlist::kMessageNewFile)
            savePlayListAs();
        else if (message == playlist::kMessageNothingFile)
            beep();
        break;
    }
    case 3:
        savePlayListAs();
        break;
    default:
        break;
    }
}

void frmNormal::savePlayListAs()
{
    if (m_model->count() == 0) {
        beep();
        return;
    }
    const QString title = GetText(QStringLiteral("Normal"), QStringLiteral("SavePlayListDlg"));
    QString file = QFileDialog::getSaveFileName(this, title, playlist::PlayListFile,
                                                QStringLiteral("Orvane Play List (*.ovl)"));
    if (file.isEmpty())
        return;
    if (!file.endsWith(QStringLiteral(".ovl"), Qt::CaseInsensitive))
        file += QStringLiteral(".ovl");
    playlist::SavePlayList(*m_model, file, true);
}

// Until the open dialog exists, Open and Add go through the file dialog:
// the chosen files are queued like a drop (an ".ovl" first replaces the
// playlist, as adding media does with any list that starts with one).
void frmNormal::openFiles(bool replace)
{
    const QString filter = QStringLiteral("Media (%1 %2 *.ovl *.m3u *.m3u8);;All files (*)")
                               .arg(modMain::WmpFilter, modMain::RealFilter)
                               .replace(QLatin1Char(';'), QLatin1Char(' '));
    const QStringList files = QFileDialog::getOpenFileNames(this, QString(), QString(), filter);
    if (files.isEmpty())
        return;
    if (replace && files.first().endsWith(QStringLiteral(".ovl"), Qt::CaseInsensitive)) {
        if (m_session)
            playback::StopMedia(*m_mediaPlayer, *m_realPlayer);
        modMain::PendingCommand.push(files.first());
        return;
    }
    modMain::PendingCommand.push(files.join(QLatin1Char('|')));
}

void frmNormal::ovmPlay_MenuClick(int id)
{
    if (!m_session)
        return;
    m_session->ovmPlay_MenuClick(id, m_session->repeatAll());
    if (m_mpris)
        m_mpris->refresh();
}

void frmNormal::ovmPlayList_MenuClick(int id)
{
    if (!m_session)
        return; // still starting: the engines are not there yet
    bool ok = true;
    switch (id) {
    case 21:
        openFiles(false);
        break;
    case 23:
        playback::StopMedia(*m_mediaPlayer, *m_realPlayer);
        ok = playlist::DeleteSelectedItem(*m_model);
        break;
    case 24:
        playback::StopMedia(*m_mediaPlayer, *m_realPlayer);
        ok = playlist::ClearPlayList(*m_model);
        break;
    case 26:
        ok = playlist::MoveSelectedItem(*m_model, -1);
        break;
    case 27:
        ok = playlist::MoveSelectedItem(*m_model, 1);
        break;
    case 29: {
        const QString info = adding::GetMediaInfoText(*m_mediaPlayer, *m_realPlayer, *m_model);
        if (info.isEmpty())
            ok = false;
        else
            messageBox().show(info, kApplicationTitle, MessageIcon::Information,
                              MessageButtons::Ok);
        break;
    }
    default:
        break;
    }
    if (!ok)
        beep();
    if (m_mpris)
        m_mpris->refresh();
}

void frmNormal::lstPlayList_ItemClick()
{
    if (!m_session || m_model->selectedPosition() < 0)
        return;
    if (playback::state::LoadedMediaType != 0) {
        m_session->setStopRequested(true);
        playback::PlayItem(*m_mediaPlayer, *m_realPlayer, *m_model, m_seekBar.get());
    } else {
        setInfoText(adding::GetMediaInfoText(*m_mediaPlayer, *m_realPlayer, *m_model));
    }
    if (m_mpris)
        m_mpris->refresh();
}

void frmNormal::lstPlayList_DblClick()
{
    if (!m_session || m_model->selectedPosition() < 0 || playback::state::LoadedMediaType != 0)
        return;
    m_session->setStopRequested(true);
    playback::PlayItem(*m_mediaPlayer, *m_realPlayer, *m_model, m_seekBar.get());
    if (m_mpris)
        m_mpris->refresh();
}

void frmNormal::runSoundAction()
{
    QAction *sound = m_tobControl->findChild<QAction *>(QStringLiteral("sound"));
    if (!sound)
        return;
    const bool muted = playback::SetVolume(m_mediaPlayer.get(), m_realPlayer.get(),
                                           sound->isChecked(), qint16(m_silVolume->value()));
    sound->setChecked(muted);
    sound->setIcon(toolbarIcon(muted ? QStringLiteral("nosound") : QStringLiteral("sound")));
    m_silVolume->setEnabled(!muted);
}

void frmNormal::setVolumeFromControls()
{
    playback::SetVolume(m_mediaPlayer.get(), m_realPlayer.get(), false,
                        qint16(m_silVolume->value()));
}

void frmNormal::pressControlButton(const QString &key)
{
    for (const char *name : {"play", "pause", "stop"}) {
        if (QAction *a = m_tobControl->findChild<QAction *>(QString::fromLatin1(name)))
            a->setChecked(key == QLatin1String(name));
    }
    if (m_mpris)
        m_mpris->refresh();
}

void frmNormal::setInfoText(const QString &text)
{
    m_txtInfo->setPlainText(text);
}

QString frmNormal::mediaInfoText()
{
    if (!m_mediaPlayer)
        return {};
    return adding::GetMediaInfoText(*m_mediaPlayer, *m_realPlayer, *m_model);
}

} // namespace orvane::ui

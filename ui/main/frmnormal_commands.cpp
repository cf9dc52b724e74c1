// The commands the toolbars and the playlist view reach: File, Play and
// PlayList menu ids, the view's clicks and the mute button.
#include "adding/mediainfo.h"
#include "core/busywork.h"
#include "core/language.h"
#include "core/messagebox.h"
#include "core/modmain.h"
#include "playback/controller.h"
#include "playback/session.h"
#include "playlist/playlistfile.h"
#include "playlist/playlistmodel.h"
#include "playlist/playlistops.h"
#include "playlist/playliststore.h"
#include "ui/dialogs/frmopendialog.h"
#include "ui/dialogs/frmoptions.h"
#include "ui/main/artwork.h"
#include "ui/main/frmnormal.h"
#include "ui/main/mprisservice.h"
#include "ui/main/widgetcontrols.h"
#include "ui/toolkit/commondialog.h"

#include <QAction>
#include <QDir>
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

// While media is being added the engines and the list belong to the
// adding: a command that would touch them is refused with the beep. What
// the user drops or a second start sends waits for the adding instead.
bool frmNormal::refusedWhileBusy()
{
    if (!core::isBusy())
        return false;
    beep();
    return true;
}

void frmNormal::ovmFile_MenuClick(int id)
{
    if (id != 5 && refusedWhileBusy())
        return; // Quit stays: it ends the adding like Cancel
    switch (id) {
    case 1:
        showOpenDialog(1);
        break;
    case 2: {
        QString message;
        if (!playlist::SavePlayList(*m_model, QString(), commentChecked(), &message) &&
            message == playlist::kMessageNewFile)
            savePlayListAs();
        else if (message == playlist::kMessageNothingFile)
            beep();
        break;
    }
    case 3:
        savePlayListAs();
        break;
    case 5:
        close();
        break;
    default:
        break;
    }
}

// A cancelled dialog saves nothing: writing the list over the file it came
// from when the user chose not to save would replace that file unasked.
void frmNormal::savePlayListAs()
{
    CommonDialog &dialog = comDialog();
    dialog.CancelError = false;
    dialog.DialogTitle = GetText(QStringLiteral("Normal"), QStringLiteral("SavePlayListDlg"));
    dialog.FileName.clear();
    dialog.Filter = QStringLiteral("Orvane Play List|") + modMain::PlayListFilter;
    dialog.FilterIndex = 1;
    dialog.Flags = cdl::kExplorer | cdl::kHideReadOnly | cdl::kOverwritePrompt;
    dialog.DefaultExt = QStringLiteral("ovl");
    dialog.ShowSave(this);
    if (dialog.FileName.isEmpty())
        return;
    QString message;
    if (!playlist::SavePlayList(*m_model, dialog.FileName, commentChecked(), &message) &&
        message == playlist::kMessageNothingFile)
        beep();
}

CommonDialog &frmNormal::comDialog()
{
    if (!m_comDialog)
        m_comDialog = std::make_unique<CommonDialog>(this);
    return *m_comDialog;
}

void frmNormal::showOpenDialog(qint16 openMode)
{
    frmOpenDialog dialog(
        comDialog(), [this](const QString &locations) { addMedia(locations); }, this);
    dialog.OpenMode = openMode;
    dialog.exec();
}

void frmNormal::showOptionsDialog()
{
    if (refusedWhileBusy())
        return;
    frmOptions dialog(m_settingsFile, &comDialog(), this);
    dialog.exec();
}

void frmNormal::ovmPlay_MenuClick(int id)
{
    if (!m_session || refusedWhileBusy())
        return;
    m_session->ovmPlay_MenuClick(id, m_session->repeatAll());
    playbackChanged();
}

void frmNormal::ovmPlayList_MenuClick(int id)
{
    if (!m_session)
        return; // still starting: the engines are not there yet
    if (id != 31 && id != 32 && refusedWhileBusy())
        return;
    bool ok = true;
    switch (id) {
    case 21:
        showOpenDialog(2);
        break;
    case 22:
        showEditorDialog();
        break;
    case 23:
    case 24:
        // A stop, not an end: the engine's stop report must not advance
        // to another item of the list being edited.
        m_session->setStopRequested(true);
        playback::StopMedia(*m_mediaPlayer, *m_realPlayer);
        ok = id == 23 ? playlist::DeleteSelectedItem(*m_model) : playlist::ClearPlayList(*m_model);
        break;
    case 31:
    case 32:
        changePlayListHeight(id);
        break;
    case 26:
        ok = playlist::MoveSelectedItem(*m_model, -1);
        break;
    case 27:
        ok = playlist::MoveSelectedItem(*m_model, 1);
        break;
    case 29:
        showLoadedMediaInfo();
        break;
    default:
        break;
    }
    if (!ok)
        beep();
    playbackChanged();
}

// What the loaded engine says of its media goes into the selected item
// (its tags may have changed since it was added, or a stream names what
// it plays now) and into the information box.
void frmNormal::showLoadedMediaInfo()
{
    if (playback::state::LoadedMediaType == 0) {
        messageBox().show(GetText(QStringLiteral("Normal"), QStringLiteral("mesdonotPlay")),
                          kApplicationTitle, MessageIcon::Information, MessageButtons::Ok);
        return;
    }
    adding::RefreshItemInfo(*m_mediaPlayer, *m_realPlayer, *m_model);
    setInfoText(adding::GetMediaInfoText(*m_mediaPlayer, *m_realPlayer, *m_model));
}

void frmNormal::lstPlayList_ItemClick()
{
    if (!m_session || m_model->selectedPosition() < 0 || refusedWhileBusy())
        return;
    if (playback::state::LoadedMediaType != 0) {
        m_session->setStopRequested(true);
        playback::PlayItem(*m_mediaPlayer, *m_realPlayer, *m_model, m_seekBar.get());
    } else {
        setInfoText(adding::GetMediaInfoText(*m_mediaPlayer, *m_realPlayer, *m_model));
    }
    playbackChanged();
}

void frmNormal::lstPlayList_DblClick()
{
    if (!m_session || m_model->selectedPosition() < 0 || playback::state::LoadedMediaType != 0 ||
        refusedWhileBusy())
        return;
    m_session->setStopRequested(true);
    playback::PlayItem(*m_mediaPlayer, *m_realPlayer, *m_model, m_seekBar.get());
    playbackChanged();
}

void frmNormal::pressControlButton(const QString &key)
{
    for (const char *name : {"play", "pause", "stop"}) {
        if (QAction *a = m_tobControl->findChild<QAction *>(QString::fromLatin1(name)))
            a->setChecked(key == QLatin1String(name));
    }
    playbackChanged();
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

// Opening the playlist editor from the main window.
#include "playback/controller.h"
#include "playback/session.h"
#include "playlist/playlistmodel.h"
#include "ui/dialogs/frmediter.h"
#include "ui/main/frmnormal.h"

namespace orvane::ui {

void frmNormal::showEditorDialog()
{
    if (!m_session || refusedWhileBusy())
        return;
    // A stop, not an end: the engine's stop report must not advance to
    // another item of the list being rebuilt.
    m_session->setStopRequested(true);
    playback::StopMedia(*m_mediaPlayer, *m_realPlayer);
    frmEditer dialog(*m_model, this);
    dialog.exec();
    playbackChanged();
}

} // namespace orvane::ui

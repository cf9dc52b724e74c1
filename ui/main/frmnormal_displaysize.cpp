// The display-size commands of the Options menu.
#include "core/messagebox.h"
#include "playback/controller.h"
#include "playback/engine/mediaplayer.h"
#include "playback/engine/realplayer.h"
#include "ui/main/frmnormal.h"

namespace orvane::ui {

void frmNormal::ovmoDisplaySizes_MenuClick(int id)
{
    if (id < 65 || id > 67 || refusedWhileBusy())
        return;
    m_pictureSizeMode = id - 65;
    // With nothing loaded (or before the engines exist) the size still
    // changes and takes effect with the next media; the beep says so.
    const bool applied =
        m_mediaPlayer && playback::SetPictureSize(*m_mediaPlayer, *m_realPlayer, m_pictureSizeMode);
    if (!applied)
        core::messageBox().beep();
    LayoutPictureArea();
}

} // namespace orvane::ui

// The Help menu's own commands: the manual and the about box.
#include "core/programpaths.h"
#include "ui/dialogs/frmabout.h"
#include "ui/main/frmnormal.h"
#include "ui/toolkit/modhtmlhelp.h"

namespace orvane::ui {

void frmNormal::ovmHelp_MenuClick(int id)
{
    switch (id) {
    case 72:
        toolkit::OpenHelp(this, toolkit::helpFileIn(core::programFolder()),
                          QStringLiteral("ovHelp"), -1);
        break;
    case 73: {
        frmAbout about(this);
        about.exec();
        break;
    }
    default:
        break;
    }
}

} // namespace orvane::ui

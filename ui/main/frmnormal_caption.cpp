// The main window's own caption and media keys: set up as the window
// loads, switched by the options dialog, taken down as it closes.
#include "core/runsettings.h"
#include "ui/main/frmnormal.h"
#include "ui/main/modsubclass.h"

namespace orvane::ui {

namespace {

// The title's colours on the two caption pictures, as 0x00BBGGRR.
constexpr qint32 kActiveTitleColour = 7929825;    // light green on the active picture
constexpr qint32 kInactiveTitleColour = 16768130; // light blue on the inactive one

} // namespace

void frmNormal::installCaption()
{
    if (m_subClass)
        return;
    m_subClass = new modSub_Class(this);
    m_subClass->SetCaptionForm(this);
    m_subClass->SetActiveTextColor(kActiveTitleColour);
    m_subClass->SetActivePicture(titlebarPicture(0));
    m_subClass->SetInactiveTextColor(kInactiveTitleColour);
    m_subClass->SetInactivePicture(titlebarPicture(1));
    m_subClass->SetTextAlignment(2);
    m_subClass->SetFontBold(true);
    m_subClass->SetFontItalic(true);
    m_subClass->setPlayCommand([this](int id) { ovmPlay_MenuClick(id); });
    core::RunSettings &run = core::runSettings();
    if (run.orgBar())
        m_subClass->InstallPainter();
    m_subClass->InstallWndProc(this);
    connect(&run, &core::RunSettings::orgBarChanged, m_subClass, [this](bool on) {
        if (on)
            m_subClass->InstallPainter();
        else
            m_subClass->RemovePainter();
    });
}

void frmNormal::removeCaption()
{
    if (!m_subClass)
        return;
    m_subClass->RemoveWndProc();
    disconnect(&core::runSettings(), nullptr, m_subClass, nullptr);
    // The window is closing: its frame is not handed back, only the
    // painter's images let go.
    if (core::runSettings().orgBar())
        m_subClass->RemovePainter(modSub_Class::Frame::Keep);
}

} // namespace orvane::ui

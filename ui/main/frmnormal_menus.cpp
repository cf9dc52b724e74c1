// The window's side of the menus: the Controls commands, the playlist
// band's height and the engines' own small dialogs.
#include "core/language.h"
#include "core/messagebox.h"
#include "playback/engine/mediaplayer.h"
#include "playback/engine/realplayer.h"
#include "ui/dialogs/frmenginereport.h"
#include "ui/main/controlbar.h"
#include "ui/main/frmnormal.h"
#include "ui/main/mainmenus.h"
#include "ui/main/twips.h"

#include <QWindow>

namespace orvane::ui {

namespace {

constexpr int kPlayListBand = 4;
constexpr double kPlayListStep = 240;     // twips
constexpr double kPlayListHighest = 2910; // twips
constexpr double kPlayListLowest = 1455;  // twips

} // namespace

void frmNormal::BuildMenus()
{
    m_menus = std::make_unique<MainMenus>(*this);
    m_menus->BuildMenus();
}

bool frmNormal::statusShown() const
{
    const QWindow *window = windowHandle();
    return window && window->isExposed() && !isMinimized() && m_coolBar->isVisible();
}

bool frmNormal::menuHelpShown() const
{
    return m_menus && m_menus->menuHelpShown();
}

bool frmNormal::commentChecked() const
{
    return m_menus && m_menus->commentChecked();
}

void frmNormal::ovmControls_MenuClick(int id)
{
    if (id >= 43 && id <= 47)
        m_coolBar->setBandVisible(id - 42, !m_coolBar->isBandVisible(id - 42));
    else if (id != 41)
        return;
    bool anyBand = false;
    for (int band = 1; band <= CoolBar::kBands; ++band)
        anyBand = anyBand || m_coolBar->isBandVisible(band);
    if (anyBand && id != 41)
        return; // the bar's new height moves the window by the height-change rule
    setPanelsReady(false);
    if (id == 41) {
        const bool show = m_coolBar->isHidden();
        // With every panel hidden the bar would come back as an empty
        // strip; asking for it means asking for the panels.
        for (int band = 1; show && !anyBand && band <= CoolBar::kBands; ++band)
            m_coolBar->setBandVisible(band, true);
        m_coolBar->setVisible(show);
    } else
        m_coolBar->hide();
    if (windowStateCode() == 0) {
        QSizeF outer = outerSize();
        const double frame = outer.height() - innerSize().height();
        outer.setHeight((barVisible() ? barHeight() : 0) + frame + m_picture.height());
        setOuterSize(outer);
    }
    setPanelsReady(true);
    LayoutPictureArea();
}

void frmNormal::changePlayListHeight(int id)
{
    const double perPixel = twipsPerPixelY(this);
    const double current = m_coolBar->bandMinHeight(kPlayListBand) * perPixel;
    double wanted = id == 31 ? current + kPlayListStep : current - kPlayListStep;
    bool limited = false;
    if (id == 31 && wanted > kPlayListHighest) {
        wanted = kPlayListHighest;
        limited = true;
    } else if (id != 31 && wanted < kPlayListLowest) {
        wanted = kPlayListLowest;
        limited = true;
    }
    m_coolBar->setBandMinHeight(kPlayListBand, qRound(wanted / perPixel));
    if (limited)
        core::messageBox().beep();
}

void frmNormal::ovmEngines_MenuClick(int id)
{
    if (!m_mediaPlayer || !m_realPlayer || refusedWhileBusy())
        return;
    const QString caption = m_menus ? m_menus->menuCaption(id).remove(QLatin1Char('&')) : QString();
    playback::EngineReport report;
    switch (id) {
    case 61:
        report = m_mediaPlayer->report(playback::MediaPlayer::DialogStatistics);
        break;
    case 63:
        report = m_mediaPlayer->report(playback::MediaPlayer::DialogOptions);
        break;
    case 75:
        report = m_mediaPlayer->report(playback::MediaPlayer::DialogAbout);
        break;
    case 62:
        report = frmEngineReport::fromText(caption, m_realPlayer->statisticsText());
        break;
    case 64:
        report = frmEngineReport::fromText(caption, m_realPlayer->preferencesText());
        break;
    case 76:
        report = frmEngineReport::fromText(caption, m_realPlayer->aboutText());
        break;
    default:
        return;
    }
    if (report.title.isEmpty())
        report.title = caption;
    frmEngineReport dialog(report, this);
    if (id == 61)
        dialog.followSource(
            [this] { return m_mediaPlayer->report(playback::MediaPlayer::DialogStatistics); });
    else if (id == 62)
        dialog.followSource([this, caption] {
            return frmEngineReport::fromText(caption, m_realPlayer->statisticsText());
        });
    dialog.exec();
}

} // namespace orvane::ui

// The main window's size rules: where it starts, the least size it takes,
// the picture area it keeps while panels come and go, and the layout of
// the picture area that follows every change.
#include "core/modmain.h"
#include "playback/controller.h"
#include "playback/engine/mediaplayer.h"
#include "playback/engine/realplayer.h"
#include "ui/main/artwork.h"
#include "ui/main/controlbar.h"
#include "ui/main/frmnormal.h"
#include "ui/main/picturelayout.h"
#include "ui/main/twips.h"
#include "ui/main/windowrules.h"
#include "ui/main/windowsettings.h"

#include <QLabel>
#include <QLayout>
#include <QResizeEvent>

#include <cmath>

namespace orvane::ui {

namespace {

// Far beyond any screen (about 13,000 pixels): a setting.ini value past it
// is damage, not a window someone had.
constexpr double kLargestTwips = 200000;

double saneLength(double twips, double fallback)
{
    return std::isfinite(twips) && twips >= 0 && twips <= kLargestTwips ? twips : fallback;
}

} // namespace

void frmNormal::loadPictures()
{
    m_picTitlebar = {resourcePicture(kPictureCaptionActive),
                     resourcePicture(kPictureCaptionInactive)};
    m_picMenu = resourcePicture(kPictureMenu);
    m_picLogo->setPixmap(resourcePicture(kPictureLogo));
    m_picLogo->resize(m_picLogo->pixmap().size());
}

qint32 frmNormal::windowStateCode() const
{
    if (windowState() & Qt::WindowMinimized)
        return kStateMinimised;
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return kStateMaximised;
    return kStateNormal;
}

QSizeF frmNormal::windowFrame() const
{
    // The window manager's frame lies outside the widget's geometry; it is
    // known only once the window is mapped, and 0 without a manager.
    const QSize frame = frameGeometry().size() - size();
    return QSizeF(std::max(0, frame.width()) * twipsPerPixelX(this),
                  std::max(0, frame.height()) * twipsPerPixelY(this));
}

QSizeF frmNormal::outerSize() const
{
    return QSizeF(width() * twipsPerPixelX(this), height() * twipsPerPixelY(this)) + windowFrame();
}

QSizeF frmNormal::innerSize() const
{
    // The menu bar belongs to the frame: the inner area is what lies below
    // it, the central widget, once the layout has placed it.
    if (QLayout *l = layout())
        l->activate();
    const QSize inner = centralWidget() ? centralWidget()->size() : size();
    return QSizeF(inner.width() * twipsPerPixelX(this), inner.height() * twipsPerPixelY(this));
}

void frmNormal::setOuterSize(QSizeF twips)
{
    // Lower the minimum first: a window that just lost its control bar
    // would otherwise be held at the height it had with the bar. Raising
    // it waits for the next resize, so start-up can size the window before
    // the remembered panels are applied.
    setMinimumSize(minimumSize().boundedTo(ruleMinimumSize()));
    const QSizeF client = twips - windowFrame();
    resize(std::max(1, twipsToPixelsX(this, client.width())),
           std::max(1, twipsToPixelsY(this, client.height())));
}

bool frmNormal::barVisible() const
{
    // isHidden, not isVisible: before the window is shown nothing is
    // visible, yet the bar counts as soon as it is not hidden.
    return m_coolBar && !m_coolBar->isHidden();
}

double frmNormal::barHeight() const
{
    return m_coolBar ? m_coolBar->barHeight() * twipsPerPixelY(this) : 0;
}

QSize frmNormal::ruleMinimumSize() const
{
    const QSizeF frame = windowFrame();
    return {std::max(1, twipsToPixelsX(this, kMinWidth - frame.width())),
            std::max(1, twipsToPixelsY(this, ui::minimumHeight(barVisible(), barHeight()) -
                                                 frame.height()))};
}

void frmNormal::applyMinimumSize()
{
    setMinimumSize(ruleMinimumSize());
}

void frmNormal::applyPanelSettings()
{
    const WindowPosition current{windowStateCode(), float(x() * twipsPerPixelX(this)),
                                 float(y() * twipsPerPixelY(this)), 5655, 4305};
    const WindowPosition pos = readWindowPosition(m_settingsFile, current);
    m_picture = QSizeF(saneLength(pos.pictureWidth, kDesignedPictureWidth),
                       saneLength(pos.pictureHeight, kDesignedPictureHeight));
    const double left = std::isfinite(pos.left) ? pos.left : current.left;
    const double top = std::isfinite(pos.top) ? pos.top : current.top;
    // The rules below own the minimum: without an explicit one the layout
    // would hold the window at the height of every band while the
    // remembered panels are not applied yet.
    setMinimumSize(1, 1);
    QSizeF frame(0, 0);
    if (pos.state == kStateNormal) {
        frame = outerSize() - innerSize();
        move(twipsToPixelsX(this, left), twipsToPixelsY(this, top));
        setOuterSize(m_picture + frame);
    } else {
        setWindowState(pos.state == kStateMaximised ? Qt::WindowMaximized : Qt::WindowMinimized);
    }

    m_panelsReady = false;
    const PanelMode mode = readPanelMode(m_settingsFile);
    if (mode == PanelMode::All) {
        m_coolBar->setVisible(true);
    } else if (mode == PanelMode::Memorize || mode == PanelMode::Customize) {
        const PanelVisibility panels = readShowSetting(m_settingsFile);
        for (int band = 1; band <= CoolBar::kBands; ++band)
            m_coolBar->setBandVisible(band, panels.bands[size_t(band - 1)]);
        m_coolBar->setVisible(panels.bar);
    }
    // Every mode that shows the bar puts it below the remembered picture:
    // the window was saved as picture plus bar, and so it comes back.
    if (pos.state == kStateNormal)
        setOuterSize(
            QSizeF(outerSize().width(), startupOuterHeight(barVisible(), barHeight(),
                                                           m_picture.height(), frame.height())));
    applyMinimumSize();
    m_panelsReady = true;
}

void frmNormal::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    applyMinimumSize(); // the window manager's frame is known from now on
}

void frmNormal::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmNormal::Form_Resize()
{
    ResizeInput in;
    in.state = windowStateCode();
    in.previousState = m_previousWindowState;
    in.outer = outerSize();
    in.inner = innerSize();
    in.picture = m_picture;
    in.barVisible = barVisible();
    in.barHeight = barHeight();
    const ResizeDecision decision = decideResize(in);
    m_previousWindowState = decision.previousState;
    applyMinimumSize();
    if (decision.restore)
        setOuterSize(*decision.restore);
    if (decision.correct) {
        setOuterSize(*decision.correct);
        return;
    }
    if (decision.area)
        layOutPictureArea(*decision.area);
    if (decision.picture)
        m_picture = decision.picture->expandedTo(QSizeF(0, 0));
}

void frmNormal::CoolBar_HeightChanged(int height)
{
    const double h = height * twipsPerPixelY(this);
    const BarChangeDecision decision = decideBarHeightChange(
        windowStateCode(), m_panelsReady, outerSize(), innerSize(), m_picture, h);
    applyMinimumSize();
    if (decision.outerHeight)
        setOuterSize(QSizeF(outerSize().width(), *decision.outerHeight));
    if (decision.area)
        layOutPictureArea(*decision.area);
}

void frmNormal::LayoutPictureArea()
{
    const QSizeF inner = innerSize();
    layOutPictureArea(QSizeF(inner.width(), inner.height() - (barVisible() ? barHeight() : 0)));
}

void frmNormal::layOutPictureArea(QSizeF area)
{
    if (!m_picImageWindow || isMinimized())
        return;
    const double tx = twipsPerPixelX(this);
    const double ty = twipsPerPixelY(this);
    PictureLayoutInput in;
    in.width = area.width();
    in.height = area.height();
    in.loadedMediaType = playback::state::LoadedMediaType;
    in.sizeMode = m_pictureSizeMode;
    in.logo = QSizeF(m_picLogo->width() * tx, m_picLogo->height() * ty);
    in.twipsPerPixel = QPointF(tx, ty);
    if (m_realPlayer)
        in.clipPixels = QSize(m_realPlayer->clipWidth(), m_realPlayer->clipHeight());
    const PictureLayout out = computePictureLayout(in);
    const auto place = [tx, ty](QWidget *w, const std::optional<Placement> &p) {
        if (!w || !p)
            return;
        w->setGeometry(QRectF(p->rect.left() / tx, p->rect.top() / ty, p->rect.width() / tx,
                              p->rect.height() / ty)
                           .toRect());
        w->setVisible(p->visible);
    };
    place(m_mediaPlayerView, out.mediaPlayer);
    place(m_realPlayerView, out.realPlayer);
    place(m_picLogo, out.logo);
    if (out.mediaPlayerDisplaySize && m_mediaPlayer)
        m_mediaPlayer->setDisplaySize(*out.mediaPlayerDisplaySize);
}

} // namespace orvane::ui

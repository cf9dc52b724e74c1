// The painter's life and the window procedure: installing and removing,
// which events redraw the caption, the frame's edges and the media keys.
#include "ui/main/modsubclass.h"

#include "ui/main/captionbar.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <QWindow>

namespace orvane::ui {

namespace {

// The Play menu's items the media keys stand for.
int playItemOfKey(int key)
{
    switch (key) {
    case Qt::Key_MediaNext:
        return 15;
    case Qt::Key_MediaPrevious:
        return 14;
    case Qt::Key_MediaStop:
        return 12;
    case Qt::Key_MediaPlay:
    case Qt::Key_MediaPause:
    case Qt::Key_MediaTogglePlayPause:
        return 11;
    default:
        return 0;
    }
}

} // namespace

// Keys go to the focus widget, not to the window: the media keys are taken
// where the application first sees them, by a filter of their own so that
// the window's events are not looked at twice.
class modSub_Class::KeyFilter final : public QObject
{
public:
    explicit KeyFilter(modSub_Class &owner)
        : m_owner(owner)
    {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        return event->type() == QEvent::KeyPress && m_owner.mediaKey(watched, event);
    }

private:
    modSub_Class &m_owner;
};

modSub_Class::modSub_Class(QObject *parent)
    : QObject(parent)
{
    for (CaptionImage &image : m_cache)
        image.rect.top = -1;
}

modSub_Class::~modSub_Class()
{
    RemoveWndProc();
}

void modSub_Class::SetCaptionForm(QWidget *form)
{
    m_form = form;
}

void modSub_Class::SetActiveTextColor(qint32 colour)
{
    m_activeTextColor = colour;
    RefreshCaption();
}

void modSub_Class::SetInactiveTextColor(qint32 colour)
{
    m_inactiveTextColor = colour;
    RefreshCaption();
}

void modSub_Class::SetActivePicture(const QPixmap &picture)
{
    m_cache[1].picture = picture;
    RefreshCaption();
}

void modSub_Class::SetInactivePicture(const QPixmap &picture)
{
    m_cache[0].picture = picture;
    RefreshCaption();
}

void modSub_Class::SetTextAlignment(int alignment)
{
    m_textAlignment = alignment;
    RefreshCaption();
}

void modSub_Class::SetFontBold(bool on)
{
    m_fontBold = on;
    RefreshCaption();
}

void modSub_Class::SetFontItalic(bool on)
{
    m_fontItalic = on;
    RefreshCaption();
}

void modSub_Class::InstallWndProc(QWidget *window)
{
    if (!window || m_hookedWindow)
        return;
    m_hookedWindow = window;
    window->installEventFilter(this);
    m_keyFilter = std::make_unique<KeyFilter>(*this);
    qApp->installEventFilter(m_keyFilter.get());
}

void modSub_Class::RemoveWndProc()
{
    if (!m_hookedWindow)
        return;
    m_hookedWindow->removeEventFilter(this);
    m_keyFilter.reset();
    m_hookedWindow = nullptr;
}

void modSub_Class::InstallPainter()
{
    if (m_painterInstalled || !m_form)
        return;
    m_isActive = true;
    m_metricsDpi = 0;
    m_captionFont = CreateCaptionFont();
    m_hasFont = true;
    ChooseIcon(QIcon());
    if (!m_bar)
        m_bar = new CaptionBar(*this, m_form);
    m_painterInstalled = true;
    setOwnFrame(true);
    PaintCaption(m_form);
}

void modSub_Class::RemovePainter(Frame frame)
{
    if (!m_painterInstalled)
        return;
    m_hasFont = false;
    for (CaptionImage &image : m_cache) {
        image.bitmap = QImage();
        image.rect.top = -1;
    }
    m_painterInstalled = false;
    if (frame == Frame::HandBack)
        setOwnFrame(false);
}

void modSub_Class::RefreshCaption(QWidget *window)
{
    if (!m_painterInstalled)
        return;
    if (!window)
        window = m_form;
    for (CaptionImage &image : m_cache)
        image.rect.top = -1;
    m_metricsDpi = 0;
    if (m_hasFont)
        m_captionFont = CreateCaptionFont();
    PaintCaption(window);
}

void modSub_Class::PaintCaption(QWidget *window)
{
    if (!m_painterInstalled || !window || window != m_form)
        return;
    const int look = m_isActive ? 1 : 0;
    const caption::Box rect = captionRect();
    CaptionImage &image = m_cache[size_t(look)];
    if (image.bitmap.isNull() || !(image.rect == rect))
        drawImage(image, look, rect);
    placeCaptionBar();
    m_bar->update();
}

void modSub_Class::ChooseIcon(const QIcon &requested)
{
    if (!m_captionIcon.isNull() && !requested.isNull())
        return;
    QIcon icon = requested;
    if (icon.isNull() && m_form)
        icon = m_form->windowIcon();
    if (icon.isNull())
        icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = QIcon::fromTheme(QStringLiteral("application-x-executable"));
    m_captionIcon = icon;
}

QFont modSub_Class::CreateCaptionFont() const
{
    QFont font = QApplication::font();
    font.setBold(m_fontBold);
    font.setItalic(m_fontItalic);
    font.setUnderline(m_fontUnderline);
    return font;
}

caption::Metrics modSub_Class::metrics() const
{
    // Measured once per caption font and screen: the frame asks on every
    // pointer move.
    if (!m_form)
        return {};
    const int dpi = m_form->logicalDpiY();
    if (dpi != m_metricsDpi) {
        m_metrics = caption::metricsFor(dpi, QFontMetrics(CreateCaptionFont()).height());
        m_metricsDpi = dpi;
    }
    return m_metrics;
}

caption::Style modSub_Class::captionStyle() const
{
    caption::Style s;
    if (!m_form)
        return s;
    const Qt::WindowFlags flags = m_form->windowFlags();
    // Without the customising hint a window has every box it can have.
    const bool custom = flags & Qt::CustomizeWindowHint;
    s.minimiseBox = !custom || (flags & Qt::WindowMinimizeButtonHint);
    s.maximiseBox = !custom || (flags & Qt::WindowMaximizeButtonHint);
    s.contextHelp = flags & Qt::WindowContextHelpButtonHint;
    s.toolWindow = (flags & Qt::WindowType_Mask) == Qt::Tool;
    s.minimised = m_form->isMinimized();
    s.maximised = m_form->isMaximized();
    s.sizingBorder = m_form->minimumSize() != m_form->maximumSize();
    return s;
}

caption::Box modSub_Class::captionRect() const
{
    return m_form ? caption::captionRect(m_form->size(), metrics(), captionStyle())
                  : caption::Box{};
}

caption::Buttons modSub_Class::captionButtons() const
{
    return caption::captionButtons(captionRect(), metrics(), captionStyle());
}

void modSub_Class::placeCaptionBar()
{
    if (m_bar && m_painterInstalled)
        m_bar->setGeometry(captionRect().toRect());
}

void modSub_Class::setOwnFrame(bool own)
{
    QWidget *form = m_form;
    if (!form)
        return;
    // A change of frame hides the window. It comes back at the same place
    // with its content (menus, picture, panels) the same size: only the
    // caption and frame around it change hands.
    const bool shown = form->isVisible();
    const QPoint place = form->frameGeometry().topLeft();
    const Qt::WindowStates state = form->windowState();
    const QMargins before = form->contentsMargins();
    const QSize content = form->size().shrunkBy(before);
    form->setWindowFlag(Qt::FramelessWindowHint, own);
    form->setMouseTracking(own);
    QMargins margins;
    if (own) {
        const caption::Metrics m = metrics();
        margins = QMargins(m.frameX, captionRect().bottom + m.border, m.frameX, m.frameY);
    } else {
        form->unsetCursor();
    }
    form->setContentsMargins(margins);
    m_bar->setVisible(own);
    if (!shown)
        return;
    if (state & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) {
        form->setWindowState(state);
        form->show();
        return;
    }
    form->resize(content.grownBy(margins));
    form->move(place);
    form->show();
}

bool modSub_Class::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_hookedWindow)
        return false;
    if (!m_painterInstalled)
        return false;
    if (m_inWndProc)
        return false;
    m_inWndProc = true;
    const bool taken = windowEvent(event);
    m_inWndProc = false;
    return taken;
}

bool modSub_Class::mediaKey(QObject *receiver, QEvent *event)
{
    auto *key = static_cast<QKeyEvent *>(event);
    const int item = playItemOfKey(key->key());
    if (item == 0 || !receiver->isWidgetType() || !m_hookedWindow)
        return false;
    // Only while the window is the active one, and once: a key the focus
    // widget ignores is offered to its parents too.
    auto *widget = static_cast<QWidget *>(receiver);
    if (widget->window() != m_hookedWindow || !m_hookedWindow->isActiveWindow())
        return false;
    if (widget != QApplication::focusWidget() &&
        !(widget->isWindow() && !QApplication::focusWidget()))
        return false;
    if (m_playCommand)
        m_playCommand(item);
    key->accept();
    return true;
}

bool modSub_Class::windowEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::Show:
        PaintCaption(m_form);
        return false;
    case QEvent::ActivationChange:
        m_isActive = m_form->isActiveWindow();
        PaintCaption(m_form);
        return false;
    case QEvent::WindowStateChange:
    case QEvent::WindowTitleChange:
    case QEvent::FontChange:
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
        // The buttons' forms and the title are part of the cached images.
        RefreshCaption(m_form);
        return false;
    case QEvent::WindowIconChange:
        m_captionIcon = QIcon();
        ChooseIcon(m_form->windowIcon());
        RefreshCaption(m_form);
        return false;
    case QEvent::Paint:
        paintFrame();
        return false;
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
        return frameMouse(event);
    default:
        return false;
    }
}

bool modSub_Class::frameMouse(QEvent *event)
{
    auto *mouse = static_cast<QMouseEvent *>(event);
    const caption::Metrics m = metrics();
    const caption::Style s = captionStyle();
    const Qt::Edges edges = s.sizingBorder && !s.maximised
                                ? caption::resizeEdges(mouse->position().toPoint(), m_form->size(),
                                                       m.frameX, m.captionHeight)
                                : Qt::Edges();
    if (event->type() == QEvent::MouseMove && mouse->buttons() == Qt::NoButton) {
        Qt::CursorShape shape = Qt::ArrowCursor;
        if (edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge))
            shape = Qt::SizeFDiagCursor;
        else if (edges == (Qt::RightEdge | Qt::TopEdge) || edges == (Qt::LeftEdge | Qt::BottomEdge))
            shape = Qt::SizeBDiagCursor;
        else if (edges & (Qt::LeftEdge | Qt::RightEdge))
            shape = Qt::SizeHorCursor;
        else if (edges)
            shape = Qt::SizeVerCursor;
        if (shape == Qt::ArrowCursor)
            m_form->unsetCursor();
        else if (m_form->cursor().shape() != shape)
            m_form->setCursor(shape);
        return false;
    }
    if (event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton && edges &&
        m_form->windowHandle()) {
        m_form->windowHandle()->startSystemResize(edges);
        return true;
    }
    return false;
}

void modSub_Class::paintFrame()
{
    // The frame around the caption and the window's content: the sizing
    // border, drawn in the look of the caption it belongs to.
    QPainter p(m_form);
    const QRect all = m_form->rect();
    const QPalette &pal = m_form->palette();
    const QPalette::ColorGroup group = m_isActive ? QPalette::Active : QPalette::Inactive;
    p.setPen(pal.color(group, QPalette::Shadow));
    p.drawRect(all.adjusted(0, 0, -1, -1));
    p.setPen(pal.color(group, QPalette::Light));
    p.drawRect(all.adjusted(1, 1, -2, -2));
}

} // namespace orvane::ui

#include "ui/main/captionbar.h"

#include "core/language.h"
#include "ui/main/modsubclass.h"

#include <QApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOption>
#include <QToolTip>
#include <QWhatsThis>
#include <QWindow>

namespace orvane::ui {

namespace {

QString captionText(const char *key)
{
    return core::GetText(QStringLiteral("Normal"), QString::fromLatin1(key));
}

// A button's name without its menu accelerator, for its tooltip.
QString hintOf(const char *key)
{
    return QString(captionText(key)).remove(QRegularExpression(QStringLiteral("\\(&.\\)|&")));
}

const char *keyOf(caption::ButtonKind kind)
{
    switch (kind) {
    case caption::ButtonKind::Close:
        return "capClose";
    case caption::ButtonKind::Maximise:
        return "capMaximize";
    case caption::ButtonKind::Restore:
        return "capRestore";
    case caption::ButtonKind::Minimise:
        return "capMinimize";
    case caption::ButtonKind::Help:
        return nullptr;
    }
    return nullptr;
}

} // namespace

CaptionBar::CaptionBar(modSub_Class &painter, QWidget *form)
    : QWidget(form)
    , m_painter(painter)
    , m_form(form)
{
    setObjectName(QStringLiteral("CaptionBar"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The buttons' tool tips wait for the pointer to rest on them; moves
    // are looked at, never painted.
    setMouseTracking(true);
    hide();
}

void CaptionBar::paintEvent(QPaintEvent *)
{
    // The look is drawn once into its image; showing it is a copy.
    QPainter p(this);
    p.drawImage(0, 0, m_painter.cachedImage(m_painter.isActive() ? 1 : 0));
    if (m_pressed) {
        // A held button looks pushed in until it is let go.
        QStyleOptionButton option;
        option.initFrom(this);
        option.rect = m_pressed->box.toRect().translated(-pos());
        option.state = QStyle::State_Sunken | QStyle::State_Enabled;
        p.setOpacity(0.5);
        style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &option, &p, this);
    }
}

std::optional<caption::Button> CaptionBar::buttonAt(QPoint pos) const
{
    const QPoint inWindow = pos + this->pos();
    for (const caption::Button &button : m_painter.captionButtons().buttons)
        if (button.box.contains(inWindow))
            return button;
    return std::nullopt;
}

void CaptionBar::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        showWindowMenu(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    if (const auto button = buttonAt(pos)) {
        if (!button->greyed) {
            m_pressed = button;
            update();
        }
        return;
    }
    // The move starts once the pointer leaves the spot: a click or a
    // double click stays with the caption.
    m_dragFrom = pos;
}

void CaptionBar::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragFrom || !(event->buttons() & Qt::LeftButton)) {
        event->accept(); // a caption's moves are its own, not the frame's
        return;
    }
    if ((event->position().toPoint() - *m_dragFrom).manhattanLength() <
        QApplication::startDragDistance())
        return;
    m_dragFrom.reset();
    if (QWindow *window = m_form->windowHandle())
        window->startSystemMove();
}

void CaptionBar::mouseReleaseEvent(QMouseEvent *event)
{
    m_dragFrom.reset();
    if (!m_pressed || event->button() != Qt::LeftButton)
        return;
    const caption::Button pressed = *m_pressed;
    m_pressed.reset();
    update();
    const auto under = buttonAt(event->position().toPoint());
    if (under && under->kind == pressed.kind)
        press(pressed);
}

void CaptionBar::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || buttonAt(event->position().toPoint()))
        return;
    m_dragFrom.reset();
    if (m_painter.captionStyle().maximiseBox)
        toggleMaximised();
}

bool CaptionBar::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const auto button = buttonAt(help->pos());
        const char *key = button ? keyOf(button->kind) : nullptr;
        if (key)
            QToolTip::showText(help->globalPos(), hintOf(key), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void CaptionBar::press(const caption::Button &button)
{
    switch (button.kind) {
    case caption::ButtonKind::Close:
        m_form->close();
        break;
    case caption::ButtonKind::Maximise:
    case caption::ButtonKind::Restore:
        toggleMaximised();
        break;
    case caption::ButtonKind::Minimise:
        m_form->showMinimized();
        break;
    case caption::ButtonKind::Help:
        QWhatsThis::enterWhatsThisMode();
        break;
    }
}

void CaptionBar::toggleMaximised()
{
    if (m_form->isMaximized())
        m_form->showNormal();
    else
        m_form->showMaximized();
}

void CaptionBar::showWindowMenu(QPoint globalPos)
{
    const caption::Style s = m_painter.captionStyle();
    QMenu menu(this);
    QAction *restore =
        menu.addAction(captionText("capRestore"), this, [this] { m_form->showNormal(); });
    restore->setEnabled(s.maximised || s.minimised);
    QAction *minimise = menu.addAction(captionText("capMinimize"), m_form, &QWidget::showMinimized);
    minimise->setEnabled(s.minimiseBox && !s.minimised);
    QAction *maximise = menu.addAction(captionText("capMaximize"), m_form, &QWidget::showMaximized);
    maximise->setEnabled(s.maximiseBox && !s.maximised);
    menu.addSeparator();
    QAction *close = menu.addAction(captionText("capClose"), m_form, &QWidget::close);
    close->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    menu.setDefaultAction(close);
    menu.exec(globalPos);
}

} // namespace orvane::ui

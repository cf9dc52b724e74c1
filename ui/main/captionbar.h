#pragma once

#include "ui/main/captionrules.h"

#include <QPoint>
#include <QWidget>

#include <optional>

namespace orvane::ui {

class modSub_Class;

// The widget the own caption is shown in, at the top of the frameless
// main window. It copies the painter's cached image of the current look
// and does what a caption does with the mouse: a drag moves the window,
// the buttons minimise, maximise or restore and close, a double click
// maximises and restores, a right click opens the window menu.
class CaptionBar final : public QWidget
{
    Q_OBJECT
public:
    CaptionBar(modSub_Class &painter, QWidget *form);

    // The window menu, as the right click and Alt+Space open it.
    void showWindowMenu(QPoint globalPos);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;

private:
    // The button under a point of this widget, in the caption's order.
    std::optional<caption::Button> buttonAt(QPoint pos) const;
    void press(const caption::Button &button);
    void toggleMaximised();

    modSub_Class &m_painter;
    QWidget *m_form;
    std::optional<caption::Button> m_pressed;
    std::optional<QPoint> m_dragFrom;
};

} // namespace orvane::ui

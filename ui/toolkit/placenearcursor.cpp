#include "ui/toolkit/placenearcursor.h"

#include "core/language.h"
#include "core/modmain.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace orvane::ui {

void PlaceNearCursor(QWidget *form)
{
    if (!core::modMain::MainForm || !form)
        return;
    const QPoint cursor = QCursor::pos();
    QScreen *screen = QGuiApplication::screenAt(cursor);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QPoint local = core::placeNearCursorPosition(cursor - area.topLeft(),
                                                       form->frameGeometry().size(), area.size());
    form->move(local + area.topLeft());
}

} // namespace orvane::ui

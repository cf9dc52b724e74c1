#include "ui/main/nativewindow.h"

#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

namespace orvane::ui {

void setNativeBackground(QWindow *window, const QColor &colour)
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!window || !x11 || !x11->connection())
        return;
    xcb_connection_t *connection = x11->connection();
    // A 24-bit TrueColor visual takes the colour as its pixel value.
    const uint32_t pixel = colour.rgb() & 0xFFFFFF;
    const auto id = static_cast<xcb_window_t>(window->winId());
    xcb_change_window_attributes(connection, id, XCB_CW_BACK_PIXEL, &pixel);
    xcb_clear_area(connection, 0, id, 0, 0, 0, 0);
    xcb_flush(connection);
}

} // namespace orvane::ui

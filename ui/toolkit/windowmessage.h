#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

namespace orvane::ui::toolkit {

// Message numbers as the window system of the original numbered them, so the
// rules of the dispatcher, the menus and the accelerator read the same here.
enum WindowMessage : quint32 {
    WM_DRAWITEM = 0x002B,
    WM_MEASUREITEM = 0x002C,
    WM_KEYDOWN = 0x0100,
    WM_COMMAND = 0x0111,
    WM_SYSCOMMAND = 0x0112,
    WM_INITMENUPOPUP = 0x0117,
    WM_MENUSELECT = 0x011F,
    WM_UNINITMENUPOPUP = 0x0125,
    WM_EXITMENULOOP = 0x0212,
    BM_CLICK = 0x00F5,
};

// A message for a window, delivered through the Qt event queue. Parameters
// are pointer-sized because they may carry an object (a menu, a control).
class WindowMessageEvent : public QEvent
{
public:
    WindowMessageEvent(quint32 message, qintptr wParam, qintptr lParam)
        : QEvent(eventType())
        , message(message)
        , wParam(wParam)
        , lParam(lParam)
    {}

    static QEvent::Type eventType()
    {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }

    quint32 message;
    qintptr wParam;
    qintptr lParam;
};

// Posts a message to a window; it arrives when the event loop next runs.
inline void postWindowMessage(QObject *window, quint32 message, qintptr wParam, qintptr lParam)
{
    QCoreApplication::postEvent(window, new WindowMessageEvent(message, wParam, lParam));
}

} // namespace orvane::ui::toolkit

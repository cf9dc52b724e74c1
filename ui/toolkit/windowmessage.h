#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QRect>

class QPainter;

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
    WM_NOTIFY = 0x004E,
    WM_ENTERMENULOOP = 0x0211,
};

// Owner-draw control type of a menu, and the item states of a draw request.
inline constexpr quint32 ODT_MENU = 1;
inline constexpr quint32 ODS_SELECTED = 0x0001;
inline constexpr quint32 ODS_GRAYED = 0x0002;
inline constexpr quint32 ODS_DISABLED = 0x0004;
inline constexpr quint32 ODS_CHECKED = 0x0008;
inline constexpr quint32 ODS_DEFAULT = 0x0020;
// The flags word of a WM_MENUSELECT that says the menu has closed.
inline constexpr quint32 kMenuClosedFlags = 0xFFFF;
// WM_MENUSELECT flag words for the item under the highlight.
inline constexpr quint32 MF_POPUP = 0x0010;
inline constexpr quint32 MF_SEPARATOR_FLAG = 0x0800;

// lParam of WM_MEASUREITEM: the request for an item's size. The handler
// fills itemWidth and itemHeight.
struct MeasureItemStruct {
    quint32 ctlType = ODT_MENU;
    quint32 ctlId = 0;
    qint32 itemId = 0;
    qint32 itemWidth = 0;
    qint32 itemHeight = 0;
    qintptr itemData = 0;
};

// lParam of WM_DRAWITEM: the request to paint an item into rcItem.
struct DrawItemStruct {
    quint32 ctlType = ODT_MENU;
    quint32 ctlId = 0;
    qint32 itemId = 0;
    quint32 itemAction = 1;
    quint32 itemState = 0;
    qintptr hwndItem = 0;
    QPainter *hDC = nullptr;
    QRect rcItem;
    qintptr itemData = 0;
};

// The header every WM_NOTIFY's lParam points to.
struct NotifyHeader {
    qintptr hwndFrom = 0;
    qintptr idFrom = 0;
    quint32 code = 0;
};

// The dynamic property naming a menu item's identifier on its QAction; menus
// set it, the keyboard accelerator and the dispatcher find items by it.
inline constexpr char kItemIdProperty[] = "orvaneItemId";

// A message for a window, delivered through the Qt event queue. Parameters
// are pointer-sized because they may carry an object (a menu, a control).
class WindowMessageEvent : public QEvent
{
public:
    WindowMessageEvent(quint32 messageNumber, qintptr wordParam, qintptr longParam)
        : QEvent(eventType())
        , message(messageNumber)
        , wParam(wordParam)
        , lParam(longParam)
    {}

    static QEvent::Type eventType()
    {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }

    quint32 message;
    qintptr wParam;
    qintptr lParam;
    // What the window's handlers answered; read by sendWindowMessage.
    qintptr result = 0;
};

// Posts a message to a window; it arrives when the event loop next runs.
inline void postWindowMessage(QObject *window, quint32 message, qintptr wParam, qintptr lParam)
{
    QCoreApplication::postEvent(window, new WindowMessageEvent(message, wParam, lParam));
}

// Delivers a message at once, like a call, and gives back the answer of the
// window's clients or of the window itself.
inline qintptr sendWindowMessage(QObject *window, quint32 message, qintptr wParam, qintptr lParam)
{
    if (!window)
        return 0;
    WindowMessageEvent event(message, wParam, lParam);
    QCoreApplication::sendEvent(window, &event);
    return event.result;
}

} // namespace orvane::ui::toolkit

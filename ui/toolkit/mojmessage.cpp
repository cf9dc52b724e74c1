#include "ui/toolkit/mojmessage.h"

#include "ui/toolkit/clsmessage.h"
#include "ui/toolkit/windowhandles.h"
#include "ui/toolkit/windowmessage.h"

#include <QCoreApplication>
#include <QPointer>

namespace orvane::ui::toolkit::mojMessage {

namespace {

// The filter object all dispatched windows share.
class SharedWindowProc : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != WindowMessageEvent::eventType())
            return false;
        return WindowProc(watched, *static_cast<WindowMessageEvent *>(event));
    }
};

SharedWindowProc *sharedWindowProc()
{
    static QPointer<SharedWindowProc> instance;
    if (!instance)
        instance = new SharedWindowProc(QCoreApplication::instance());
    return instance;
}

} // namespace

void installWindowProc(QObject *window)
{
    if (!window)
        return;
    // Installing twice would only move it to the front; remove first keeps one.
    window->removeEventFilter(sharedWindowProc());
    window->installEventFilter(sharedWindowProc());
}

void removeWindowProc(QObject *window)
{
    if (window)
        window->removeEventFilter(sharedWindowProc());
}

bool WindowProc(QObject *window, WindowMessageEvent &event)
{
    const qintptr handle = handleOf(window);
    clsMessage *dispatcher = clsMessage::MessageClass(handle);
    if (!dispatcher)
        return false;
    bool handled = false;
    event.result =
        dispatcher->CallBackWindow(handle, event.message, event.wParam, event.lParam, handled);
    return handled;
}

} // namespace orvane::ui::toolkit::mojMessage

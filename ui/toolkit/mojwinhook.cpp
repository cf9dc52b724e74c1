#include "ui/toolkit/mojwinhook.h"

#include "ui/toolkit/virtualkeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QList>
#include <QPointer>
#include <QWidget>

#include <array>

namespace orvane::ui::toolkit::mojWinHook {
namespace {

constexpr int kFirstType = WH_MSGFILTER;
constexpr int kLastType = WH_CALLWNDPROCRET;

struct HookEntry {
    bool installed = false;
    QList<clsWindowsHook *> clients;
};

std::array<HookEntry, kLastType - kFirstType + 1> &hooks()
{
    static std::array<HookEntry, kLastType - kFirstType + 1> table;
    return table;
}

HookEntry *entryFor(int type)
{
    if (type < kFirstType || type > kLastType)
        return nullptr;
    return &hooks()[static_cast<size_t>(type - kFirstType)];
}

const QKeyEvent *g_currentKey = nullptr;

// Application filters see a key event at every widget it is offered to: the
// window, the focus widget, then each parent while it is ignored. The hook
// takes it once, where the program first sees it, at the focus widget (or the
// window itself when nothing has the focus).
bool isFirstWidgetReceiver(QObject *receiver)
{
    if (!receiver->isWidgetType())
        return false;
    QWidget *focus = QApplication::focusWidget();
    if (focus)
        return receiver == focus;
    return static_cast<QWidget *>(receiver)->isWindow();
}

class KeyboardFilter final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *receiver, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
            return false;
        if (!isFirstWidgetReceiver(receiver))
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        const quint16 vk = virtualKeyFromQt(key->key(), key->modifiers());
        if (vk == 0)
            return false;
        qintptr lParam = 1; // repeat count
        if (type == QEvent::KeyRelease)
            lParam |= kKeyUpFlag | kKeyWasDownFlag;
        else if (key->isAutoRepeat())
            lParam |= kKeyWasDownFlag;
        if (key->modifiers() & Qt::AltModifier)
            lParam |= kAltDownFlag;

        const QKeyEvent *outer = g_currentKey;
        g_currentKey = key;
        const qintptr result = Dispatch(WH_KEYBOARD, 0, vk, lParam);
        g_currentKey = outer;
        if (result == 0)
            return false;
        key->accept();
        return true;
    }
};

// Created once and kept: the filter may be removed by a client while it is
// running its own eventFilter(), so it must outlive that call.
QPointer<KeyboardFilter> &keyboardFilter()
{
    static QPointer<KeyboardFilter> filter;
    return filter;
}

void installKeyboardFilter()
{
    auto *app = QCoreApplication::instance();
    if (!app)
        return;
    auto &filter = keyboardFilter();
    if (!filter)
        filter = new KeyboardFilter(app);
    app->installEventFilter(filter);
}

void removeKeyboardFilter()
{
    auto *app = QCoreApplication::instance();
    if (app && keyboardFilter())
        app->removeEventFilter(keyboardFilter());
}

} // namespace

void AddHook(int type, clsWindowsHook *client)
{
    HookEntry *entry = entryFor(type);
    if (!entry || !client)
        return;
    if (!entry->clients.contains(client))
        entry->clients.append(client);
    if (entry->installed)
        return;
    // Only the keyboard has a stand-in; type 8 never had a procedure.
    if (type == WH_KEYBOARD) {
        installKeyboardFilter();
        entry->installed = true;
    }
}

void RemoveHook(int type, clsWindowsHook *client)
{
    HookEntry *entry = entryFor(type);
    if (!entry)
        return;
    entry->clients.removeOne(client);
    if (!entry->clients.isEmpty() || !entry->installed)
        return;
    if (type == WH_KEYBOARD)
        removeKeyboardFilter();
    entry->installed = false;
}

quintptr HookHandle(int type)
{
    const HookEntry *entry = entryFor(type);
    return entry && entry->installed ? quintptr(type - kFirstType + 1) : 0;
}

int ClientCount(int type)
{
    const HookEntry *entry = entryFor(type);
    return entry ? static_cast<int>(entry->clients.size()) : 0;
}

qintptr Dispatch(int type, int nCode, qintptr wParam, qintptr lParam)
{
    const HookEntry *entry = entryFor(type);
    if (!entry)
        return 0;
    // A client may add or remove clients (itself included) while it runs;
    // walk a snapshot and skip whoever is gone by the time their turn comes.
    const QList<clsWindowsHook *> snapshot = entry->clients;
    bool callNext = true;
    for (clsWindowsHook *client : snapshot) {
        if (!entry->clients.contains(client))
            continue;
        client->HookProc(type, nCode, wParam, lParam, callNext);
        if (!callNext)
            return 1;
    }
    return 0;
}

const QKeyEvent *CurrentKeyEvent()
{
    return g_currentKey;
}

} // namespace orvane::ui::toolkit::mojWinHook

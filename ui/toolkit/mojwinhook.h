#pragma once

#include <QtGlobal>

class QKeyEvent;

namespace orvane::ui::toolkit {

// Hook types, numbered as the window system numbered them.
enum HookType : int {
    WH_MSGFILTER = -1,
    WH_KEYBOARD = 2,
    WH_HARDWARE = 8,
    WH_CALLWNDPROCRET = 12,
};

// Bits of a keyboard hook's lParam: the key is going up, was already down
// (auto-repeat, and every key-up), Alt is held.
inline constexpr qintptr kKeyUpFlag = qintptr(1) << 31;
inline constexpr qintptr kKeyWasDownFlag = qintptr(1) << 30;
inline constexpr qintptr kAltDownFlag = qintptr(1) << 29;

// An object that wants the calls of one hook type. Clearing callNext stops
// the call from reaching later clients and the program (the key is eaten).
class clsWindowsHook
{
public:
    virtual ~clsWindowsHook() = default;
    virtual qint32 HookProc(int type, int nCode, qintptr &wParam, qintptr &lParam, bool &callNext)
    {
        Q_UNUSED(type)
        Q_UNUSED(nCode)
        Q_UNUSED(wParam)
        Q_UNUSED(lParam)
        Q_UNUSED(callNext)
        return 0;
    }
};

// One hook per type with its clients, registered without ownership. Only the
// keyboard type watches anything: an application-wide event filter that is
// installed exactly while a client is registered for WH_KEYBOARD, and calls
// the clients with wParam = the key's virtual-key code and lParam = the
// flags above, once per key event. The other types keep their lists only.
namespace mojWinHook {

// Nothing for a type outside -1..12; a client already registered keeps its
// place.
void AddHook(int type, clsWindowsHook *client);
void RemoveHook(int type, clsWindowsHook *client);

// Non-zero while the type's hook is installed.
quintptr HookHandle(int type);
int ClientCount(int type);

// Calls the type's clients in order until one clears callNext; 1 when one
// did, else 0 (no further hook in the chain). Clients removed during the
// call are not called any more.
qintptr Dispatch(int type, int nCode, qintptr wParam, qintptr lParam);

// The key event being handed to the keyboard clients, null outside such a
// call: the clients read the modifiers held with the key from it.
const QKeyEvent *CurrentKeyEvent();

} // namespace mojWinHook

} // namespace orvane::ui::toolkit

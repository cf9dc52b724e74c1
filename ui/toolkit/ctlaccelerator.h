#pragma once

#include "ui/toolkit/mojwinhook.h"
#include "ui/toolkit/windowmessage.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantList>

class QAction;
class QWidget;

namespace orvane::ui::toolkit {

// What a binding does when its key goes down.
enum AccelType : int {
    AccelRaiseEvent = 0,   // AccelKey signal
    AccelClickWindow = 1,  // focus and click a widget
    AccelMenuPath = 2,     // menu item found by positions from the menu bar
    AccelMenuItem = 3,     // menu item given by menu and item id
    AccelSystemCommand = 4 // item of the form's window menu
};

// Modifier mask of a binding.
enum AccelShift : int { AccelShiftKey = 1, AccelCtrl = 2, AccelAlt = 4 };

// The int id of a command's QAction, what WM_COMMAND carries.
// kItemIdProperty comes from ui/toolkit/windowmessage.h.
// A QMenu* on the form: its window (system) menu, for AccelSystemCommand.
inline constexpr char kWindowMenuProperty[] = "orvaneWindowMenu";

struct AccelEntry {
    int AccelType = AccelRaiseEvent;
    int Shift = 0;
    quint16 Keycode = 0;
    // The widget (1), the menu searched for TargetItem (2, 3), the window menu (4).
    QPointer<QWidget> Target;
    // Item id (2, 3), system command (4).
    int TargetItem = 0;
    // The item's key text before this binding wrote its own (2, 4).
    QString OldAccessText;
    QString Key;
    // Whether this binding wrote a key text, so Remove only restores what it changed.
    bool WroteAccessText = false;
};

// Binds key combinations of a form to actions, whatever control of the form
// has the focus. Bindings act on key-down (auto-repeat included) and only
// while the form's window is the active window; a binding that acts eats
// the key, one whose target is disabled lets it go on to the focused control.
//
// Each binding is also a dynamic property of the form's window, "zxaccel" +
// shift + keycode holding its 1-based number in Keys(), so a combination is
// bound once per window.
class ctlAccelerator : public QObject, public clsWindowsHook
{
    Q_OBJECT

public:
    // Sits on the form as a child; the form's window is looked up on first use.
    explicit ctlAccelerator(QWidget *form);
    ~ctlAccelerator() override;

    // Information box; its first line is "ctlAccelerator Control Ver1.0".
    void AboutBox();
    // The keyboard handling (WH_KEYBOARD only).
    qint32 HookProc(int type, int nCode, qintptr &wParam, qintptr &lParam, bool &callNext) override;
    // The binding's key code or shift mask, 0 when no binding has that key.
    quint16 Keycode(const QString &key) const;
    int Shift(const QString &key) const;
    // False when no binding has that key. Writes back the menu text a type 2
    // or 4 binding replaced and renumbers the later bindings.
    bool Remove(const QString &key);
    // False for a key already used, keycode 0 (or beyond 16 bits), a bound
    // combination, or values that do not fit the type:
    //   1: one widget (a QVariant holding a QObject*, or its address as a number)
    //   2: a key text, then one or more 0-based positions from the form's menu
    //      bar down to an item that carries kItemIdProperty
    //   3: a menu (as for 1) and an item id
    //   4: a system command and optionally a key text; needs kWindowMenuProperty
    //   0 and others: values are not looked at.
    // A key text is written behind the item's caption after a tab.
    bool Add(const QString &key, int shift, int keycode, int type, const QVariantList &values = {});

    const QList<AccelEntry> &Keys() const { return m_keys; }
    QWidget *FormWindow() const;

    // "zxaccel" + shift + keycode.
    static QByteArray propertyName(int shift, int keycode);
    // 1 Shift, 2 Ctrl, 4 Alt.
    static int shiftMask(Qt::KeyboardModifiers modifiers);

Q_SIGNALS:
    // Type 0 bindings. Set *letGoOn to pass the key on to the focused control;
    // connect directly, the flag lives only during the emission.
    void AccelKey(const QString &key, int shift, int keycode, bool *letGoOn);

private:
    int indexOf(const QString &key) const;
    bool fire(int index);
    void setNumber(const AccelEntry &entry, int number);

    QPointer<QWidget> m_form;
    mutable QPointer<QWidget> m_formWindow;
    QList<AccelEntry> m_keys;
    bool m_inHook = false;
};

} // namespace orvane::ui::toolkit

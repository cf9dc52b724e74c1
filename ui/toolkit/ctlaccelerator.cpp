#include "ui/toolkit/ctlaccelerator.h"

#include "core/messagebox.h"
#include "ui/toolkit/windowmessage.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#include <climits>

namespace orvane::ui::toolkit {
namespace {

// Menus nest a few levels; the bound keeps a menu that contains itself from
// looping the search.
constexpr int kMaxMenuDepth = 16;

bool numericValue(const QVariant &value, qint64 *number)
{
    bool ok = false;
    switch (value.metaType().id()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        *number = value.toLongLong(&ok);
        return ok;
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = value.toDouble(&ok);
        if (!ok || d < -9.0e18 || d > 9.0e18)
            return false;
        *number = qRound64(d);
        return true;
    }
    case QMetaType::QString:
        *number = value.toString().trimmed().toLongLong(&ok);
        return ok;
    default:
        return false;
    }
}

bool intValue(const QVariant &value, int *number)
{
    qint64 wide = 0;
    if (!numericValue(value, &wide) || wide < INT_MIN || wide > INT_MAX)
        return false;
    *number = static_cast<int>(wide);
    return true;
}

// A widget given as an object or as its address. An address is only
// compared with the widgets that exist, never followed, so a stale or made-up
// number is refused instead of crashing.
QWidget *widgetFromValue(const QVariant &value)
{
    if (value.metaType().flags() & QMetaType::PointerToQObject)
        return qobject_cast<QWidget *>(value.value<QObject *>());
    qint64 address = 0;
    if (!numericValue(value, &address) || address == 0)
        return nullptr;
    const QWidgetList widgets = QApplication::allWidgets();
    for (QWidget *widget : widgets) {
        if (static_cast<qint64>(reinterpret_cast<quintptr>(widget)) == address)
            return widget;
    }
    return nullptr;
}

bool isMenu(const QWidget *widget)
{
    return qobject_cast<const QMenu *>(widget) || qobject_cast<const QMenuBar *>(widget);
}

bool itemIdOf(const QAction *action, int *id)
{
    const QVariant value = action->property(kItemIdProperty);
    return value.isValid() && intValue(value, id);
}

// The item with that id in the menu or any of its submenus.
QAction *findItem(const QWidget *menu, int id, int depth = 0)
{
    if (!menu || depth > kMaxMenuDepth)
        return nullptr;
    const QList<QAction *> actions = menu->actions();
    for (QAction *action : actions) {
        int itemId = 0;
        if (itemIdOf(action, &itemId) && itemId == id)
            return action;
    }
    for (QAction *action : actions) {
        if (QAction *found = findItem(action->menu(), id, depth + 1))
            return found;
    }
    return nullptr;
}

QMenuBar *menuBarOf(QWidget *form)
{
    // QMainWindow::menuBar() would create an empty bar; only look.
    if (auto *main = qobject_cast<QMainWindow *>(form))
        if (auto *bar = qobject_cast<QMenuBar *>(main->menuWidget()))
            return bar;
    if (auto *bar = form->findChild<QMenuBar *>(QString(), Qt::FindDirectChildrenOnly))
        return bar;
    return form->findChild<QMenuBar *>();
}

QMenu *windowMenuOf(const QWidget *form)
{
    const QVariant value = form->property(kWindowMenuProperty);
    if (!(value.metaType().flags() & QMetaType::PointerToQObject))
        return nullptr;
    return qobject_cast<QMenu *>(value.value<QObject *>());
}

// Puts the key text behind the item's caption, after a tab, and returns the
// key text it had.
QString writeAccessText(QAction *item, const QString &accessText)
{
    const QString text = item->text();
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    const QString caption = tab < 0 ? text : text.left(tab);
    const QString old = tab < 0 ? QString() : text.mid(tab + 1);
    item->setText(accessText.isEmpty() ? caption : caption + QLatin1Char('\t') + accessText);
    return old;
}

// The item a menu-path binding names: positions from the menu bar, each
// going on into the item's submenu when it has one.
bool resolveMenuPath(QWidget *form, const QVariantList &positions, AccelEntry *entry,
                     QAction **item)
{
    QWidget *menu = menuBarOf(form);
    if (!menu)
        return false;
    QWidget *containing = menu;
    QAction *action = nullptr;
    for (const QVariant &position : positions) {
        int index = 0;
        const QList<QAction *> actions = menu->actions();
        if (!intValue(position, &index) || index < 0 || index >= actions.size())
            return false;
        containing = menu;
        action = actions.at(index);
        if (action->menu())
            menu = action->menu();
    }
    int id = 0;
    if (!action || !itemIdOf(action, &id))
        return false;
    entry->Target = containing;
    entry->TargetItem = id;
    *item = action;
    return true;
}

} // namespace

ctlAccelerator::ctlAccelerator(QWidget *form)
    : QObject(form)
    , m_form(form)
{}

ctlAccelerator::~ctlAccelerator()
{
    mojWinHook::RemoveHook(WH_KEYBOARD, this);
    if (QWidget *form = m_formWindow) {
        for (const AccelEntry &entry : std::as_const(m_keys))
            form->setProperty(propertyName(entry.Shift, entry.Keycode).constData(), QVariant());
    }
    m_keys.clear();
}

QWidget *ctlAccelerator::FormWindow() const
{
    if (!m_formWindow && m_form)
        m_formWindow = m_form->window();
    return m_formWindow;
}

QByteArray ctlAccelerator::propertyName(int shift, int keycode)
{
    return QByteArrayLiteral("zxaccel") + QByteArray::number(shift) + QByteArray::number(keycode);
}

int ctlAccelerator::shiftMask(Qt::KeyboardModifiers modifiers)
{
    int shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= AccelShiftKey;
    if (modifiers & Qt::ControlModifier)
        shift |= AccelCtrl;
    if (modifiers & Qt::AltModifier)
        shift |= AccelAlt;
    return shift;
}

void ctlAccelerator::AboutBox()
{
    core::messageBox().show(QStringLiteral("ctlAccelerator Control Ver1.0\n"
                                           "Binds keys to menu items, buttons and events."),
                            core::kApplicationTitle, core::MessageIcon::Information,
                            core::MessageButtons::Ok);
}

int ctlAccelerator::indexOf(const QString &key) const
{
    for (qsizetype i = 0; i < m_keys.size(); ++i) {
        if (m_keys.at(i).Key == key)
            return static_cast<int>(i);
    }
    return -1;
}

quint16 ctlAccelerator::Keycode(const QString &key) const
{
    const int index = indexOf(key);
    return index < 0 ? 0 : m_keys.at(index).Keycode;
}

int ctlAccelerator::Shift(const QString &key) const
{
    const int index = indexOf(key);
    return index < 0 ? 0 : m_keys.at(index).Shift;
}

void ctlAccelerator::setNumber(const AccelEntry &entry, int number)
{
    if (QWidget *form = FormWindow())
        form->setProperty(propertyName(entry.Shift, entry.Keycode).constData(), number);
}

bool ctlAccelerator::Add(const QString &key, int shift, int keycode, int type,
                         const QVariantList &values)
{
    QWidget *form = FormWindow();
    if (!form || indexOf(key) >= 0 || keycode <= 0 || keycode > 0xFFFF)
        return false;
    if (form->property(propertyName(shift, keycode).constData()).isValid())
        return false;

    AccelEntry entry;
    entry.AccelType = type;
    entry.Shift = shift;
    entry.Keycode = static_cast<quint16>(keycode);
    entry.Key = key;
    QAction *textItem = nullptr;
    QString accessText;
    switch (type) {
    case AccelClickWindow:
        if (values.size() != 1 || !(entry.Target = widgetFromValue(values.at(0))))
            return false;
        break;
    case AccelMenuPath:
        if (values.size() < 2 || !resolveMenuPath(form, values.mid(1), &entry, &textItem))
            return false;
        accessText = values.at(0).toString();
        break;
    case AccelMenuItem: {
        if (values.size() != 2)
            return false;
        QWidget *menu = widgetFromValue(values.at(0));
        if (!isMenu(menu) || !intValue(values.at(1), &entry.TargetItem))
            return false;
        entry.Target = menu;
        break;
    }
    case AccelSystemCommand: {
        QMenu *windowMenu = windowMenuOf(form);
        if (values.isEmpty() || values.size() > 2 || !windowMenu ||
            !intValue(values.at(0), &entry.TargetItem))
            return false;
        entry.Target = windowMenu;
        if (values.size() == 2) {
            textItem = findItem(windowMenu, entry.TargetItem);
            accessText = values.at(1).toString();
        }
        break;
    }
    default:
        break;
    }
    if (textItem) {
        entry.OldAccessText = writeAccessText(textItem, accessText);
        entry.WroteAccessText = true;
    }

    m_keys.append(entry);
    setNumber(entry, static_cast<int>(m_keys.size()));
    if (m_keys.size() == 1)
        mojWinHook::AddHook(WH_KEYBOARD, this);
    return true;
}

bool ctlAccelerator::Remove(const QString &key)
{
    const int index = indexOf(key);
    if (index < 0)
        return false;
    const AccelEntry entry = m_keys.takeAt(index);
    if (QWidget *form = FormWindow())
        form->setProperty(propertyName(entry.Shift, entry.Keycode).constData(), QVariant());
    if (entry.WroteAccessText) {
        if (QAction *item = findItem(entry.Target, entry.TargetItem))
            writeAccessText(item, entry.OldAccessText);
    }
    for (qsizetype i = index; i < m_keys.size(); ++i)
        setNumber(m_keys.at(i), static_cast<int>(i + 1));
    if (m_keys.isEmpty())
        mojWinHook::RemoveHook(WH_KEYBOARD, this);
    return true;
}

qint32 ctlAccelerator::HookProc(int type, int nCode, qintptr &wParam, qintptr &lParam,
                                bool &callNext)
{
    Q_UNUSED(nCode)
    if (type != WH_KEYBOARD || m_inHook)
        return 0;
    QWidget *form = FormWindow();
    if (!form || QApplication::activeWindow() != form || (lParam & kKeyUpFlag))
        return 0;
    const QKeyEvent *event = mojWinHook::CurrentKeyEvent();
    const int shift =
        shiftMask(event ? event->modifiers() : QGuiApplication::queryKeyboardModifiers());
    const int keycode = static_cast<int>(wParam & 0xFFFF);
    bool ok = false;
    const int number = form->property(propertyName(shift, keycode).constData()).toInt(&ok);
    if (!ok || number < 1 || number > m_keys.size())
        return 0;

    m_inHook = true;
    const QPointer<ctlAccelerator> self(this);
    const bool acted = fire(number - 1);
    callNext = !acted;
    if (self)
        m_inHook = false;
    return 0;
}

bool ctlAccelerator::fire(int index)
{
    // A copy: an AccelKey handler may remove bindings or delete this control.
    const AccelEntry entry = m_keys.at(index);
    QWidget *form = FormWindow();
    switch (entry.AccelType) {
    case AccelRaiseEvent: {
        bool letGoOn = false;
        Q_EMIT AccelKey(entry.Key, entry.Shift, entry.Keycode, &letGoOn);
        return !letGoOn;
    }
    case AccelClickWindow: {
        QWidget *target = entry.Target;
        if (!target || !target->isEnabled())
            return false;
        target->setFocus(Qt::ShortcutFocusReason);
        if (auto *button = qobject_cast<QAbstractButton *>(target))
            QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
        else
            postWindowMessage(target, BM_CLICK, 0, 0);
        return true;
    }
    case AccelMenuPath:
    case AccelMenuItem:
    case AccelSystemCommand: {
        const QAction *item = findItem(entry.Target, entry.TargetItem);
        if (!item || !item->isEnabled() || !form)
            return false;
        if (entry.AccelType == AccelSystemCommand)
            postWindowMessage(form, WM_SYSCOMMAND, entry.TargetItem, 0);
        else
            postWindowMessage(form, WM_COMMAND, entry.TargetItem & 0xFFFF, 0);
        return true;
    }
    default:
        return false;
    }
}

} // namespace orvane::ui::toolkit

// clsActiveMenu's per-item members: state bits, texts, icons, fonts,
// pictures and the item rectangles.
#include "ui/toolkit/clsactivemenu.h"

#include "ui/toolkit/menuwidgets.h"
#include "ui/toolkit/windowhandles.h"
#include "ui/toolkit/windowmessage.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace orvane::ui::toolkit {

namespace {

constexpr QChar kTab = QLatin1Char('\t');

int idOf(const QAction *action)
{
    return action->property(kItemIdProperty).toInt();
}

// Makes the menu lay the item out again after a change it cannot see.
void relayout(QAction *action)
{
    const bool visible = action->isIconVisibleInMenu();
    action->setIconVisibleInMenu(!visible);
    action->setIconVisibleInMenu(visible);
}

} // namespace

void clsActiveMenu::setState(QAction *action, int state)
{
    action->setProperty(kItemStateProperty, state);
    // Qt's own idea of the item follows, so that the accelerator and Qt's
    // keyboard handling see an unavailable item as such.
    action->setEnabled(!(state & (MFS_GRAYED | MFS_DISABLED)));
    if (QMenu *popup = menu()) {
        if (state & MFS_DEFAULT)
            popup->setDefaultAction(action);
        else if (popup->defaultAction() == action)
            popup->setDefaultAction(nullptr);
    }
    if (m_menu)
        m_menu->update();
}

int clsActiveMenu::stateOf(int item, int flag) const
{
    QAction *action = itemAction(item, flag);
    return action ? action->property(kItemStateProperty).toInt() : 0;
}

bool clsActiveMenu::changeState(int item, int flag, int bit, bool value)
{
    QAction *action = itemAction(item, flag);
    if (!action)
        return false;
    const int state = action->property(kItemStateProperty).toInt();
    setState(action, value ? state | bit : state & ~bit);
    return true;
}

bool clsActiveMenu::pItemChecked(int item, int flag) const
{
    return stateOf(item, flag) & MFS_CHECKED;
}

bool clsActiveMenu::setPItemChecked(int item, int flag, bool value)
{
    return changeState(item, flag, MFS_CHECKED, value);
}

bool clsActiveMenu::pItemDefault(int item, int flag) const
{
    return stateOf(item, flag) & MFS_DEFAULT;
}

bool clsActiveMenu::setPItemDefault(int item, int flag, bool value)
{
    return changeState(item, flag, MFS_DEFAULT, value);
}

bool clsActiveMenu::pItemHilite(int item, int flag) const
{
    QAction *action = itemAction(item, flag);
    if (!action)
        return false;
    if (QMenu *popup = menu())
        return popup->activeAction() == action;
    if (QMenuBar *bar = menuBar())
        return bar->activeAction() == action;
    return false;
}

bool clsActiveMenu::setPItemHilite(int item, int flag, bool value)
{
    QAction *action = itemAction(item, flag);
    if (!action)
        return false;
    const bool active = pItemHilite(item, flag);
    QAction *target = value ? action : (active ? nullptr : action);
    if (!value && !active)
        return true;
    if (QMenu *popup = menu())
        popup->setActiveAction(target);
    else if (QMenuBar *bar = menuBar())
        bar->setActiveAction(target);
    return true;
}

int clsActiveMenu::pItemEnabled(int item, int flag) const
{
    QAction *action = itemAction(item, flag);
    if (!action)
        return 0;
    const int state = action->property(kItemStateProperty).toInt();
    if (state & MFS_DISABLED)
        return kItemDisabled;
    if (state & MFS_GRAYED) {
        const MenuItemRecord *entry = record(idOf(action));
        return entry && entry->disabledLook ? kItemGrayedEmbossed : kItemGrayed;
    }
    return kItemEnabled;
}

bool clsActiveMenu::setPItemEnabled(int item, int flag, int value)
{
    QAction *action = itemAction(item, flag);
    if (!action)
        return false;
    int state = action->property(kItemStateProperty).toInt();
    if (state & MFS_DISABLED)
        state &= ~MFS_DISABLED;
    else if (state & MFS_GRAYED)
        state &= ~MFS_GRAYED;
    MenuItemRecord *entry = record(idOf(action));
    if (value == kItemGrayedEmbossed) {
        state |= MFS_GRAYED;
        if (entry)
            entry->disabledLook = true;
    } else {
        if (entry)
            entry->disabledLook = false;
        // Only the two availability bits: a stray value must not check the
        // item or make it the default.
        state |= value & (MFS_GRAYED | MFS_DISABLED);
    }
    setState(action, state);
    return true;
}

bool clsActiveMenu::mRadioCheckGroup(int first, int last, int check, int flags)
{
    const bool byPosition = flags & MF_BYPOSITION;
    const int from = byPosition ? first : pItemIndex(first);
    const int to = byPosition ? last : pItemIndex(last);
    const int checked = byPosition ? check : pItemIndex(check);
    const QList<QAction *> all = actions();
    if (from < 0 || to < from || to >= all.size() || checked < from || checked > to)
        return false;
    for (int position = from; position <= to; ++position) {
        QAction *action = all.at(position);
        const int type = action->property(kItemTypeProperty).toInt();
        const int state = action->property(kItemStateProperty).toInt();
        const bool on = position == checked;
        action->setProperty(kItemTypeProperty, on ? type | MFT_RADIOCHECK : type & ~MFT_RADIOCHECK);
        setState(action, on ? state | MFS_CHECKED : state & ~MFS_CHECKED);
    }
    return true;
}

int clsActiveMenu::pItemIcon(int item, int flag) const
{
    QAction *action = itemAction(item, flag);
    const MenuItemRecord *entry = action ? record(idOf(action)) : nullptr;
    return entry ? entry->imageIndex : 0;
}

bool clsActiveMenu::setPItemIcon(int item, int flag, int imageIndex)
{
    QAction *action = itemAction(item, flag);
    MenuItemRecord *entry = action ? record(idOf(action)) : nullptr;
    if (!entry)
        return false;
    entry->imageIndex = imageIndex;
    relayout(action);
    return true;
}

QFont clsActiveMenu::pItemFont(int item, int flag) const
{
    QAction *action = itemAction(item, flag);
    const MenuItemRecord *entry = action ? record(idOf(action)) : nullptr;
    return entry ? entry->font : QFont();
}

bool clsActiveMenu::setPItemFont(int item, int flag, const QFont &font)
{
    QAction *action = itemAction(item, flag);
    MenuItemRecord *entry = action ? record(idOf(action)) : nullptr;
    if (!entry)
        return false;
    entry->font = font;
    relayout(action);
    return true;
}

qintptr clsActiveMenu::pItemDropDownMenu(int item, int flag) const
{
    QAction *action = itemAction(item, flag);
    return action && action->menu() ? handleOf(action->menu()) : 0;
}

bool clsActiveMenu::setPItemDropDownMenu(int item, int flag, qintptr menuHandle)
{
    QAction *action = itemAction(item, flag);
    if (!action)
        return false;
    auto *dropDown = qobject_cast<QMenu *>(objectOfHandle(menuHandle));
    if (menuHandle != 0 && !dropDown)
        return false;
    action->setMenu(dropDown);
    return true;
}

int clsActiveMenu::pItemType(int item, int flag) const
{
    QAction *action = itemAction(item, flag);
    if (!action)
        return -1;
    return action->property(kItemTypeProperty).toInt() & ~(MFT_OWNERDRAW | MFT_RADIOCHECK);
}

QString clsActiveMenu::pItemCaption(int item, int flag) const
{
    QAction *action = itemAction(item, flag);
    if (!action)
        return {};
    const QString text = action->text();
    const qsizetype tab = text.indexOf(kTab);
    return tab < 0 ? text : text.left(tab);
}

QString clsActiveMenu::pItemAccessCaption(int item, int flag) const
{
    QAction *action = itemAction(item, flag);
    if (!action)
        return {};
    const QString text = action->text();
    const qsizetype tab = text.indexOf(kTab);
    return tab < 0 ? QString() : text.mid(tab + 1);
}

bool clsActiveMenu::setPItemCaption(int item, int flag, const QString &caption)
{
    QAction *action = itemAction(item, flag);
    if (!action)
        return false;
    const QString access = pItemAccessCaption(item, flag);
    action->setText(access.isEmpty() ? caption : caption + kTab + access);
    return true;
}

bool clsActiveMenu::setPItemAccessCaption(int item, int flag, const QString &accessCaption)
{
    QAction *action = itemAction(item, flag);
    if (!action)
        return false;
    const QString caption = pItemCaption(item, flag);
    action->setText(accessCaption.isEmpty() ? caption : caption + kTab + accessCaption);
    return true;
}

QPixmap clsActiveMenu::pItemPicture(int item, int flag) const
{
    QAction *action = itemAction(item, flag);
    if (!action || !(action->property(kItemTypeProperty).toInt() & MFT_BITMAP))
        return {};
    return action->property(kItemPictureProperty).value<QPixmap>();
}

bool clsActiveMenu::setPItemPicture(int item, int flag, const QPixmap &picture)
{
    QAction *action = itemAction(item, flag);
    if (!action || !(action->property(kItemTypeProperty).toInt() & MFT_BITMAP))
        return false;
    action->setProperty(kItemPictureProperty, picture);
    relayout(action);
    return true;
}

QRect clsActiveMenu::itemRect(int item, int flag) const
{
    QAction *action = itemAction(item, flag);
    if (!action)
        return {};
    QRect local;
    if (QMenu *popup = menu())
        local = popup->actionGeometry(action);
    else if (QMenuBar *bar = menuBar())
        local = bar->actionGeometry(action);
    if (!local.isValid())
        return {};
    return QRect(m_menu->mapToGlobal(local.topLeft()), local.size());
}

int clsActiveMenu::pItemLeft(int item, int flag) const
{
    return itemRect(item, flag).left();
}

int clsActiveMenu::pItemTop(int item, int flag) const
{
    return itemRect(item, flag).top();
}

int clsActiveMenu::pItemWidth(int item, int flag) const
{
    return itemRect(item, flag).width();
}

int clsActiveMenu::pItemHeight(int item, int flag) const
{
    return itemRect(item, flag).height();
}

} // namespace orvane::ui::toolkit

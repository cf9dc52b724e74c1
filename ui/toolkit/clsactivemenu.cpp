#include "ui/toolkit/clsactivemenu.h"

#include <QMenu>
#include <QMenuBar>

namespace orvane::ui::toolkit {

clsActiveMenu::clsActiveMenu(QObject *parent)
    : QObject(parent)
{}

clsActiveMenu::~clsActiveMenu() = default;

qintptr clsActiveMenu::CallBackWindow(qintptr &, quint32 &, qintptr &, qintptr &, bool &)
{
    return 0;
}
void clsActiveMenu::pImageList(const QList<QIcon> &images, QSize iconSize)
{
    m_images = images;
    m_imageSize = iconSize;
}
qintptr clsActiveMenu::phMenu() const
{
    return 0;
}
QMenu *clsActiveMenu::menu() const
{
    return nullptr;
}
QMenuBar *clsActiveMenu::menuBar() const
{
    return nullptr;
}
int clsActiveMenu::pItemCount() const
{
    return 0;
}
int clsActiveMenu::pItemIndex(int) const
{
    return -1;
}
int clsActiveMenu::pItemKey(int) const
{
    return -1;
}
bool clsActiveMenu::mPopUpMenuEx(int, int, int, QWidget *)
{
    return false;
}
int clsActiveMenu::pItemLeft(int, int) const
{
    return 0;
}
int clsActiveMenu::pItemTop(int, int) const
{
    return 0;
}
int clsActiveMenu::pItemWidth(int, int) const
{
    return 0;
}
int clsActiveMenu::pItemHeight(int, int) const
{
    return 0;
}
bool clsActiveMenu::pItemHilite(int, int) const
{
    return false;
}
bool clsActiveMenu::setPItemHilite(int, int, bool)
{
    return false;
}
bool clsActiveMenu::pItemDefault(int, int) const
{
    return false;
}
bool clsActiveMenu::setPItemDefault(int, int, bool)
{
    return false;
}
bool clsActiveMenu::mRadioCheckGroup(int, int, int, int)
{
    return false;
}
int clsActiveMenu::pItemIcon(int, int) const
{
    return 0;
}
bool clsActiveMenu::setPItemIcon(int, int, int)
{
    return false;
}
int clsActiveMenu::pItemEnabled(int, int) const
{
    return 0;
}
bool clsActiveMenu::setPItemEnabled(int, int, int)
{
    return false;
}
bool clsActiveMenu::pItemChecked(int, int) const
{
    return false;
}
bool clsActiveMenu::setPItemChecked(int, int, bool)
{
    return false;
}
qintptr clsActiveMenu::pItemDropDownMenu(int, int) const
{
    return 0;
}
bool clsActiveMenu::setPItemDropDownMenu(int, int, qintptr)
{
    return false;
}
int clsActiveMenu::pItemType(int, int) const
{
    return -1;
}
QString clsActiveMenu::pItemCaption(int, int) const
{
    return {};
}
bool clsActiveMenu::setPItemCaption(int, int, const QString &)
{
    return false;
}
QString clsActiveMenu::pItemAccessCaption(int, int) const
{
    return {};
}
bool clsActiveMenu::setPItemAccessCaption(int, int, const QString &)
{
    return false;
}
QFont clsActiveMenu::pItemFont(int, int) const
{
    return {};
}
bool clsActiveMenu::setPItemFont(int, int, const QFont &)
{
    return false;
}
void clsActiveMenu::mClearItem()
{}
QPixmap clsActiveMenu::pItemPicture(int, int) const
{
    return {};
}
bool clsActiveMenu::setPItemPicture(int, int, const QPixmap &)
{
    return false;
}
bool clsActiveMenu::mRemoveItem(int, int)
{
    return false;
}
bool clsActiveMenu::mAddItem(int, int, const QString &, const QString &, const QPixmap &, int, int,
                             qintptr)
{
    return false;
}
int clsActiveMenu::pStyle() const
{
    return m_style;
}
void clsActiveMenu::setPStyle(int style)
{
    m_style = style;
}
bool clsActiveMenu::mCreate(QWidget *, int)
{
    return false;
}
QAction *clsActiveMenu::itemAction(int, int) const
{
    return nullptr;
}
clsActiveMenu *clsActiveMenu::fromHandle(qintptr)
{
    return nullptr;
}
QWidget *clsActiveMenu::ownerWindow() const
{
    return m_ownerWindow;
}
QSize clsActiveMenu::iconColumnSize() const
{
    return {16, 16};
}

} // namespace orvane::ui::toolkit

#pragma once

#include "ui/toolkit/clsmessage.h"
#include "ui/toolkit/windowmessage.h"

#include <QFont>
#include <QIcon>
#include <QList>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace orvane::ui::toolkit {

struct MeasureItemStruct;
struct DrawItemStruct;

// How a per-item member reads its item argument.
inline constexpr int MF_BYCOMMAND = 0x0000;  // the item's key (identifier)
inline constexpr int MF_BYPOSITION = 0x0400; // its 0-based position in the menu

// Item type bits (mAddItem's type, pItemType).
inline constexpr int MFT_STRING = 0x0000;
inline constexpr int MFT_BITMAP = 0x0004;
inline constexpr int MFT_MENUBARBREAK = 0x0020;
inline constexpr int MFT_MENUBREAK = 0x0040;
inline constexpr int MFT_OWNERDRAW = 0x0100;
inline constexpr int MFT_RADIOCHECK = 0x0200;
inline constexpr int MFT_SEPARATOR = 0x0800;

// Item state bits.
inline constexpr int MFS_GRAYED = 0x0001;   // greyed: unavailable, drawn grey
inline constexpr int MFS_DISABLED = 0x0002; // unavailable, drawn normally
inline constexpr int MFS_CHECKED = 0x0008;
inline constexpr int MFS_HILITE = 0x0080;
inline constexpr int MFS_DEFAULT = 0x1000;

// mPopUpMenuEx flags that place the menu around the point.
inline constexpr int TPM_LEFTALIGN = 0x0000;
inline constexpr int TPM_CENTERALIGN = 0x0004;
inline constexpr int TPM_RIGHTALIGN = 0x0008;
inline constexpr int TPM_TOPALIGN = 0x0000;
inline constexpr int TPM_VCENTERALIGN = 0x0010;
inline constexpr int TPM_BOTTOMALIGN = 0x0020;

// mCreate's menu types.
enum MenuType : int {
    kMenuBar = 0,    // the window's menu bar
    kPopupMenu = 1,  // a drop-down or context menu
    kSystemMenu = 2, // the window's system menu
};

// pItemEnabled values.
enum ItemEnabled : int {
    kItemEnabled = 0,
    kItemGrayed = 1,        // unavailable, drawn grey
    kItemDisabled = 2,      // unavailable, drawn normally
    kItemGrayedEmbossed = 3 // unavailable, drawn embossed
};

// Each item's QAction carries its key in the property kItemIdProperty
// (windowmessage.h); the keyboard accelerator finds items through it.

// One menu of a window: its menu bar, a pop-up menu or its system menu. Items
// are QActions of a QMenu (of the window's QMenuBar for the bar) whose text is
// caption, tab, access caption; pop-up and system menus measure and paint
// their items with the owner-draw rules of menumeasure.h and menupainter.h.
// Every instance is a client of its window's clsMessage: a chosen item, by
// mouse or by a WM_COMMAND posted to the window, becomes MenuClick there.
// Items are addressed by key (flag MF_BYCOMMAND) or position (MF_BYPOSITION).
class clsActiveMenu : public QObject, public MessageClient
{
    Q_OBJECT
public:
    explicit clsActiveMenu(QObject *parent = nullptr);
    // Removes the items (last first), leaves the dispatcher, destroys the menu.
    ~clsActiveMenu() override;

    // The dispatcher client: turns the window's menu messages into the events.
    qintptr CallBackWindow(qintptr &window, quint32 &message, qintptr &wParam, qintptr &lParam,
                           bool &handled) override;

    // The image list of the item icons (image index n is images[n - 1]) and its icon size.
    void pImageList(const QList<QIcon> &images, QSize iconSize = QSize(16, 16));
    // The menu's handle (handleOf the QMenu, or of the QMenuBar); 0 before mCreate.
    qintptr phMenu() const;
    // The realised menu: the QMenu of a pop-up or system menu, nullptr for the bar.
    QMenu *menu() const;
    // The realised menu bar, nullptr for the other types.
    QMenuBar *menuBar() const;
    // The number of items.
    int pItemCount() const;
    // Position of the first item whose key is key; -1 when none.
    int pItemIndex(int key) const;
    // Key of the item at position; -1 when there is none, 0 for a separator without key.
    int pItemKey(int position) const;
    // Shows this menu as a context menu at (x, y) in screen pixels, 0 meaning the
    // pointer's coordinate; returns at once (the choice arrives as MenuClick).
    bool mPopUpMenuEx(int flags, int x, int y, QWidget *window);
    // The item's rectangle on the screen: left, top, width, height (0 when not laid out).
    int pItemLeft(int item, int flag) const;
    int pItemTop(int item, int flag) const;
    int pItemWidth(int item, int flag) const;
    int pItemHeight(int item, int flag) const;
    // Whether the item is highlighted; writing moves the highlight onto it or off it.
    bool pItemHilite(int item, int flag) const;
    bool setPItemHilite(int item, int flag, bool value);
    // Whether the item is the default item (drawn bold).
    bool pItemDefault(int item, int flag) const;
    bool setPItemDefault(int item, int flag, bool value);
    // Checks check as a radio item and unchecks the other items from first to last.
    bool mRadioCheckGroup(int first, int last, int check, int flags);
    // The item's 1-based image index; 0 for none or an item not added here.
    int pItemIcon(int item, int flag) const;
    bool setPItemIcon(int item, int flag, int imageIndex);
    // The item's availability, 0..3 (ItemEnabled).
    int pItemEnabled(int item, int flag) const;
    bool setPItemEnabled(int item, int flag, int value);
    // Whether the item is checked.
    bool pItemChecked(int item, int flag) const;
    bool setPItemChecked(int item, int flag, bool value);
    // The item's submenu (a phMenu); writing attaches another instance's menu, 0 removes it.
    qintptr pItemDropDownMenu(int item, int flag) const;
    bool setPItemDropDownMenu(int item, int flag, qintptr menu);
    // The item's type bits without MFT_OWNERDRAW and MFT_RADIOCHECK; -1 when there is no item.
    int pItemType(int item, int flag) const;
    // The text before the first tab; writing keeps the access caption.
    QString pItemCaption(int item, int flag) const;
    bool setPItemCaption(int item, int flag, const QString &caption);
    // The text after the first tab ("" without tab); writing keeps the caption, "" drops the tab.
    QString pItemAccessCaption(int item, int flag) const;
    bool setPItemAccessCaption(int item, int flag, const QString &accessCaption);
    // The font of the item's text (the menu font unless set).
    QFont pItemFont(int item, int flag) const;
    bool setPItemFont(int item, int flag, const QFont &font);
    // Removes every item, last position first.
    void mClearItem();
    // The picture of a bitmap item; a null pixmap for other items, whose writes are ignored.
    QPixmap pItemPicture(int item, int flag) const;
    bool setPItemPicture(int item, int flag, const QPixmap &picture);
    // Removes the item; false when there is none.
    bool mRemoveItem(int item, int flags);
    // Adds an item at position (-1 appends); false for a key already added here.
    // type: MFT_* bits (MFT_SEPARATOR, MFT_BITMAP with picture); submenu: a phMenu or 0.
    bool mAddItem(int key, int position, const QString &caption, const QString &accessCaption = {},
                  const QPixmap &picture = {}, int type = MFT_STRING, int imageIndex = 0,
                  qintptr submenu = 0);
    // The drawing style 0..3 (3 for a new pop-up menu, 0 otherwise).
    int pStyle() const;
    void setPStyle(int style);
    // Creates the menu of the window: menu bar, pop-up or system menu (MenuType).
    bool mCreate(QWidget *window, int menuType);

    // The QAction of an item, nullptr when there is none.
    QAction *itemAction(int item, int flag) const;
    // The instance whose menu has this handle, nullptr when none.
    static clsActiveMenu *fromHandle(qintptr menu);
    // The window given to mCreate.
    QWidget *ownerWindow() const;
    // The size of the icon column: the image list's icon size, else 16 x 16
    // for a style other than 0, else the menu check-mark size.
    QSize iconColumnSize() const;

Q_SIGNALS:
    // An item of this menu was chosen; set handled to keep the command from the window.
    void MenuClick(int &itemKey, bool &handled);
    // The highlight moved onto an item of this menu (separators too).
    void MenuSelect(int itemKey);
    // This menu is about to open.
    void InitMenu();
    // A menu of the window closed.
    void CloseMenu();

private:
    struct MenuItemRecord {
        int key = 0;
        int imageIndex = 0;
        bool disabledLook = false;
        QString text;
        QFont font;
        QRect textRect;
    };

    MenuItemRecord *record(int key);
    const MenuItemRecord *record(int key) const;
    QList<QAction *> actions() const;
    QWidget *menuWidget() const;
    int stateOf(int item, int flag) const;
    bool changeState(int item, int flag, int bit, bool value);
    void setState(QAction *action, int state);
    QRect itemRect(int item, int flag) const;
    QList<int> positionsOf(int key) const;
    void measureItem(MeasureItemStruct &request);
    void drawItem(const DrawItemStruct &request);
    QFont defaultFont() const;

    int m_menuType = kPopupMenu;
    int m_style = 0;
    QSize m_checkSize;
    QList<QIcon> m_images;
    QSize m_imageSize;
    bool m_hasImageList = false;
    QPointer<QWidget> m_ownerWindow;
    QPointer<QWidget> m_menu;
    bool m_ownsMenu = false;
    QList<MenuItemRecord> m_items;
};

} // namespace orvane::ui::toolkit

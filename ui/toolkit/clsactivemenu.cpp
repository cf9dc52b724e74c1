#include "ui/toolkit/clsactivemenu.h"

#include "ui/toolkit/menumeasure.h"
#include "ui/toolkit/menupainter.h"
#include "ui/toolkit/menuwidgets.h"
#include "ui/toolkit/windowhandles.h"
#include "ui/toolkit/windowmessage.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>

namespace orvane::ui::toolkit {

namespace {

constexpr char kActiveMenuProperty[] = "orvaneActiveMenu";
// The same property the keyboard accelerator reads the window menu from.
constexpr char kSystemMenuProperty[] = "orvaneWindowMenu";
constexpr QChar kTab = QLatin1Char('\t');

int idOf(const QAction *action)
{
    return action->property(kItemIdProperty).toInt();
}

QString captionPart(const QString &text)
{
    const qsizetype tab = text.indexOf(kTab);
    return tab < 0 ? text : text.left(tab);
}

QString accessPart(const QString &text)
{
    const qsizetype tab = text.indexOf(kTab);
    return tab < 0 ? QString() : text.mid(tab + 1);
}

QString joinCaption(const QString &caption, const QString &access)
{
    return access.isEmpty() ? caption : caption + kTab + access;
}

bool isBitmapType(int type)
{
    return type == 4 || type == 36 || type == 68;
}

// The system menu of a window is one per window, like the window's own.
QMenu *systemMenuOf(QWidget *window)
{
    auto *menu = qobject_cast<QMenu *>(window->property(kSystemMenuProperty).value<QObject *>());
    if (!menu) {
        menu = new OwnerDrawnMenu(window, true);
        window->setProperty(kSystemMenuProperty, QVariant::fromValue(static_cast<QObject *>(menu)));
    }
    return menu;
}

QMenuBar *createMenuBar(QWidget *window)
{
    auto *bar = new QMenuBar(window);
    if (auto *mainWindow = qobject_cast<QMainWindow *>(window))
        mainWindow->setMenuBar(bar);
    else if (window->layout())
        window->layout()->setMenuBar(bar);
    return bar;
}

} // namespace

clsActiveMenu::clsActiveMenu(QObject *parent)
    : QObject(parent)
    , m_checkSize(kMenuCheckSize, kMenuCheckSize)
{}

clsActiveMenu::~clsActiveMenu()
{
    mClearItem();
    clsMessage::detach(this, m_ownerWindow);
    if (m_ownsMenu)
        delete m_menu.data();
    m_items.clear();
}

QWidget *clsActiveMenu::menuWidget() const
{
    return m_menu.data();
}

QMenu *clsActiveMenu::menu() const
{
    return qobject_cast<QMenu *>(m_menu.data());
}

QMenuBar *clsActiveMenu::menuBar() const
{
    return qobject_cast<QMenuBar *>(m_menu.data());
}

QWidget *clsActiveMenu::ownerWindow() const
{
    return m_ownerWindow;
}

qintptr clsActiveMenu::phMenu() const
{
    return m_menu ? handleOf(m_menu.data()) : 0;
}

clsActiveMenu *clsActiveMenu::fromHandle(qintptr menu)
{
    QObject *object = objectOfHandle(menu);
    if (!object)
        return nullptr;
    return qobject_cast<clsActiveMenu *>(object->property(kActiveMenuProperty).value<QObject *>());
}

bool clsActiveMenu::mCreate(QWidget *window, int menuType)
{
    if (!window || m_menu)
        return false;
    switch (menuType) {
    case kMenuBar:
        m_menu = createMenuBar(window);
        watchMenuBar(menuBar(), window);
        m_ownsMenu = true;
        break;
    case kPopupMenu:
        m_menu = new OwnerDrawnMenu(window, false);
        m_ownsMenu = true;
        break;
    case kSystemMenu:
        m_menu = systemMenuOf(window);
        m_ownsMenu = false;
        break;
    default:
        return false;
    }
    m_menu->setProperty(kActiveMenuProperty, QVariant::fromValue(static_cast<QObject *>(this)));
    m_menuType = menuType;
    m_ownerWindow = window;
    setPStyle(menuType == kPopupMenu ? 3 : 0);
    clsMessage::attach(this, window);
    return true;
}

QList<QAction *> clsActiveMenu::actions() const
{
    return m_menu ? m_menu->actions() : QList<QAction *>();
}

QAction *clsActiveMenu::itemAction(int item, int flag) const
{
    const QList<QAction *> all = actions();
    if (flag & MF_BYPOSITION)
        return item >= 0 && item < all.size() ? all.at(item) : nullptr;
    for (QAction *action : all) {
        if (idOf(action) == item)
            return action;
    }
    return nullptr;
}

QList<int> clsActiveMenu::positionsOf(int key) const
{
    QList<int> positions;
    const QList<QAction *> all = actions();
    for (int i = 0; i < all.size(); ++i) {
        if (idOf(all.at(i)) == key)
            positions.append(i);
    }
    return positions;
}

clsActiveMenu::MenuItemRecord *clsActiveMenu::record(int key)
{
    for (MenuItemRecord &entry : m_items) {
        if (entry.key == key)
            return &entry;
    }
    return nullptr;
}

const clsActiveMenu::MenuItemRecord *clsActiveMenu::record(int key) const
{
    for (const MenuItemRecord &entry : m_items) {
        if (entry.key == key)
            return &entry;
    }
    return nullptr;
}

QFont clsActiveMenu::defaultFont() const
{
    return QApplication::font("QMenu");
}

void clsActiveMenu::pImageList(const QList<QIcon> &images, QSize iconSize)
{
    m_images = images;
    m_imageSize = iconSize;
    m_hasImageList = true;
    if (m_menu)
        m_menu->update();
}

QSize clsActiveMenu::iconColumnSize() const
{
    if (m_hasImageList && m_imageSize.width() > 0 && m_imageSize.height() > 0)
        return m_imageSize;
    return m_checkSize;
}

int clsActiveMenu::pStyle() const
{
    return m_style;
}

void clsActiveMenu::setPStyle(int style)
{
    m_style = style;
    m_checkSize = style != 0 ? QSize(16, 16) : QSize(kMenuCheckSize, kMenuCheckSize);
    if (m_menu)
        m_menu->update();
}

bool clsActiveMenu::mAddItem(int key, int position, const QString &caption,
                             const QString &accessCaption, const QPixmap &picture, int type,
                             int imageIndex, qintptr submenu)
{
    if (!m_menu || record(key))
        return false;
    auto *action = new QAction(m_menu);
    action->setProperty(kItemIdProperty, key);
    QString text;
    if (isBitmapType(type))
        action->setProperty(kItemPictureProperty, picture);
    else
        text = joinCaption(captionPart(caption), accessCaption);
    action->setText(text);
    action->setSeparator(type & MFT_SEPARATOR);
    action->setProperty(kItemTypeProperty, m_menuType != kMenuBar ? type | MFT_OWNERDRAW : type);
    setState(action, 0);
    if (submenu != 0) {
        if (auto *dropDown = qobject_cast<QMenu *>(objectOfHandle(submenu)))
            action->setMenu(dropDown);
    }
    m_items.append(MenuItemRecord{key, imageIndex, false, text, defaultFont(), QRect()});
    const QList<QAction *> all = actions();
    QAction *before = position >= 0 && position < all.size() ? all.at(position) : nullptr;
    m_menu->insertAction(before, action);
    const quint32 message = m_menuType == kSystemMenu ? WM_SYSCOMMAND : WM_COMMAND;
    // A click takes the road of a keyboard accelerator: a command message to
    // the window, which the window's menus turn into MenuClick.
    connect(action, &QAction::triggered, this, [this, action, message] {
        if (m_ownerWindow)
            postWindowMessage(m_ownerWindow, message, idOf(action) & 0xFFFF, 0);
    });
    return true;
}

bool clsActiveMenu::mRemoveItem(int item, int flags)
{
    QAction *action = itemAction(item, flags);
    if (!action)
        return false;
    const int key = idOf(action);
    m_menu->removeAction(action);
    delete action;
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        if (m_items.at(i).key == key) {
            m_items.removeAt(i);
            break;
        }
    }
    return true;
}

void clsActiveMenu::mClearItem()
{
    for (int position = pItemCount() - 1; position >= 0; --position)
        mRemoveItem(position, MF_BYPOSITION);
}

int clsActiveMenu::pItemCount() const
{
    return static_cast<int>(actions().size());
}

int clsActiveMenu::pItemIndex(int key) const
{
    const QList<int> positions = positionsOf(key);
    return positions.isEmpty() ? -1 : positions.first();
}

int clsActiveMenu::pItemKey(int position) const
{
    QAction *action = itemAction(position, MF_BYPOSITION);
    return action ? idOf(action) : -1;
}

} // namespace orvane::ui::toolkit

namespace orvane::ui::toolkit {

bool clsActiveMenu::mPopUpMenuEx(int flags, int x, int y, QWidget * /*window*/)
{
    QMenu *popup = menu();
    if (!popup || popup->isVisible())
        return false;
    const QPoint pointer = QCursor::pos();
    QPoint at(x != 0 ? x : pointer.x(), y != 0 ? y : pointer.y());
    const QSize size = popup->sizeHint();
    if (flags & TPM_CENTERALIGN)
        at.rx() -= size.width() / 2;
    else if (flags & TPM_RIGHTALIGN)
        at.rx() -= size.width();
    if (flags & TPM_VCENTERALIGN)
        at.ry() -= size.height() / 2;
    else if (flags & TPM_BOTTOMALIGN)
        at.ry() -= size.height();
    // Not modal: the choice comes back as MenuClick through the window.
    popup->popup(at);
    return true;
}

qintptr clsActiveMenu::CallBackWindow(qintptr & /*window*/, quint32 &message, qintptr &wParam,
                                      qintptr &lParam, bool &handled)
{
    const qintptr menuHandle = phMenu();
    if (menuHandle == 0)
        return 0;
    // A handler may destroy this menu object; stop touching it then.
    const QPointer<clsActiveMenu> alive(this);
    switch (message) {
    case WM_MEASUREITEM:
        if (lParam != 0) {
            auto &request = *reinterpret_cast<MeasureItemStruct *>(lParam);
            if (request.ctlType == ODT_MENU && request.itemData == menuHandle)
                measureItem(request);
        }
        break;
    case WM_DRAWITEM:
        if (lParam != 0) {
            const auto &request = *reinterpret_cast<const DrawItemStruct *>(lParam);
            if (request.ctlType == ODT_MENU && request.itemData == menuHandle && request.hDC)
                drawItem(request);
        }
        break;
    case WM_COMMAND:
        if (lParam == 0 && clsMessage::HIWORD(wParam) == 0) {
            const int id = clsMessage::LOWORD(wParam);
            const auto matches = positionsOf(id).size();
            for (qsizetype i = 0; i < matches && alive; ++i) {
                int key = id;
                bool flag = false;
                Q_EMIT MenuClick(key, flag);
                if (flag)
                    handled = true;
            }
        }
        break;
    case WM_SYSCOMMAND:
        if (m_menuType == kSystemMenu) {
            int key = static_cast<int>(wParam);
            bool flag = false;
            Q_EMIT MenuClick(key, flag);
            wParam = key;
            if (flag)
                handled = true;
        }
        break;
    case WM_INITMENUPOPUP:
        if (wParam == menuHandle)
            Q_EMIT InitMenu();
        break;
    case WM_MENUSELECT:
        if (lParam == menuHandle) {
            const int id = clsMessage::LOWORD(wParam);
            const auto matches = positionsOf(id).size();
            for (qsizetype i = 0; i < matches && alive; ++i)
                Q_EMIT MenuSelect(id);
        } else if (lParam == 0) {
            Q_EMIT CloseMenu();
        }
        break;
    default:
        break;
    }
    return 0;
}

void clsActiveMenu::measureItem(MeasureItemStruct &request)
{
    QAction *action = itemAction(request.itemId, MF_BYCOMMAND);
    if (!action)
        return;
    MenuItemRecord *entry = record(request.itemId);
    MenuItemMeasureInput input;
    input.type = action->property(kItemTypeProperty).toInt();
    input.bitmapSize =
        action->property(kItemPictureProperty).value<QPixmap>().deviceIndependentSize().toSize();
    input.caption = captionPart(action->text());
    input.accessCaption = accessPart(action->text());
    input.font = entry ? entry->font : defaultFont();
    input.iconColumn = iconColumnSize();
    const MenuItemMeasure measured = measureMenuItem(input);
    if (entry && !(input.type & (MFT_SEPARATOR | MFT_BITMAP)))
        entry->textRect = measured.textRect;
    request.itemWidth = measured.size.width();
    request.itemHeight = measured.size.height();
}

void clsActiveMenu::drawItem(const DrawItemStruct &request)
{
    QAction *action = itemAction(request.itemId, MF_BYCOMMAND);
    if (!action)
        return;
    const MenuItemRecord *entry = record(request.itemId);
    MenuItemPaintInput input;
    input.rect = request.rcItem;
    input.type = action->property(kItemTypeProperty).toInt();
    input.state = request.itemState;
    input.style = m_style;
    input.disabledLook = entry && entry->disabledLook;
    input.imageIndex = entry ? entry->imageIndex : 0;
    if (input.imageIndex > 0 && input.imageIndex <= m_images.size())
        input.icon = m_images.at(input.imageIndex - 1);
    input.caption = captionPart(action->text());
    input.accessCaption = accessPart(action->text());
    input.font = entry ? entry->font : defaultFont();
    input.textRect = entry ? entry->textRect : QRect();
    if (!input.textRect.isValid())
        input.textRect = QRect(0, 0, 0, QFontMetrics(input.font).height());
    input.bitmap = action->property(kItemPictureProperty).value<QPixmap>();
    input.iconColumn = iconColumnSize();
    input.palette = m_menu ? m_menu->palette() : QPalette();
    paintMenuItem(*request.hDC, input);
}

} // namespace orvane::ui::toolkit

#include "ui/toolkit/menuwidgets.h"

#include "ui/toolkit/clsactivemenu.h"
#include "ui/toolkit/clsmessage.h"
#include "ui/toolkit/windowhandles.h"
#include "ui/toolkit/windowmessage.h"

#include <QApplication>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionMenuItem>
#include <QTimer>

namespace orvane::ui::toolkit {

namespace {

// Set on a window from the first of its menus opening to the last closing.
constexpr char kMenuLoopProperty[] = "orvaneMenuLoop";

int typeOf(const QAction *action)
{
    return action->property(kItemTypeProperty).toInt();
}

int stateOf(const QAction *action)
{
    return action->property(kItemStateProperty).toInt();
}

qintptr asParam(void *structure)
{
    return reinterpret_cast<qintptr>(structure);
}

} // namespace

namespace menumessages {

void menuOpening(QWidget *window, QWidget *menu, bool systemMenu)
{
    if (!window || !menu)
        return;
    if (!window->property(kMenuLoopProperty).toBool()) {
        window->setProperty(kMenuLoopProperty, true);
        sendWindowMessage(window, WM_ENTERMENULOOP, 0, 0);
    }
    sendWindowMessage(window, WM_INITMENUPOPUP, handleOf(menu), systemMenu ? (1 << 16) : 0);
}

void menuHidden(QWidget *window, QWidget *menu)
{
    if (!window || !menu)
        return;
    sendWindowMessage(window, WM_UNINITMENUPOPUP, handleOf(menu), 0);
    // Moving along the menu bar hides one drop-down and shows the next in
    // the same event; only when no menu is open after it did the menu close.
    QPointer<QWidget> guarded(window);
    QTimer::singleShot(0, window, [guarded] {
        if (!guarded || QApplication::activePopupWidget() ||
            !guarded->property(kMenuLoopProperty).toBool())
            return;
        guarded->setProperty(kMenuLoopProperty, false);
        sendWindowMessage(guarded, WM_MENUSELECT, static_cast<qintptr>(kMenuClosedFlags) << 16, 0);
        if (guarded)
            sendWindowMessage(guarded, WM_EXITMENULOOP, 0, 0);
    });
}

void itemHovered(QWidget *window, QWidget *menu, QAction *action)
{
    if (!window || !menu || !action)
        return;
    const int id = action->property(kItemIdProperty).toInt();
    quint32 flags = MFS_HILITE | (static_cast<quint32>(stateOf(action)) &
                                  (MFS_GRAYED | MFS_DISABLED | MFS_CHECKED));
    if (action->isSeparator())
        flags |= MF_SEPARATOR_FLAG;
    if (action->menu())
        flags |= MF_POPUP;
    if (typeOf(action) & MFT_OWNERDRAW)
        flags |= MFT_OWNERDRAW;
    const qintptr wParam =
        static_cast<qintptr>((flags << 16) | (static_cast<quint32>(id) & 0xFFFF));
    sendWindowMessage(window, WM_MENUSELECT, wParam, handleOf(menu));
}

quint32 drawStateOf(const QAction *action, bool selected)
{
    const int state = stateOf(action);
    quint32 result = selected ? ODS_SELECTED : 0;
    if (state & MFS_GRAYED)
        result |= ODS_GRAYED | ODS_DISABLED;
    if (state & MFS_DISABLED)
        result |= ODS_DISABLED;
    if (state & MFS_CHECKED)
        result |= ODS_CHECKED;
    if (state & MFS_DEFAULT)
        result |= ODS_DEFAULT;
    return result;
}

} // namespace menumessages

OwnerDrawnMenu::OwnerDrawnMenu(QWidget *window, bool systemMenu)
    : QMenu(window)
    , m_window(window)
{
    setStyle(OwnerDrawStyle::instance());
    connect(this, &QMenu::aboutToShow, this,
            [this, systemMenu] { menumessages::menuOpening(m_window, this, systemMenu); });
    connect(this, &QMenu::aboutToHide, this, [this] { menumessages::menuHidden(m_window, this); });
    connect(this, &QMenu::hovered, this, [this](QAction *action) {
        m_hoveredSeparator = nullptr;
        menumessages::itemHovered(m_window, this, action);
    });
}

void OwnerDrawnMenu::initStyleOption(QStyleOptionMenuItem *option, const QAction *action) const
{
    QMenu::initStyleOption(option, action);
    // The style measures through the window and needs to know which item.
    option->styleObject = const_cast<QAction *>(action);
}

void OwnerDrawnMenu::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    // The menu colour behind the items, as the items fill themselves with
    // it; the style's own panel may differ and would show between them.
    painter.fillRect(rect(), palette().color(QPalette::Active, QPalette::Window));
    const qintptr menuHandle = handleOf(this);
    for (QAction *action : actions()) {
        const QRect area = actionGeometry(action);
        if (!action->isVisible() || !area.isValid() || !event->rect().intersects(area))
            continue;
        painter.save();
        painter.setClipRect(area);
        if ((typeOf(action) & MFT_OWNERDRAW) && m_window) {
            DrawItemStruct request;
            request.itemId = action->property(kItemIdProperty).toInt();
            request.itemState = menumessages::drawStateOf(action, action == activeAction());
            request.hwndItem = menuHandle;
            request.hDC = &painter;
            request.rcItem = area;
            request.itemData = menuHandle;
            sendWindowMessage(m_window, WM_DRAWITEM, 0, asParam(&request));
        } else {
            QStyleOptionMenuItem option;
            initStyleOption(&option, action);
            option.rect = area;
            style()->drawControl(QStyle::CE_MenuItem, &option, &painter, this);
        }
        painter.restore();
    }
    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.rect = rect();
    frame.state = QStyle::State_None;
    frame.lineWidth = style()->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, this);
    frame.midLineWidth = 0;
    style()->drawPrimitive(QStyle::PE_FrameMenu, &frame, &painter, this);
}

void OwnerDrawnMenu::mouseMoveEvent(QMouseEvent *event)
{
    QMenu::mouseMoveEvent(event);
    // Qt never highlights a separator, but the status line explains what is
    // under the pointer, separators included.
    QAction *action = actionAt(event->position().toPoint());
    if (!action || !action->isSeparator()) {
        m_hoveredSeparator = nullptr;
        return;
    }
    if (action == m_hoveredSeparator)
        return;
    m_hoveredSeparator = action;
    menumessages::itemHovered(m_window, this, action);
}

void OwnerDrawnMenu::hideEvent(QHideEvent *event)
{
    m_hoveredSeparator = nullptr;
    QMenu::hideEvent(event);
}

OwnerDrawStyle::OwnerDrawStyle()
    : QProxyStyle()
{}

OwnerDrawStyle *OwnerDrawStyle::instance()
{
    static QPointer<OwnerDrawStyle> shared;
    if (!shared) {
        shared = new OwnerDrawStyle;
        shared->setParent(QCoreApplication::instance());
    }
    return shared;
}

QSize OwnerDrawStyle::sizeFromContents(ContentsType type, const QStyleOption *option,
                                       const QSize &size, const QWidget *widget) const
{
    const auto *menu = qobject_cast<const OwnerDrawnMenu *>(widget);
    const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
    QAction *action = item ? qobject_cast<QAction *>(item->styleObject) : nullptr;
    if (type != CT_MenuItem || !menu || !action || !menu->ownerWindow() ||
        !(typeOf(action) & MFT_OWNERDRAW))
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    MeasureItemStruct request;
    request.itemId = action->property(kItemIdProperty).toInt();
    request.itemData = handleOf(const_cast<OwnerDrawnMenu *>(menu));
    sendWindowMessage(menu->ownerWindow(), WM_MEASUREITEM, 0, asParam(&request));
    // QMenu widens its column by the widest text after a tab on top of the
    // item's size; the measured width already holds it.
    const QString text = action->text();
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    const int accessWidth = tab < 0 ? 0 : menu->fontMetrics().horizontalAdvance(text.mid(tab + 1));
    // A zero width would make QMenu drop the item from its layout.
    return QSize(qMax(1, request.itemWidth - accessWidth), qMax(1, request.itemHeight));
}

int OwnerDrawStyle::pixelMetric(PixelMetric metric, const QStyleOption *option,
                                const QWidget *widget) const
{
    // A little room between the frame and the items, as a menu has.
    if ((metric == PM_MenuHMargin || metric == PM_MenuVMargin) &&
        qobject_cast<const OwnerDrawnMenu *>(widget))
        return 2;
    return QProxyStyle::pixelMetric(metric, option, widget);
}

int OwnerDrawStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                              QStyleHintReturn *returnData) const
{
    if (hint == SH_Menu_AllowActiveAndDisabled && qobject_cast<const OwnerDrawnMenu *>(widget))
        return 1;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

void watchMenuBar(QMenuBar *bar, QWidget *window)
{
    if (!bar)
        return;
    QPointer<QWidget> guarded(window);
    QObject::connect(bar, &QMenuBar::hovered, bar, [guarded, bar](QAction *action) {
        // Passing over the bar with no menu open is not menu use.
        if (QApplication::activePopupWidget())
            menumessages::itemHovered(guarded, bar, action);
    });
}

} // namespace orvane::ui::toolkit

#pragma once

#include <QMenu>
#include <QPointer>
#include <QProxyStyle>

class QMenuBar;

namespace orvane::ui::toolkit {

// QAction properties that keep what a menu item is beyond its text: the type
// and state bits of the menu rules and a bitmap item's picture.
inline constexpr char kItemTypeProperty[] = "orvaneItemType";
inline constexpr char kItemStateProperty[] = "orvaneItemState";
inline constexpr char kItemPictureProperty[] = "orvaneItemPicture";

// The window-message side of a menu: a QMenu (or QMenuBar) tells its window
// what happens to it in the messages the menu rules are written against.
namespace menumessages {
// A menu of the window opens: WM_ENTERMENULOOP once, then WM_INITMENUPOPUP.
void menuOpening(QWidget *window, QWidget *menu, bool systemMenu);
// A menu of the window hid: WM_UNINITMENUPOPUP now; once no menu of the
// window is open any more, WM_MENUSELECT with the closed flags and
// WM_EXITMENULOOP.
void menuHidden(QWidget *window, QWidget *menu);
// The highlight moved onto action of menu: WM_MENUSELECT.
void itemHovered(QWidget *window, QWidget *menu, QAction *action);
// The owner-draw state bits (ODS_*) of an item.
quint32 drawStateOf(const QAction *action, bool selected);
} // namespace menumessages

// A pop-up menu whose items the window measures (WM_MEASUREITEM through
// OwnerDrawStyle) and paints (WM_DRAWITEM from paintEvent).
class OwnerDrawnMenu : public QMenu
{
    Q_OBJECT
public:
    OwnerDrawnMenu(QWidget *window, bool systemMenu);

    QWidget *ownerWindow() const { return m_window; }

protected:
    void initStyleOption(QStyleOptionMenuItem *option, const QAction *action) const override;
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QPointer<QWidget> m_window;
    QPointer<QAction> m_hoveredSeparator;
};

// Sizes owner-drawn items by asking their window, and lets a greyed item take
// the highlight (its help text is shown like any other's).
class OwnerDrawStyle : public QProxyStyle
{
    Q_OBJECT
public:
    // The one instance all owner-drawn menus share.
    static OwnerDrawStyle *instance();

    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                           const QWidget *widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option,
                    const QWidget *widget) const override;
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override;

private:
    OwnerDrawStyle();
};

// Connects a menu bar's highlight to WM_MENUSELECT while a menu is open.
void watchMenuBar(QMenuBar *bar, QWidget *window);

} // namespace orvane::ui::toolkit

#include "ui/toolkit/clsactivemenu.h"
#include "ui/toolkit/clsmessage.h"
#include "ui/toolkit/windowhandles.h"
#include "ui/toolkit/windowmessage.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>

#include <gtest/gtest.h>

using namespace orvane::ui::toolkit;

namespace {

// Counts the events of one menu object.
struct EventLog {
    explicit EventLog(clsActiveMenu &menu)
    {
        QObject::connect(&menu, &clsActiveMenu::MenuClick,
                         [this](int &key, bool &) { clicks.append(key); });
        QObject::connect(&menu, &clsActiveMenu::MenuSelect,
                         [this](int key) { selects.append(key); });
        QObject::connect(&menu, &clsActiveMenu::InitMenu, [this] { ++inits; });
        QObject::connect(&menu, &clsActiveMenu::CloseMenu, [this] { ++closes; });
    }
    QList<int> clicks;
    QList<int> selects;
    int inits = 0;
    int closes = 0;
};

void settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

class Menus : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.resize(300, 200);
        ASSERT_TRUE(bar.mCreate(&window, kMenuBar));
        ASSERT_TRUE(file.mCreate(&window, kPopupMenu));
        ASSERT_TRUE(play.mCreate(&window, kPopupMenu));
        bar.mAddItem(0, -1, QStringLiteral("&File"));
        bar.mAddItem(10, -1, QStringLiteral("&Play"));
        file.mAddItem(1, -1, QStringLiteral("&Open"), QStringLiteral("Ctrl+O"), {}, 0, 1);
        file.mAddItem(2, -1, QStringLiteral("&Save"));
        file.mAddItem(4, -1, {}, {}, {}, MFT_SEPARATOR);
        file.mAddItem(5, -1, QStringLiteral("E&xit"), QStringLiteral("Ctrl+Q"));
        play.mAddItem(11, -1, QStringLiteral("Play"), QStringLiteral("Ctrl+P"));
        play.mAddItem(65, -1, QStringLiteral("Default"));
        play.mAddItem(66, -1, QStringLiteral("Double"));
        play.mAddItem(67, -1, QStringLiteral("Fit"));
        bar.setPItemDropDownMenu(0, MF_BYCOMMAND, file.phMenu());
        bar.setPItemDropDownMenu(10, MF_BYCOMMAND, play.phMenu());
    }

    void openAndHover(clsActiveMenu &menu, int key)
    {
        QMenu *popup = menu.menu();
        if (!popup->isVisible()) {
            popup->popup(QPoint(400, 400));
            settle();
        }
        const QRect area = popup->actionGeometry(menu.itemAction(key, MF_BYCOMMAND));
        // QMenu ignores the first small moves after it opens; come from afar.
        for (const QPoint &at : {QPoint(1, 1), QPoint(area.center().x(), 2), area.center(),
                                 area.center() + QPoint(1, 0)}) {
            QMouseEvent move(QEvent::MouseMove, at, popup->mapToGlobal(at), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(popup, &move);
        }
        settle();
    }

    QMainWindow window;
    clsActiveMenu bar;
    clsActiveMenu file;
    clsActiveMenu play;
};

TEST_F(Menus, EveryMenuRegistersOnTheWindowsDispatcher)
{
    clsMessage *dispatcher = clsMessage::MessageClass(handleOf(&window));
    ASSERT_NE(dispatcher, nullptr);
    EXPECT_EQ(dispatcher->MessageCount(), 3);
    EXPECT_EQ(window.menuBar(), bar.menuBar());
    EXPECT_EQ(bar.pStyle(), 0);
    EXPECT_EQ(file.pStyle(), 3);
    EXPECT_EQ(clsActiveMenu::fromHandle(file.phMenu()), &file);
    EXPECT_FALSE(file.mCreate(&window, kPopupMenu)) << "one menu per object";
    {
        clsActiveMenu extra;
        extra.mCreate(&window, kPopupMenu);
        EXPECT_EQ(dispatcher->MessageCount(), 4);
    }
    EXPECT_EQ(dispatcher->MessageCount(), 3) << "a destroyed menu leaves the dispatcher";
}

TEST_F(Menus, ADuplicateKeyIsRefused)
{
    EXPECT_FALSE(file.mAddItem(1, -1, QStringLiteral("Again")));
    EXPECT_EQ(file.pItemCount(), 4);
    EXPECT_EQ(file.pItemCaption(1, MF_BYCOMMAND), QStringLiteral("&Open"));
}

TEST_F(Menus, CaptionAndAccessCaptionKeepEachOther)
{
    QAction *open = file.itemAction(1, MF_BYCOMMAND);
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->text(), QStringLiteral("&Open\tCtrl+O"));
    EXPECT_EQ(open->property(kItemIdProperty).toInt(), 1);
    EXPECT_EQ(file.pItemCaption(1, MF_BYCOMMAND), QStringLiteral("&Open"));
    EXPECT_EQ(file.pItemAccessCaption(1, MF_BYCOMMAND), QStringLiteral("Ctrl+O"));
    EXPECT_EQ(file.pItemAccessCaption(2, MF_BYCOMMAND), QString());

    file.setPItemCaption(1, MF_BYCOMMAND, QStringLiteral("Load"));
    EXPECT_EQ(open->text(), QStringLiteral("Load\tCtrl+O"));
    file.setPItemAccessCaption(1, MF_BYCOMMAND, QString());
    EXPECT_EQ(open->text(), QStringLiteral("Load"));
    file.setPItemAccessCaption(0, MF_BYPOSITION, QStringLiteral("F3"));
    EXPECT_EQ(open->text(), QStringLiteral("Load\tF3"));
    // A caption given with a tab of its own keeps only what comes before it.
    file.mAddItem(7, -1, QStringLiteral("Cut\tjunk"), QStringLiteral("Ctrl+X"));
    EXPECT_EQ(file.pItemAccessCaption(7, MF_BYCOMMAND), QStringLiteral("Ctrl+X"));
}

TEST_F(Menus, AddressesItemsByKeyOrPosition)
{
    EXPECT_EQ(file.pItemIndex(4), 2);
    EXPECT_EQ(file.pItemIndex(99), -1);
    EXPECT_EQ(file.pItemKey(3), 5);
    EXPECT_EQ(file.pItemKey(9), -1);
    EXPECT_EQ(file.pItemType(4, MF_BYCOMMAND), MFT_SEPARATOR);
    EXPECT_EQ(file.pItemType(2, MF_BYPOSITION), MFT_SEPARATOR);
    file.mAddItem(3, 2, QStringLiteral("Save &As"), {}, {}, 0, 3);
    EXPECT_EQ(file.pItemIndex(3), 2);
    EXPECT_EQ(file.pItemIcon(3, MF_BYCOMMAND), 3);
    EXPECT_TRUE(file.mRemoveItem(0, MF_BYPOSITION));
    EXPECT_EQ(file.pItemKey(0), 2);
    EXPECT_EQ(file.pItemIcon(1, MF_BYCOMMAND), 0) << "its record went with it";
    EXPECT_FALSE(file.mRemoveItem(1, MF_BYCOMMAND));
    EXPECT_TRUE(file.mAddItem(1, -1, QStringLiteral("Open again"))) << "the key is free again";
    file.mClearItem();
    EXPECT_EQ(file.pItemCount(), 0);
}

TEST_F(Menus, AvailabilityReadsBackAndDisablesTheAction)
{
    struct Step {
        int write;
        int read;
        bool actionEnabled;
    };
    const Step steps[] = {{kItemGrayed, 1, false},         {kItemEnabled, 0, true},
                          {kItemDisabled, 2, false},       {kItemGrayed, 1, false},
                          {kItemGrayedEmbossed, 3, false}, {kItemDisabled, 2, false},
                          {kItemEnabled, 0, true},         {9, 1, false}};
    for (const Step &step : steps) {
        file.setPItemEnabled(2, MF_BYCOMMAND, step.write);
        EXPECT_EQ(file.pItemEnabled(2, MF_BYCOMMAND), step.read) << "wrote " << step.write;
        EXPECT_EQ(file.itemAction(2, MF_BYCOMMAND)->isEnabled(), step.actionEnabled);
    }
    EXPECT_FALSE(file.pItemChecked(2, MF_BYCOMMAND)) << "a stray value never checks";
}

TEST_F(Menus, StateBitsAndRadioGroups)
{
    file.setPItemChecked(2, MF_BYCOMMAND, true);
    EXPECT_TRUE(file.pItemChecked(2, MF_BYCOMMAND));
    EXPECT_FALSE(file.pItemChecked(1, MF_BYCOMMAND));
    file.setPItemDefault(1, MF_BYCOMMAND, true);
    EXPECT_TRUE(file.pItemDefault(1, MF_BYCOMMAND));
    EXPECT_EQ(file.menu()->defaultAction(), file.itemAction(1, MF_BYCOMMAND));

    EXPECT_TRUE(play.mRadioCheckGroup(65, 67, 66, MF_BYCOMMAND));
    EXPECT_EQ(
        (QList<bool>{play.pItemChecked(65, 0), play.pItemChecked(66, 0), play.pItemChecked(67, 0)}),
        (QList<bool>{false, true, false}));
    EXPECT_TRUE(play.mRadioCheckGroup(1, 3, 3, MF_BYPOSITION));
    EXPECT_TRUE(play.pItemChecked(67, 0));
    EXPECT_FALSE(play.pItemChecked(66, 0));
    EXPECT_FALSE(play.mRadioCheckGroup(65, 67, 11, MF_BYCOMMAND)) << "outside the group";
    EXPECT_FALSE(play.mRadioCheckGroup(65, 99, 66, MF_BYCOMMAND));
}

TEST_F(Menus, IconColumnFollowsStyleAndImageList)
{
    EXPECT_EQ(file.iconColumnSize(), QSize(16, 16));
    file.setPStyle(0);
    EXPECT_EQ(file.iconColumnSize(), QSize(13, 13));
    file.setPStyle(3);
    EXPECT_EQ(file.iconColumnSize(), QSize(16, 16));
    file.pImageList({}, QSize(20, 18));
    EXPECT_EQ(file.iconColumnSize(), QSize(20, 18));
}

TEST_F(Menus, ItemsAreMeasuredThroughTheWindow)
{
    MeasureItemStruct separator;
    separator.itemId = 4;
    separator.itemData = file.phMenu();
    sendWindowMessage(&window, WM_MEASUREITEM, 0, reinterpret_cast<qintptr>(&separator));
    EXPECT_EQ(QSize(separator.itemWidth, separator.itemHeight), QSize(0, 13));

    MeasureItemStruct other;
    other.itemData = play.phMenu(); // another menu's item data: not file's business
    other.itemId = 4;
    sendWindowMessage(&window, WM_MEASUREITEM, 0, reinterpret_cast<qintptr>(&other));
    EXPECT_EQ(other.itemHeight, 0);

    MeasureItemStruct open;
    open.itemData = file.phMenu();
    open.itemId = 1;
    sendWindowMessage(&window, WM_MEASUREITEM, 0, reinterpret_cast<qintptr>(&open));
    EXPECT_GT(open.itemWidth, 16 + 18);
    EXPECT_GE(open.itemHeight, 18);
}

TEST_F(Menus, APostedCommandRaisesMenuClickOnceOnTheMenuThatHoldsTheItem)
{
    EventLog fileEvents(file);
    EventLog playEvents(play);
    EventLog barEvents(bar);
    postWindowMessage(&window, WM_COMMAND, 11, 0);
    settle();
    EXPECT_EQ(playEvents.clicks, QList<int>{11});
    EXPECT_TRUE(fileEvents.clicks.isEmpty());
    EXPECT_TRUE(barEvents.clicks.isEmpty());

    // Not a menu command: a control's notification, or a code in the high word.
    postWindowMessage(&window, WM_COMMAND, 11, handleOf(&window));
    postWindowMessage(&window, WM_COMMAND, (1 << 16) | 11, 0);
    settle();
    EXPECT_EQ(playEvents.clicks.size(), 1);
}

TEST_F(Menus, AClickTakesTheSameRoadAsACommand)
{
    EventLog fileEvents(file);
    file.itemAction(1, MF_BYCOMMAND)->trigger();
    EXPECT_TRUE(fileEvents.clicks.isEmpty()) << "posted, like a menu command";
    settle();
    EXPECT_EQ(fileEvents.clicks, QList<int>{1});
    // An unavailable item cannot be chosen.
    file.setPItemEnabled(1, MF_BYCOMMAND, kItemGrayed);
    file.itemAction(1, MF_BYCOMMAND)->trigger();
    settle();
    EXPECT_EQ(fileEvents.clicks.size(), 1);
}

TEST_F(Menus, OpeningAMenuRaisesInitMenuOnThatMenuOnly)
{
    EventLog fileEvents(file);
    EventLog playEvents(play);
    file.menu()->popup(QPoint(10, 10));
    settle();
    EXPECT_EQ(fileEvents.inits, 1);
    EXPECT_EQ(playEvents.inits, 0);
    file.menu()->hide();
    settle();
}

TEST_F(Menus, ClosingAnyMenuRaisesCloseMenuOnEveryMenuOfTheWindow)
{
    EventLog barEvents(bar);
    EventLog fileEvents(file);
    EventLog playEvents(play);
    play.menu()->popup(QPoint(10, 10));
    settle();
    EXPECT_EQ(barEvents.closes, 0);
    play.menu()->hide();
    settle();
    EXPECT_EQ(barEvents.closes, 1);
    EXPECT_EQ(fileEvents.closes, 1);
    EXPECT_EQ(playEvents.closes, 1);
}

TEST_F(Menus, MovingFromOneDropDownToTheNextIsNotAClose)
{
    EventLog barEvents(bar);
    file.menu()->popup(QPoint(10, 10));
    settle();
    // Along the menu bar one drop-down hides and the next shows in one event.
    file.menu()->hide();
    play.menu()->popup(QPoint(60, 10));
    settle();
    EXPECT_EQ(barEvents.closes, 0);
    play.menu()->hide();
    settle();
    EXPECT_EQ(barEvents.closes, 1);
}

TEST_F(Menus, HoveringAnItemRaisesMenuSelectWithItsKeySeparatorsToo)
{
    EventLog fileEvents(file);
    EventLog playEvents(play);
    openAndHover(file, 2);
    ASSERT_FALSE(fileEvents.selects.isEmpty());
    EXPECT_EQ(fileEvents.selects.last(), 2);
    openAndHover(file, 4);
    EXPECT_EQ(fileEvents.selects.last(), 4);
    // A greyed item is highlighted and explained like any other.
    file.setPItemEnabled(5, MF_BYCOMMAND, kItemGrayed);
    openAndHover(file, 5);
    EXPECT_EQ(fileEvents.selects.last(), 5);
    EXPECT_TRUE(playEvents.selects.isEmpty());
    file.menu()->hide();
    settle();
}

TEST_F(Menus, DropDownsAndPictures)
{
    EXPECT_EQ(bar.pItemDropDownMenu(0, MF_BYCOMMAND), file.phMenu());
    EXPECT_EQ(bar.itemAction(0, MF_BYCOMMAND)->menu(), file.menu());
    EXPECT_FALSE(bar.setPItemDropDownMenu(0, MF_BYCOMMAND, 999999)) << "no such menu";
    EXPECT_TRUE(bar.setPItemDropDownMenu(10, MF_BYCOMMAND, 0));
    EXPECT_EQ(bar.pItemDropDownMenu(10, MF_BYCOMMAND), 0);

    QPixmap picture(40, 30);
    picture.fill(Qt::darkCyan);
    EXPECT_TRUE(file.mAddItem(71, -1, {}, {}, picture, MFT_BITMAP));
    EXPECT_EQ(file.pItemPicture(71, MF_BYCOMMAND).size(), QSize(40, 30));
    EXPECT_TRUE(file.pItemPicture(1, MF_BYCOMMAND).isNull());
    EXPECT_FALSE(file.setPItemPicture(1, MF_BYCOMMAND, picture)) << "not a bitmap item";
    EXPECT_EQ(file.pItemCaption(71, MF_BYCOMMAND), QString());
}

TEST(SystemMenu, MenuClickMayChangeTheCommand)
{
    QMainWindow window;
    clsActiveMenu system;
    ASSERT_TRUE(system.mCreate(&window, kSystemMenu));
    clsActiveMenu again;
    ASSERT_TRUE(again.mCreate(&window, kSystemMenu));
    EXPECT_EQ(system.phMenu(), again.phMenu()) << "one system menu per window";
    QObject::connect(&system, &clsActiveMenu::MenuClick, [](int &key, bool &handled) {
        key = 0xF060;
        handled = key != 0;
    });
    qintptr seen = 0;
    QObject::connect(&again, &clsActiveMenu::MenuClick, [&seen](int &key, bool &) { seen = key; });
    sendWindowMessage(&window, WM_SYSCOMMAND, 0xF020, 0);
    EXPECT_EQ(seen, 0xF060);
}

TEST(MenuLifetime, AMenuObjectOutlivingItsWindowIsHarmless)
{
    auto *window = new QMainWindow;
    clsActiveMenu menu;
    ASSERT_TRUE(menu.mCreate(window, kPopupMenu));
    menu.mAddItem(1, -1, QStringLiteral("One"));
    delete window;
    EXPECT_EQ(menu.menu(), nullptr);
    EXPECT_EQ(menu.pItemCount(), 0);
    EXPECT_FALSE(menu.mAddItem(2, -1, QStringLiteral("Two")));
}

TEST(MenuLifetime, AHandlerMayDestroyTheMenuObject)
{
    QMainWindow window;
    auto *menu = new clsActiveMenu;
    ASSERT_TRUE(menu->mCreate(&window, kPopupMenu));
    menu->mAddItem(1, -1, QStringLiteral("One"));
    QObject::connect(menu, &clsActiveMenu::MenuClick, [&menu](int &, bool &) {
        delete menu;
        menu = nullptr;
    });
    sendWindowMessage(&window, WM_COMMAND, 1, 0);
    EXPECT_EQ(menu, nullptr);
    sendWindowMessage(&window, WM_COMMAND, 1, 0);
}

} // namespace

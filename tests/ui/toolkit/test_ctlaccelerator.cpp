// Key bindings of a form, driven by real key events on a shown, active window.
#include "tests/support/xvfb.h"
#include "ui/toolkit/ctlaccelerator.h"
#include "ui/toolkit/mojwinhook.h"

#include "ui/toolkit/windowmessage.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace orvane::test {
namespace {

using ui::toolkit::AccelEntry;
using ui::toolkit::ctlAccelerator;
using ui::toolkit::WindowMessageEvent;
namespace mojWinHook = ui::toolkit::mojWinHook;

constexpr int kNoShift = 0;
constexpr int kCtrl = 2;
constexpr int kVkO = 79;
constexpr int kVkX = 88;
constexpr int kVkInsert = 45;
constexpr quint32 kWmCommand = 0x0111;
constexpr quint32 kWmSysCommand = 0x0112;
constexpr int kScClose = 0xF060;

struct Message {
    quint32 message;
    qintptr wParam;
    bool operator==(const Message &) const = default;
};

// Writes down the window messages posted to the form.
class MessageRecorder final : public QObject
{
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == WindowMessageEvent::eventType()) {
            const auto *message = static_cast<WindowMessageEvent *>(event);
            messages.append({message->message, message->wParam});
            return true;
        }
        return false;
    }
    QList<Message> messages;
};

QAction *addItem(QMenu *menu, const QString &text, int id)
{
    QAction *action = menu->addAction(text);
    action->setProperty(ui::toolkit::kItemIdProperty, id);
    return action;
}

QVariant object(QObject *o)
{
    return QVariant::fromValue(o);
}

// A main window with the menus of the player: File (Open 1, Quit 5),
// PlayList (Add 21, Edit 22, separator, Delete 23, Display sizes > 1x 65).
class AcceleratorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form = std::make_unique<QMainWindow>();
        file = form->menuBar()->addMenu(QStringLiteral("&File"));
        open = addItem(file, QStringLiteral("&Open"), 1);
        addItem(file, QStringLiteral("&Quit\tAlt+F4"), 5);
        playList = form->menuBar()->addMenu(QStringLiteral("&PlayList"));
        add = addItem(playList, QStringLiteral("&Add"), 21);
        addItem(playList, QStringLiteral("&Edit"), 22);
        playList->addSeparator();
        addItem(playList, QStringLiteral("&Delete"), 23);
        sizes = playList->addMenu(QStringLiteral("Display sizes"));
        addItem(sizes, QStringLiteral("1x"), 65);
        edit = new QLineEdit(form.get());
        form->setCentralWidget(edit);
        form->installEventFilter(&recorder);
        accel = new ctlAccelerator(form.get());
        show(form.get());
        edit->setFocus();
    }

    void TearDown() override
    {
        form.reset();
        EXPECT_EQ(mojWinHook::HookHandle(ui::toolkit::WH_KEYBOARD), 0u);
    }

    static void show(QWidget *window)
    {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window, 5000));
    }

    // A key pressed and let go at the focused control, then the posted
    // messages delivered.
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget *focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, static_cast<Qt::Key>(key), modifiers);
        QCoreApplication::processEvents();
    }

    QList<Message> takeMessages()
    {
        QCoreApplication::processEvents();
        return std::exchange(recorder.messages, {});
    }

    int number(int shift, int keycode) const
    {
        const QVariant v = form->property(ctlAccelerator::propertyName(shift, keycode).constData());
        return v.isValid() ? v.toInt() : 0;
    }

    MessageRecorder recorder;
    std::unique_ptr<QMainWindow> form;
    QMenu *file = nullptr;
    QMenu *playList = nullptr;
    QMenu *sizes = nullptr;
    QAction *open = nullptr;
    QAction *add = nullptr;
    QLineEdit *edit = nullptr;
    ctlAccelerator *accel = nullptr;
};

TEST_F(AcceleratorTest, CtrlOPostsOneCommandPerKeyDownAutoRepeatIncluded)
{
    ASSERT_TRUE(accel->Add(QStringLiteral("open"), kCtrl, kVkO, 3, {object(file), 1}));
    EXPECT_EQ(number(kCtrl, kVkO), 1);
    EXPECT_EQ(form->property("zxaccel279").toInt(), 1);

    press(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(takeMessages(), (QList<Message>{{kWmCommand, 1}}));

    // Holding the key: the first down, two repeated downs, one up.
    QTest::keyPress(edit, Qt::Key_O, Qt::ControlModifier);
    for (int i = 0; i < 2; ++i) {
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_O, Qt::ControlModifier, QStringLiteral("o"),
                         true);
        QApplication::sendEvent(edit, &repeat);
    }
    QTest::keyRelease(edit, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(takeMessages().size(), 3);

    // O without Ctrl is not the binding: it types into the focused control.
    press(Qt::Key_O);
    EXPECT_TRUE(takeMessages().isEmpty());
    EXPECT_EQ(edit->text(), QStringLiteral("o"));
}

TEST_F(AcceleratorTest, AGreyedItemsKeyReachesTheFocusedControl)
{
    ASSERT_TRUE(accel->Add(QStringLiteral("add"), kNoShift, kVkX, 3, {object(playList), 21}));
    press(Qt::Key_X);
    EXPECT_EQ(takeMessages(), (QList<Message>{{kWmCommand, 21}}));
    EXPECT_EQ(edit->text(), QString()); // eaten

    add->setEnabled(false);
    press(Qt::Key_X);
    EXPECT_TRUE(takeMessages().isEmpty());
    EXPECT_EQ(edit->text(), QStringLiteral("x"));
}

TEST_F(AcceleratorTest, KeysWhileAnotherWindowIsActiveAreNotHandled)
{
    ASSERT_TRUE(accel->Add(QStringLiteral("add"), kNoShift, kVkX, 3, {object(playList), 21}));
    QLineEdit other;
    show(&other);
    other.setFocus();
    press(Qt::Key_X);
    EXPECT_TRUE(takeMessages().isEmpty());
    EXPECT_EQ(other.text(), QStringLiteral("x"));

    show(form.get());
    edit->setFocus();
    press(Qt::Key_X);
    EXPECT_EQ(takeMessages().size(), 1);
}

TEST_F(AcceleratorTest, EachCombinationPostsItsOwnItem)
{
    ASSERT_TRUE(accel->Add(QStringLiteral("open"), kCtrl, kVkO, 3, {object(file), 1}));
    ASSERT_TRUE(accel->Add(QStringLiteral("add"), kNoShift, kVkInsert, 3, {object(playList), 21}));
    ASSERT_TRUE(accel->Add(QStringLiteral("edit"), kCtrl, kVkInsert, 3, {object(playList), 22}));
    // The display-size item lives in a submenu of the menu given.
    ASSERT_TRUE(accel->Add(QStringLiteral("1x"), kCtrl, 97, 3, {object(playList), 65}));
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        qintptr id; // 0: nothing posted
    } cases[] = {
        {Qt::Key_O, Qt::ControlModifier, 1},
        {Qt::Key_O, Qt::ControlModifier | Qt::AltModifier, 0},
        {Qt::Key_Insert, Qt::ControlModifier, 22},
        {Qt::Key_Insert, Qt::NoModifier, 21},
        {Qt::Key_Insert, Qt::ShiftModifier, 0},
        {Qt::Key_1, Qt::ControlModifier | Qt::KeypadModifier, 65},
        {Qt::Key_1, Qt::ControlModifier, 0}, // the main block's 1 is another key
    };
    for (const auto &c : cases) {
        press(c.key, c.modifiers);
        const QList<Message> expected =
            c.id ? QList<Message>{{kWmCommand, c.id}} : QList<Message>{};
        EXPECT_EQ(takeMessages(), expected) << c.key << " " << c.modifiers.toInt();
    }
}

TEST_F(AcceleratorTest, RemovingAMiddleBindingRenumbersTheLaterOnes)
{
    ASSERT_TRUE(accel->Add(QStringLiteral("open"), kCtrl, kVkO, 3, {object(file), 1}));
    ASSERT_TRUE(accel->Add(QStringLiteral("add"), kNoShift, kVkInsert, 3, {object(playList), 21}));
    ASSERT_TRUE(accel->Add(QStringLiteral("edit"), kCtrl, kVkInsert, 3, {object(playList), 22}));
    ASSERT_TRUE(accel->Add(QStringLiteral("delete"), kNoShift, 46, 3, {object(playList), 23}));

    ASSERT_TRUE(accel->Remove(QStringLiteral("add")));
    EXPECT_FALSE(accel->Remove(QStringLiteral("add")));
    EXPECT_EQ(number(kCtrl, kVkO), 1);
    EXPECT_EQ(number(kNoShift, kVkInsert), 0);
    EXPECT_EQ(number(kCtrl, kVkInsert), 2);
    EXPECT_EQ(number(kNoShift, 46), 3);
    ASSERT_EQ(accel->Keys().size(), 3);
    EXPECT_EQ(accel->Keys().at(2).Key, QStringLiteral("delete"));

    press(Qt::Key_Insert);
    press(Qt::Key_Delete);
    press(Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(takeMessages(), (QList<Message>{{kWmCommand, 23}, {kWmCommand, 22}}));

    // The freed combination can be bound again, at the end.
    EXPECT_TRUE(accel->Add(QStringLiteral("add"), kNoShift, kVkInsert, 3, {object(playList), 21}));
    EXPECT_EQ(number(kNoShift, kVkInsert), 4);
    EXPECT_EQ(accel->Keycode(QStringLiteral("edit")), kVkInsert);
    EXPECT_EQ(accel->Shift(QStringLiteral("edit")), kCtrl);
    EXPECT_EQ(accel->Keycode(QStringLiteral("none")), 0);
}

TEST_F(AcceleratorTest, AddRefusesWhatCannotBeBound)
{
    ASSERT_TRUE(accel->Add(QStringLiteral("open"), kCtrl, kVkO, 3, {object(file), 1}));
    QPushButton button(form.get());
    const auto address = static_cast<qulonglong>(reinterpret_cast<quintptr>(&button));
    QObject notAWidget;

    struct Case {
        const char *what;
        QString key;
        int shift;
        int keycode;
        int type;
        QVariantList values;
    };
    const QString fresh = QStringLiteral("fresh");
    const Case cases[] = {
        {"key already used", QStringLiteral("open"), kCtrl, kVkX, 0, {}},
        {"combination already bound", fresh, kCtrl, kVkO, 0, {}},
        {"keycode 0", fresh, kCtrl, 0, 0, {}},
        {"keycode beyond 16 bits", fresh, kCtrl, 0x10058, 0, {}},
        {"click: no widget", fresh, kCtrl, kVkX, 1, {}},
        {"click: two values", fresh, kCtrl, kVkX, 1, {address, address}},
        {"click: an address that is no widget", fresh, kCtrl, kVkX, 1, {address + 8}},
        {"click: not a widget", fresh, kCtrl, kVkX, 1, {object(&notAWidget)}},
        {"path: no position", fresh, kCtrl, kVkX, 2, {QStringLiteral("Ctrl+X")}},
        {"path: position out of range", fresh, kCtrl, kVkX, 2, {QString(), 0, 9}},
        {"path: negative position", fresh, kCtrl, kVkX, 2, {QString(), -1}},
        {"path: ends at a menu title", fresh, kCtrl, kVkX, 2, {QString(), 1}},
        {"path: separator has no id", fresh, kCtrl, kVkX, 2, {QString(), 1, 2}},
        {"item: a button is no menu", fresh, kCtrl, kVkX, 3, {object(&button), 1}},
        {"item: id not numeric", fresh, kCtrl, kVkX, 3, {object(file), QStringLiteral("one")}},
        {"item: id missing", fresh, kCtrl, kVkX, 3, {object(file)}},
        {"system: no window menu", fresh, kCtrl, kVkX, 4, {kScClose}},
    };
    for (const Case &c : cases) {
        EXPECT_FALSE(accel->Add(c.key, c.shift, c.keycode, c.type, c.values)) << c.what;
        EXPECT_EQ(accel->Keys().size(), 1) << c.what;
        EXPECT_EQ(number(kCtrl, kVkX), 0) << c.what;
    }
    EXPECT_EQ(open->text(), QStringLiteral("&Open"));

    // The same widget given as a number or as an object is accepted.
    EXPECT_TRUE(accel->Add(QStringLiteral("by number"), kCtrl, kVkX, 1, {address}));
    EXPECT_TRUE(accel->Add(QStringLiteral("by object"), kCtrl, 89, 1, {object(&button)}));
}

TEST_F(AcceleratorTest, TheHookExistsExactlyWhileABindingExists)
{
    const auto hook = [] { return mojWinHook::HookHandle(ui::toolkit::WH_KEYBOARD); };
    EXPECT_EQ(hook(), 0u);
    ASSERT_TRUE(accel->Add(QStringLiteral("open"), kCtrl, kVkO, 3, {object(file), 1}));
    EXPECT_NE(hook(), 0u);
    ASSERT_TRUE(accel->Add(QStringLiteral("add"), kNoShift, kVkX, 3, {object(playList), 21}));
    EXPECT_EQ(mojWinHook::ClientCount(ui::toolkit::WH_KEYBOARD), 1);
    EXPECT_TRUE(accel->Remove(QStringLiteral("open")));
    EXPECT_NE(hook(), 0u);
    EXPECT_TRUE(accel->Remove(QStringLiteral("add")));
    EXPECT_EQ(hook(), 0u);
    press(Qt::Key_X);
    EXPECT_TRUE(takeMessages().isEmpty());
    EXPECT_EQ(edit->text(), QStringLiteral("x"));

    ASSERT_TRUE(accel->Add(QStringLiteral("add"), kNoShift, kVkX, 3, {object(playList), 21}));
    EXPECT_NE(hook(), 0u);
    press(Qt::Key_X);
    EXPECT_EQ(takeMessages().size(), 1);

    // Destroying the control takes its hook and properties with it.
    delete accel;
    EXPECT_EQ(hook(), 0u);
    EXPECT_EQ(number(kNoShift, kVkX), 0);
    press(Qt::Key_X);
    EXPECT_TRUE(takeMessages().isEmpty());
}

TEST_F(AcceleratorTest, AMenuPathWritesTheKeyTextAndRemoveWritesTheOldOneBack)
{
    open->setText(QStringLiteral("&Open\tOld"));
    ASSERT_TRUE(
        accel->Add(QStringLiteral("open"), kCtrl, kVkO, 2, {QStringLiteral("Ctrl+O"), 0, 0}));
    EXPECT_EQ(open->text(), QStringLiteral("&Open\tCtrl+O"));
    EXPECT_EQ(accel->Keys().at(0).OldAccessText, QStringLiteral("Old"));

    // Into the Display sizes submenu: PlayList is 1, the submenu 4, its item 0.
    QAction *oneX = sizes->actions().at(0);
    ASSERT_TRUE(accel->Add(QStringLiteral("1x"), kCtrl, 97, 2, {QString(), 1, 4, 0}));
    EXPECT_EQ(oneX->text(), QStringLiteral("1x"));

    press(Qt::Key_O, Qt::ControlModifier);
    press(Qt::Key_1, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(takeMessages(), (QList<Message>{{kWmCommand, 1}, {kWmCommand, 65}}));

    // The caption may change meanwhile (a new language); its key text goes back.
    open->setText(QStringLiteral("&Ouvrir\tCtrl+O"));
    ASSERT_TRUE(accel->Remove(QStringLiteral("open")));
    EXPECT_EQ(open->text(), QStringLiteral("&Ouvrir\tOld"));
}

TEST_F(AcceleratorTest, TheWindowMenuTakesSystemCommands)
{
    QMenu windowMenu;
    QAction *close = addItem(&windowMenu, QStringLiteral("&Close\tAlt+F4"), kScClose);
    form->setProperty(ui::toolkit::kWindowMenuProperty, QVariant::fromValue(&windowMenu));

    ASSERT_TRUE(
        accel->Add(QStringLiteral("close"), kCtrl, 87, 4, {kScClose, QStringLiteral("Ctrl+W")}));
    EXPECT_EQ(close->text(), QStringLiteral("&Close\tCtrl+W"));
    // Without a key text the item keeps its own, also after Remove.
    ASSERT_TRUE(accel->Add(QStringLiteral("close2"), kCtrl, 81, 4, {kScClose}));
    EXPECT_EQ(close->text(), QStringLiteral("&Close\tCtrl+W"));

    press(Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(takeMessages(), (QList<Message>{{kWmSysCommand, kScClose}}));
    close->setEnabled(false);
    press(Qt::Key_W, Qt::ControlModifier);
    EXPECT_TRUE(takeMessages().isEmpty());

    ASSERT_TRUE(accel->Remove(QStringLiteral("close2")));
    EXPECT_EQ(close->text(), QStringLiteral("&Close\tCtrl+W"));
    ASSERT_TRUE(accel->Remove(QStringLiteral("close")));
    EXPECT_EQ(close->text(), QStringLiteral("&Close\tAlt+F4"));
}

TEST_F(AcceleratorTest, AButtonBindingFocusesAndClicksItWhenEnabled)
{
    auto *button = new QPushButton(QStringLiteral("Go"), form.get());
    button->show();
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
    ASSERT_TRUE(accel->Add(QStringLiteral("go"), kCtrl, 71, 1, {object(button)}));

    press(Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(QApplication::focusWidget(), button);

    button->setEnabled(false);
    edit->setFocus();
    press(Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(QApplication::focusWidget(), edit);

    // A button that is gone is a disabled target, not a crash.
    delete button;
    press(Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(clicks, 1);
}

TEST_F(AcceleratorTest, AnEventBindingRaisesAccelKeyOncePerKeyAndMayLetTheKeyGoOn)
{
    // The focus sits in a widget that ignores keys, so each key travels up
    // through its parents; it must still be handled once.
    auto *plain = new QWidget(edit);
    plain->setFocusPolicy(Qt::StrongFocus);
    plain->show();
    plain->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), plain);

    int raised = 0;
    bool letGoOn = false;
    QObject::connect(accel, &ctlAccelerator::AccelKey,
                     [&](const QString &key, int shift, int keycode, bool *goOn) {
                         ++raised;
                         EXPECT_EQ(key, QStringLiteral("ev"));
                         EXPECT_EQ(shift, 1 | 2 | 4);
                         EXPECT_EQ(keycode, 112);
                         *goOn = letGoOn;
                     });
    ASSERT_TRUE(accel->Add(QStringLiteral("ev"), 7, 112, 0));
    const auto all = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;

    QKeyEvent eaten(QEvent::KeyPress, Qt::Key_F1, all);
    eaten.ignore();
    QApplication::sendEvent(plain, &eaten);
    EXPECT_EQ(raised, 1);
    EXPECT_TRUE(eaten.isAccepted());

    letGoOn = true;
    QKeyEvent passed(QEvent::KeyPress, Qt::Key_F1, all);
    QApplication::sendEvent(plain, &passed);
    EXPECT_EQ(raised, 2);
    EXPECT_FALSE(passed.isAccepted()); // nobody on the way took it
}

TEST_F(AcceleratorTest, AHandlerMayRemoveItsOwnBinding)
{
    QObject::connect(accel, &ctlAccelerator::AccelKey,
                     [&](const QString &key, int, int, bool *) { accel->Remove(key); });
    ASSERT_TRUE(accel->Add(QStringLiteral("once"), kNoShift, kVkX, 0));
    press(Qt::Key_X);
    EXPECT_TRUE(accel->Keys().isEmpty());
    EXPECT_EQ(mojWinHook::HookHandle(ui::toolkit::WH_KEYBOARD), 0u);
    press(Qt::Key_X);
    EXPECT_EQ(edit->text(), QStringLiteral("x"));
}

// The dispatcher's rules, with clients that only record.
class RecordingClient final : public ui::toolkit::clsWindowsHook
{
public:
    RecordingClient(QStringList *log, QString name, bool stop)
        : m_log(log)
        , m_name(std::move(name))
        , m_stop(stop)
    {}
    qint32 HookProc(int, int, qintptr &wParam, qintptr &, bool &callNext) override
    {
        m_log->append(m_name + QString::number(wParam));
        if (onCall)
            onCall();
        if (m_stop)
            callNext = false;
        wParam += 1; // later clients see what earlier ones left
        return 0;
    }
    std::function<void()> onCall;

private:
    QStringList *m_log;
    QString m_name;
    bool m_stop;
};

TEST(WinHook, DispatchStopsAtTheFirstClientThatClearsCallNext)
{
    constexpr int kType = 4; // a type without a stand-in: the list only
    QStringList log;
    RecordingClient a(&log, QStringLiteral("a"), false);
    RecordingClient b(&log, QStringLiteral("b"), true);
    RecordingClient c(&log, QStringLiteral("c"), false);
    mojWinHook::AddHook(kType, &a);
    mojWinHook::AddHook(kType, &b);
    mojWinHook::AddHook(kType, &c);
    mojWinHook::AddHook(kType, &a); // already there: keeps its place
    mojWinHook::AddHook(13, &a);    // no such type
    mojWinHook::AddHook(-2, &a);
    EXPECT_EQ(mojWinHook::ClientCount(kType), 3);
    EXPECT_EQ(mojWinHook::ClientCount(13), 0);
    EXPECT_EQ(mojWinHook::HookHandle(kType), 0u);

    EXPECT_EQ(mojWinHook::Dispatch(kType, 0, 10, 0), 1);
    EXPECT_EQ(log, (QStringList{QStringLiteral("a10"), QStringLiteral("b11")}));

    log.clear();
    mojWinHook::RemoveHook(kType, &b);
    EXPECT_EQ(mojWinHook::Dispatch(kType, 0, 10, 0), 0);
    EXPECT_EQ(log, (QStringList{QStringLiteral("a10"), QStringLiteral("c11")}));

    // A client that removes a later one during the call: that one is skipped.
    log.clear();
    a.onCall = [&] { mojWinHook::RemoveHook(kType, &c); };
    mojWinHook::Dispatch(kType, 0, 10, 0);
    EXPECT_EQ(log, (QStringList{QStringLiteral("a10")}));
    mojWinHook::RemoveHook(kType, &a);
    EXPECT_EQ(mojWinHook::ClientCount(kType), 0);
}

// The same bindings on a real X server, keys typed by xdotool: the key
// events come from the platform through the window to the focused control.
// The window lives in a child process, as this one runs offscreen.
TEST(AcceleratorChild, DISABLED_ReportsTheCommandsOfRealKeys)
{
    QMainWindow form;
    QMenu *playList = form.menuBar()->addMenu(QStringLiteral("&PlayList"));
    addItem(playList, QStringLiteral("&Open"), 1);
    addItem(playList, QStringLiteral("&Add"), 21);
    addItem(playList, QStringLiteral("&Edit"), 22);
    addItem(playList, QStringLiteral("&Delete"), 23)->setEnabled(false);
    auto *edit = new QLineEdit(&form);
    form.setCentralWidget(edit);
    MessageRecorder recorder;
    form.installEventFilter(&recorder);
    auto *accel = new ctlAccelerator(&form);
    ASSERT_TRUE(accel->Add(QStringLiteral("open"), kCtrl, kVkO, 3, {object(playList), 1}));
    ASSERT_TRUE(accel->Add(QStringLiteral("add"), kNoShift, kVkInsert, 3, {object(playList), 21}));
    ASSERT_TRUE(accel->Add(QStringLiteral("edit"), kCtrl, kVkInsert, 3, {object(playList), 22}));
    ASSERT_TRUE(accel->Add(QStringLiteral("delete"), kNoShift, kVkX, 3, {object(playList), 23}));
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form, 10000));
    edit->setFocus();
    std::printf("accel: ready\n");
    std::fflush(stdout);

    // Until the closing 'q' arrives, bounded.
    const QDeadlineTimer deadline(20000);
    while (!edit->text().endsWith(QLatin1Char('q')) && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QCoreApplication::processEvents();
    for (const Message &m : std::as_const(recorder.messages))
        std::printf("accel: command %d\n", static_cast<int>(m.wParam));
    std::printf("accel: text %s\n", qPrintable(edit->text()));
    std::fflush(stdout);
}

TEST(AcceleratorOnX, RealKeysActOnceAndGreyedOnesReachTheControl)
{
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        GTEST_SKIP() << "xdotool is not installed";
    Xvfb xvfb;
    ASSERT_TRUE(xvfb.start(800, 600)) << qPrintable(xvfb.error());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), xvfb.display());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));

    QProcess child;
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_also_run_disabled_tests"),
                 QStringLiteral("--gtest_filter=AcceleratorChild.*")});
    QByteArray output;
    const QDeadlineTimer ready(20000);
    while (!output.contains("accel: ready") && !ready.hasExpired() &&
           child.state() != QProcess::NotRunning) {
        child.waitForReadyRead(200);
        output += child.readAllStandardOutput();
    }
    ASSERT_TRUE(output.contains("accel: ready")) << output.constData();

    QProcess xdotool;
    xdotool.setProcessEnvironment(env);
    xdotool.start(QStringLiteral("xdotool"),
                  {QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("40"),
                   QStringLiteral("ctrl+o"), QStringLiteral("Insert"),
                   QStringLiteral("ctrl+Insert"), QStringLiteral("x"), QStringLiteral("o"),
                   QStringLiteral("q")});
    ASSERT_TRUE(xdotool.waitForFinished(20000));
    EXPECT_TRUE(child.waitForFinished(30000));
    output += child.readAllStandardOutput();

    QStringList reported;
    for (const QByteArray &line : output.split('\n')) {
        if (line.startsWith("accel: command") || line.startsWith("accel: text"))
            reported.append(QString::fromUtf8(line.mid(7)));
    }
    EXPECT_EQ(reported, (QStringList{QStringLiteral("command 1"), QStringLiteral("command 21"),
                                     QStringLiteral("command 22"), QStringLiteral("text xoq")}))
        << output.constData();
}

} // namespace
} // namespace orvane::test

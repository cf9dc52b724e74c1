#include "ui/toolkit/clsmessage.h"
#include "ui/toolkit/windowhandles.h"
#include "ui/toolkit/windowmessage.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

using namespace orvane::ui::toolkit;

namespace {

constexpr quint32 kTestMessage = 0x0400; // a user message number

struct Delivery {
    QString who;
    quint32 message;
    qintptr wParam;
    qintptr lParam;
};

// A window that notes the messages its own handling receives.
class RecordingWindow : public QWidget
{
public:
    QList<Delivery> *log = nullptr;

protected:
    bool event(QEvent *e) override
    {
        if (e->type() != WindowMessageEvent::eventType())
            return QWidget::event(e);
        const auto *message = static_cast<WindowMessageEvent *>(e);
        if (log)
            log->append(
                {QStringLiteral("window"), message->message, message->wParam, message->lParam});
        static_cast<WindowMessageEvent *>(e)->result = 77;
        return true;
    }
};

class Client : public MessageClient
{
public:
    Client(QString name, QList<Delivery> &log)
        : m_name(std::move(name))
        , m_log(log)
    {}

    std::function<qintptr(quint32 &, qintptr &, qintptr &, bool &)> reaction;

    qintptr CallBackWindow(qintptr &, quint32 &message, qintptr &wParam, qintptr &lParam,
                           bool &handled) override
    {
        m_log.append({m_name, message, wParam, lParam});
        return reaction ? reaction(message, wParam, lParam, handled) : 0;
    }

private:
    QString m_name;
    QList<Delivery> &m_log;
};

QStringList order(const QList<Delivery> &log)
{
    QStringList names;
    for (const Delivery &d : log)
        names << d.who;
    return names;
}

class Dispatcher : public ::testing::Test
{
protected:
    void SetUp() override { window.log = &log; }
    qintptr handle() { return handleOf(&window); }
    bool hasProperty() { return window.property(handlePropertyName(handle())).isValid(); }

    QList<Delivery> log;
    RecordingWindow window;
    Client first{QStringLiteral("first"), log};
    Client second{QStringLiteral("second"), log};
};

TEST_F(Dispatcher, FirstClientInstallsSecondOnlyAdds)
{
    EXPECT_EQ(clsMessage::MessageClass(handle()), nullptr);
    ASSERT_TRUE(clsMessage::attach(&first, &window));
    clsMessage *dispatcher = clsMessage::MessageClass(handle());
    ASSERT_NE(dispatcher, nullptr);
    EXPECT_TRUE(hasProperty());
    EXPECT_EQ(dispatcher->parent(), &window);
    ASSERT_TRUE(clsMessage::attach(&second, &window));
    EXPECT_EQ(clsMessage::MessageClass(handle()), dispatcher);
    EXPECT_EQ(dispatcher->MessageCount(), 2);
    // The same client twice is two entries; owners are not compared.
    EXPECT_TRUE(dispatcher->AddMessage(&first, handle(), true));
    EXPECT_EQ(dispatcher->MessageCount(), 3);
}

TEST_F(Dispatcher, RefusesAClientForAnotherWindow)
{
    QWidget other;
    ASSERT_TRUE(clsMessage::attach(&first, &window));
    clsMessage *dispatcher = clsMessage::MessageClass(handle());
    EXPECT_FALSE(dispatcher->AddMessage(&second, handleOf(&other), true));
    EXPECT_EQ(dispatcher->MessageCount(), 1);
    EXPECT_EQ(clsMessage::MessageClass(handleOf(&other)), nullptr);
}

TEST_F(Dispatcher, LastClientLeavingRestoresTheWindowAndDeletesTheDispatcher)
{
    ASSERT_TRUE(clsMessage::attach(&first, &window));
    ASSERT_TRUE(clsMessage::attach(&second, &window));
    QPointer<clsMessage> dispatcher = clsMessage::MessageClass(handle());
    EXPECT_TRUE(clsMessage::detach(&first, &window));
    EXPECT_TRUE(hasProperty());
    EXPECT_FALSE(clsMessage::detach(&first, &window)) << "not registered any more";
    EXPECT_TRUE(clsMessage::detach(&second, &window));
    EXPECT_FALSE(hasProperty());
    EXPECT_EQ(clsMessage::MessageClass(handle()), nullptr);

    sendWindowMessage(&window, kTestMessage, 1, 2);
    EXPECT_EQ(order(log), QStringList{QStringLiteral("window")}) << "no filter left";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dispatcher.isNull());
}

TEST_F(Dispatcher, UnhandledMessagesReachTheWindowAfterEveryClient)
{
    clsMessage::attach(&first, &window);
    clsMessage::attach(&second, &window);
    EXPECT_EQ(sendWindowMessage(&window, kTestMessage, 1, 2), 77);
    EXPECT_EQ(order(log), (QStringList{QStringLiteral("first"), QStringLiteral("second"),
                                       QStringLiteral("window")}));
    log.clear();
    postWindowMessage(&window, kTestMessage, 3, 4);
    QCoreApplication::sendPostedEvents(&window);
    EXPECT_EQ(log.size(), 3);
}

TEST_F(Dispatcher, HandledStopsTheWindowButNotTheLaterClients)
{
    first.reaction = [](quint32 &, qintptr &, qintptr &, bool &handled) -> qintptr {
        handled = true;
        return 1;
    };
    clsMessage::attach(&first, &window);
    clsMessage::attach(&second, &window);
    // The later client's 0 is the result; the message stays away from the window.
    EXPECT_EQ(sendWindowMessage(&window, kTestMessage, 0, 0), 0);
    EXPECT_EQ(order(log), (QStringList{QStringLiteral("first"), QStringLiteral("second")}));
}

TEST_F(Dispatcher, ChangedParametersReachTheNextClientAndTheWindow)
{
    first.reaction = [](quint32 &, qintptr &wParam, qintptr &lParam, bool &) -> qintptr {
        wParam = 41;
        lParam = 42;
        return 0;
    };
    clsMessage::attach(&first, &window);
    clsMessage::attach(&second, &window);
    sendWindowMessage(&window, kTestMessage, 1, 2);
    ASSERT_EQ(log.size(), 3);
    EXPECT_EQ(log[1].wParam, 41);
    EXPECT_EQ(log[1].lParam, 42);
    EXPECT_EQ(log[2].lParam, 42) << "the window sees the change too";
}

TEST_F(Dispatcher, ACommandFromARegisteredChildReachesItsClientFirst)
{
    QWidget button(&window);
    Client child(QStringLiteral("child"), log);
    clsMessage::attach(&first, &window);
    clsMessage *dispatcher = clsMessage::MessageClass(handle());
    ASSERT_TRUE(dispatcher->AddChildMessage(&child, handleOf(&button), true));
    EXPECT_FALSE(dispatcher->AddChildMessage(&second, handleOf(&button), true));
    EXPECT_EQ(dispatcher->ChildMessageCount(), 1);

    sendWindowMessage(&window, WM_COMMAND, 5, handleOf(&button));
    EXPECT_EQ(order(log), (QStringList{QStringLiteral("child"), QStringLiteral("first"),
                                       QStringLiteral("window")}));
    log.clear();
    NotifyHeader header{handleOf(&button), 0, 0};
    sendWindowMessage(&window, WM_NOTIFY, 0, reinterpret_cast<qintptr>(&header));
    EXPECT_EQ(order(log).first(), QStringLiteral("child"));
    log.clear();
    sendWindowMessage(&window, WM_COMMAND, 5, 0) /* a menu command */;
    EXPECT_EQ(order(log).first(), QStringLiteral("first"));

    EXPECT_TRUE(dispatcher->DeleteChildMessage(&child, handleOf(&button)));
    EXPECT_FALSE(dispatcher->DeleteChildMessage(&child, handleOf(&button)));
}

TEST_F(Dispatcher, AMessageSentFromInsideAClientGoesStraightToTheWindow)
{
    first.reaction = [this](quint32 &message, qintptr &, qintptr &, bool &) -> qintptr {
        if (message == kTestMessage)
            sendWindowMessage(&window, kTestMessage + 1, 0, 0);
        return 0;
    };
    clsMessage::attach(&first, &window);
    sendWindowMessage(&window, kTestMessage, 0, 0);
    ASSERT_EQ(log.size(), 3);
    EXPECT_EQ(log[0].who, QStringLiteral("first"));
    EXPECT_EQ(log[1].who, QStringLiteral("window"));
    EXPECT_EQ(log[1].message, kTestMessage + 1);
}

TEST_F(Dispatcher, AClientLeavingDuringTheDispatchIsNotCalledAfterwards)
{
    first.reaction = [this](quint32 &, qintptr &, qintptr &, bool &) -> qintptr {
        clsMessage::detach(&second, &window);
        return 0;
    };
    clsMessage::attach(&first, &window);
    clsMessage::attach(&second, &window);
    sendWindowMessage(&window, kTestMessage, 0, 0);
    EXPECT_EQ(order(log), (QStringList{QStringLiteral("first"), QStringLiteral("window")}));
}

TEST_F(Dispatcher, DisabledEntriesAreSkipped)
{
    clsMessage::attach(&first, &window);
    clsMessage::MessageClass(handle())->AddMessage(&second, handle(), false);
    sendWindowMessage(&window, kTestMessage, 0, 0);
    EXPECT_EQ(order(log), (QStringList{QStringLiteral("first"), QStringLiteral("window")}));
}

TEST(WindowHandles, AreStableAndForgetDestroyedObjects)
{
    auto *object = new QObject;
    const qintptr handle = handleOf(object);
    EXPECT_GT(handle, 0);
    EXPECT_EQ(handleOf(object), handle);
    EXPECT_EQ(objectOfHandle(handle), object);
    delete object;
    EXPECT_EQ(objectOfHandle(handle), nullptr);
    EXPECT_EQ(handleOf(nullptr), 0);
    EXPECT_EQ(handlePropertyName(1234), QByteArray("1234"));
}

TEST(WordHelpers, TakeParametersApartWithSignedResults)
{
    struct Case {
        const char *name;
        qint64 result;
        qint64 expected;
    };
    const Case cases[] = {
        {"HIWORD(0xFFFF0000)", clsMessage::HIWORD(0xFFFF0000LL), -1},
        {"HIWORD(0x7FFF0000)", clsMessage::HIWORD(0x7FFF0000LL), 32767},
        {"HIWORD(0x00010005)", clsMessage::HIWORD(0x00010005LL), 1},
        {"HIWORD(-1)", clsMessage::HIWORD(-1), -1},
        {"LOWORD(0x0000FFFF)", clsMessage::LOWORD(0x0000FFFFLL), -1},
        {"LOWORD(0x00017FFF)", clsMessage::LOWORD(0x00017FFFLL), 32767},
        {"LOWORD(0x8000)", clsMessage::LOWORD(0x8000), -32768},
        {"MAKEWORD(0x34, 0x92)", clsMessage::MAKEWORD(0x34, 0x92), -28108},
        {"MAKEWORD(0x34, 0x12)", clsMessage::MAKEWORD(0x34, 0x12), 0x1234},
        {"LOBYTE(300)", clsMessage::LOBYTE(300), 44},
        {"LOBYTE(-1)", clsMessage::LOBYTE(-1), 255},
        {"HIBYTE(0x01FF)", clsMessage::HIBYTE(0x01FF), 1},
        {"HIBYTE(-1)", clsMessage::HIBYTE(-1), 255},
        {"HIBYTE(0x12345678)", clsMessage::HIBYTE(0x12345678), 0x56},
        {"MAKELONG(5, 1)", *clsMessage::MAKELONG(5, 1), 0x10005},
        {"MAKELONG(-1, 0)", *clsMessage::MAKELONG(-1, 0), 0xFFFF},
        {"MAKELONG(0, -1)", *clsMessage::MAKELONG(0, -1), -65536},
        {"MAKELONG(0, 32767)", *clsMessage::MAKELONG(0, 32767), 0x7FFF0000},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.result, c.expected) << c.name;
    EXPECT_FALSE(clsMessage::MAKELONG(0, 32768).has_value());
    EXPECT_FALSE(clsMessage::MAKELONG(0, -32769).has_value());
}

} // namespace

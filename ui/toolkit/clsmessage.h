#pragma once

#include <QList>
#include <QObject>

#include <optional>

namespace orvane::ui::toolkit {

// A client of a window's message dispatcher. It sees every message of the
// window in registration order and may change the parameters (later clients
// and the window see the change) or set handled to keep the message from the
// window. The window is given by its handle (windowhandles.h).
class MessageClient
{
public:
    virtual ~MessageClient() = default;
    virtual qintptr CallBackWindow(qintptr &window, quint32 &message, qintptr &wParam,
                                   qintptr &lParam, bool &handled) = 0;
};

// The message dispatcher of one window. Attaching it installs the shared
// window procedure (mojmessage.h) as an event filter and a dynamic property,
// named after the window's handle, that leads back to it. The window owns its
// dispatcher: it goes when the window goes, or when its last client leaves.
// Create it with new; a dispatcher never attached is the creator's to delete.
class clsMessage : public QObject
{
    Q_OBJECT
public:
    explicit clsMessage(QObject *parent = nullptr);
    // Empties both lists; a dispatcher still attached also leaves its window,
    // so the window's property never points at a destroyed dispatcher.
    ~clsMessage() override;

    // Upper byte of the low 16 bits of value.
    static int HIBYTE(qint64 value);
    // value AND 255.
    static int LOBYTE(qint64 value);
    // high * 256 + low read as a signed 16-bit number.
    static qint32 MAKEWORD(int low, int high);
    // high * 65536 OR (low AND 65535); no result when high is outside -32768..32767.
    static std::optional<qint32> MAKELONG(qint64 low, qint64 high);
    // The upper 16 bits of the low 32 bits, signed.
    static qint32 HIWORD(qint64 value);
    // The low 16 bits, signed.
    static qint32 LOWORD(qint64 value);

    // Number of window clients.
    int MessageCount() const;
    // Number of child clients.
    int ChildMessageCount() const;
    // The dispatcher attached to the window with this handle, or nullptr.
    static clsMessage *MessageClass(qintptr window);

    // Adds a window client; false when the dispatcher serves another window.
    // The first client attaches the dispatcher to the window.
    bool AddMessage(MessageClient *client, qintptr window, bool enabled);
    // Removes every entry of the client; the last one detaches the dispatcher
    // and schedules its deletion. False when the client was not registered.
    bool DeleteMessage(MessageClient *client, qintptr window);
    // Removes the entry of a child window; false when it was not registered.
    bool DeleteChildMessage(MessageClient *client, qintptr child);
    // Sends the commands and notifications of a child window to client first;
    // false when that child is already registered.
    bool AddChildMessage(MessageClient *client, qintptr child, bool enabled);

    // The dispatch of one message to the clients. Returns the last client's
    // result; handled tells whether the window must not see the message.
    qintptr CallBackWindow(qintptr window, quint32 &message, qintptr &wParam, qintptr &lParam,
                           bool &handled);

    // The attaching steps in one: finds or creates the window's dispatcher and
    // adds the client to it.
    static bool attach(MessageClient *client, QObject *window);
    // Removes the client from the window's dispatcher, if there is one.
    static bool detach(MessageClient *client, QObject *window);

    // The window served, 0 when detached.
    qintptr subclassedWindow() const { return m_subclassedWindow; }

private:
    struct MessageEntry {
        MessageClient *owner = nullptr;
        qintptr key = 0;
        bool enabled = true;
    };

    static bool addEntry(qintptr key, MessageClient *owner, bool enabled, QList<MessageEntry> &list,
                         bool sameWindowRule);
    static bool removeEntries(qintptr key, MessageClient *owner, QList<MessageEntry> &list,
                              bool byOwner);
    bool startSubclass(qintptr window);
    bool endSubclass();
    MessageClient *findChildOwner(qintptr key) const;
    static qintptr callClient(MessageClient *client, qintptr window, quint32 &message,
                              qintptr &wParam, qintptr &lParam, bool &handled);

    qintptr m_subclassedWindow = 0;
    QList<MessageEntry> m_messages;
    QList<MessageEntry> m_childMessages;
    bool m_busy = false;
};

} // namespace orvane::ui::toolkit

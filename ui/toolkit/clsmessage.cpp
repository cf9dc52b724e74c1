#include "ui/toolkit/clsmessage.h"

#include "ui/toolkit/mojmessage.h"
#include "ui/toolkit/windowhandles.h"
#include "ui/toolkit/windowmessage.h"

#include <QVariant>

#include <algorithm>

namespace orvane::ui::toolkit {

clsMessage::clsMessage(QObject *parent)
    : QObject(parent)
{}

clsMessage::~clsMessage()
{
    endSubclass();
    m_messages.clear();
    m_childMessages.clear();
}

int clsMessage::HIBYTE(qint64 value)
{
    return static_cast<int>((value & 0xFFFF) >> 8);
}

int clsMessage::LOBYTE(qint64 value)
{
    return static_cast<int>(value & 0xFF);
}

qint32 clsMessage::MAKEWORD(int low, int high)
{
    return static_cast<qint16>(static_cast<quint16>(((high & 0xFF) << 8) | (low & 0xFF)));
}

std::optional<qint32> clsMessage::MAKELONG(qint64 low, qint64 high)
{
    if (high < -32768 || high > 32767)
        return std::nullopt;
    const auto bits = (static_cast<quint32>(high) << 16) | static_cast<quint32>(low & 0xFFFF);
    return static_cast<qint32>(bits);
}

qint32 clsMessage::HIWORD(qint64 value)
{
    return static_cast<qint16>(static_cast<quint16>((static_cast<quint64>(value) >> 16) & 0xFFFF));
}

qint32 clsMessage::LOWORD(qint64 value)
{
    return static_cast<qint16>(static_cast<quint16>(value & 0xFFFF));
}

int clsMessage::MessageCount() const
{
    return static_cast<int>(m_messages.size());
}

int clsMessage::ChildMessageCount() const
{
    return static_cast<int>(m_childMessages.size());
}

clsMessage *clsMessage::MessageClass(qintptr window)
{
    QObject *object = objectOfHandle(window);
    if (!object)
        return nullptr;
    return qobject_cast<clsMessage *>(
        object->property(handlePropertyName(window).constData()).value<QObject *>());
}

bool clsMessage::AddMessage(MessageClient *client, qintptr window, bool enabled)
{
    if (!client || !addEntry(window, client, enabled, m_messages, true))
        return false;
    if (m_messages.size() == 1)
        startSubclass(window);
    return true;
}

bool clsMessage::DeleteMessage(MessageClient *client, qintptr /*window*/)
{
    if (!removeEntries(0, client, m_messages, true))
        return false;
    if (m_messages.isEmpty()) {
        const bool ownedByWindow = m_subclassedWindow != 0 && parent() != nullptr &&
                                   parent() == objectOfHandle(m_subclassedWindow);
        endSubclass();
        // Deferred: the caller, or a dispatch in progress, may still use it.
        if (ownedByWindow)
            deleteLater();
    }
    return true;
}

bool clsMessage::DeleteChildMessage(MessageClient * /*client*/, qintptr child)
{
    return removeEntries(child, nullptr, m_childMessages, false);
}

bool clsMessage::AddChildMessage(MessageClient *client, qintptr child, bool enabled)
{
    if (!client)
        return false;
    return addEntry(child, client, enabled, m_childMessages, false);
}

qintptr clsMessage::callClient(MessageClient *client, qintptr window, quint32 &message,
                               qintptr &wParam, qintptr &lParam, bool &handled)
{
    qintptr windowArgument = window;
    return client->CallBackWindow(windowArgument, message, wParam, lParam, handled);
}

qintptr clsMessage::CallBackWindow(qintptr window, quint32 &message, qintptr &wParam,
                                   qintptr &lParam, bool &handled)
{
    handled = false;
    // A message that a client causes while the clients run goes straight
    // to the window, or the clients would recurse into themselves.
    if (m_busy)
        return 0;
    m_busy = true;
    qintptr result = 0;
    MessageClient *childOwner = nullptr;
    if (message == WM_COMMAND) {
        childOwner = findChildOwner(lParam);
    } else if (message == WM_NOTIFY && lParam != 0) {
        const auto *header = reinterpret_cast<const NotifyHeader *>(lParam);
        childOwner = findChildOwner(header->hwndFrom);
    }
    if (childOwner)
        result = callClient(childOwner, window, message, wParam, lParam, handled);
    // A client may remove itself or others while it runs: walk a copy, and
    // skip entries that are gone by the time their turn comes.
    const QList<MessageEntry> clients = m_messages;
    for (const MessageEntry &entry : clients) {
        if (!entry.enabled)
            continue;
        const bool stillRegistered =
            std::any_of(m_messages.cbegin(), m_messages.cend(),
                        [&entry](const MessageEntry &e) { return e.owner == entry.owner; });
        if (stillRegistered)
            result = callClient(entry.owner, window, message, wParam, lParam, handled);
    }
    m_busy = false;
    return result;
}

bool clsMessage::attach(MessageClient *client, QObject *window)
{
    if (!client || !window)
        return false;
    const qintptr handle = handleOf(window);
    clsMessage *dispatcher = MessageClass(handle);
    const bool created = dispatcher == nullptr;
    if (created)
        dispatcher = new clsMessage(window);
    if (dispatcher->AddMessage(client, handle, true))
        return true;
    if (created)
        delete dispatcher;
    return false;
}

bool clsMessage::detach(MessageClient *client, QObject *window)
{
    if (!window)
        return false;
    const qintptr handle = handleOf(window);
    clsMessage *dispatcher = MessageClass(handle);
    return dispatcher && dispatcher->DeleteMessage(client, handle);
}

bool clsMessage::addEntry(qintptr key, MessageClient *owner, bool enabled,
                          QList<MessageEntry> &list, bool sameWindowRule)
{
    for (const MessageEntry &entry : list) {
        if (sameWindowRule ? entry.key != key : entry.key == key)
            return false;
    }
    list.append(MessageEntry{owner, key, enabled});
    return true;
}

bool clsMessage::removeEntries(qintptr key, MessageClient *owner, QList<MessageEntry> &list,
                               bool byOwner)
{
    const auto removed = list.removeIf([&](const MessageEntry &entry) {
        return byOwner ? entry.owner == owner : entry.key == key;
    });
    return removed > 0;
}

bool clsMessage::startSubclass(qintptr window)
{
    QObject *object = objectOfHandle(window);
    if (!object)
        return false;
    m_subclassedWindow = window;
    // The window owns its dispatcher, so a window that goes takes it along.
    if (!parent())
        setParent(object);
    object->setProperty(handlePropertyName(window).constData(),
                        QVariant::fromValue(static_cast<QObject *>(this)));
    mojMessage::installWindowProc(object);
    return true;
}

bool clsMessage::endSubclass()
{
    if (m_subclassedWindow == 0)
        return false;
    if (QObject *object = objectOfHandle(m_subclassedWindow)) {
        mojMessage::removeWindowProc(object);
        object->setProperty(handlePropertyName(m_subclassedWindow).constData(), QVariant());
    }
    m_subclassedWindow = 0;
    return true;
}

MessageClient *clsMessage::findChildOwner(qintptr key) const
{
    for (const MessageEntry &entry : m_childMessages) {
        if (entry.key == key && entry.enabled)
            return entry.owner;
    }
    return nullptr;
}

} // namespace orvane::ui::toolkit

#include "tests/e2e/atspi.h"

#include "tests/e2e/desktop.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QUuid>

#include <deque>

namespace orvane::e2e {

namespace {

constexpr int kCallMs = 5000;
const QString kAccessible = QStringLiteral("org.a11y.atspi.Accessible");
const QString kRoot = QStringLiteral("/org/a11y/atspi/accessible/root");

QDBusMessage call(const QDBusConnection &bus, const QDBusMessage &message)
{
    return bus.call(message, QDBus::Block, kCallMs);
}

bool ok(const QDBusMessage &reply)
{
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty();
}

} // namespace

AtSpi::AtSpi(const QString &sessionBusAddress)
{
    const QString tag = QUuid::createUuid().toString(QUuid::WithoutBraces);
    m_sessionName = QStringLiteral("e2e-session-") + tag;
    m_busName = QStringLiteral("e2e-a11y-") + tag;
    QDBusConnection session = QDBusConnection::connectToBus(sessionBusAddress, m_sessionName);
    const QDBusMessage reply =
        call(session, QDBusMessage::createMethodCall(
                          QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                          QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress")));
    if (!ok(reply))
        return;
    const QString address = reply.arguments().constFirst().toString();
    m_connected = QDBusConnection::connectToBus(address, m_busName).isConnected();
}

AtSpi::~AtSpi()
{
    QDBusConnection::disconnectFromBus(m_busName);
    QDBusConnection::disconnectFromBus(m_sessionName);
}

QDBusConnection AtSpi::bus() const
{
    return QDBusConnection(m_busName);
}

Accessible AtSpi::application(qint64 pid, int timeoutMs)
{
    if (!m_connected)
        return {};
    Accessible found;
    waitUntil(
        [&] {
            const QDBusMessage names =
                call(bus(), QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                                           QStringLiteral("/"),
                                                           QStringLiteral("org.freedesktop.DBus"),
                                                           QStringLiteral("ListNames")));
            if (!ok(names))
                return false;
            for (const QString &name : names.arguments().constFirst().toStringList()) {
                if (!name.startsWith(u':'))
                    continue;
                QDBusMessage ask = QDBusMessage::createMethodCall(
                    QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/"),
                    QStringLiteral("org.freedesktop.DBus"),
                    QStringLiteral("GetConnectionUnixProcessID"));
                ask << name;
                const QDBusMessage owner = call(bus(), ask);
                if (ok(owner) && owner.arguments().constFirst().toLongLong() == pid) {
                    const Accessible root{name, kRoot};
                    // Published once the root has its main window.
                    if (!children(root).isEmpty()) {
                        found = root;
                        return true;
                    }
                }
            }
            return false;
        },
        timeoutMs, 100);
    return found;
}

QString AtSpi::property(const Accessible &object, const QString &interface, const QString &name)
{
    QDBusMessage get = QDBusMessage::createMethodCall(
        object.service, object.path, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << interface << name;
    const QDBusMessage reply = call(bus(), get);
    if (!ok(reply))
        return {};
    return reply.arguments().constFirst().value<QDBusVariant>().variant().toString();
}

QString AtSpi::name(const Accessible &object)
{
    return property(object, kAccessible, QStringLiteral("Name"));
}

QString AtSpi::description(const Accessible &object)
{
    return property(object, kAccessible, QStringLiteral("Description"));
}

QList<Accessible> AtSpi::children(const Accessible &object)
{
    const QDBusMessage reply =
        call(bus(), QDBusMessage::createMethodCall(object.service, object.path, kAccessible,
                                                   QStringLiteral("GetChildren")));
    QList<Accessible> list;
    if (!ok(reply))
        return list;
    const QDBusArgument array = reply.arguments().constFirst().value<QDBusArgument>();
    array.beginArray();
    while (!array.atEnd()) {
        QString service;
        QDBusObjectPath path;
        array.beginStructure();
        array >> service >> path;
        array.endStructure();
        list.append({service, path.path()});
    }
    array.endArray();
    return list;
}

Accessible AtSpi::find(const Accessible &root, const std::function<bool(const Accessible &)> &match)
{
    // Bounded: a broken tree must not keep a test busy for long.
    std::deque<Accessible> queue{root};
    for (int visited = 0; !queue.empty() && visited < 2000; ++visited) {
        const Accessible object = queue.front();
        queue.pop_front();
        if (match(object))
            return object;
        for (const Accessible &child : children(object))
            queue.push_back(child);
    }
    return {};
}

Accessible AtSpi::findByDescription(const Accessible &root, const QString &text)
{
    return find(root, [&](const Accessible &object) { return description(object) == text; });
}

Accessible AtSpi::findByName(const Accessible &root, const QString &text)
{
    return find(root, [&](const Accessible &object) { return name(object) == text; });
}

Accessible AtSpi::findByNamePattern(const Accessible &root, const QRegularExpression &pattern)
{
    return find(root,
                [&](const Accessible &object) { return pattern.match(name(object)).hasMatch(); });
}

Accessible AtSpi::findByRole(const Accessible &root, const QString &role)
{
    return find(root, [&](const Accessible &object) { return roleName(object) == role; });
}

QString AtSpi::roleName(const Accessible &object)
{
    const QDBusMessage reply =
        call(bus(), QDBusMessage::createMethodCall(object.service, object.path, kAccessible,
                                                   QStringLiteral("GetRoleName")));
    return ok(reply) ? reply.arguments().constFirst().toString() : QString();
}

int AtSpi::intProperty(const Accessible &object, const QString &interface, const QString &name)
{
    bool converted = false;
    const int value = property(object, interface, name).toInt(&converted);
    return converted ? value : -1;
}

int AtSpi::rowCount(const Accessible &table)
{
    return intProperty(table, QStringLiteral("org.a11y.atspi.Table"), QStringLiteral("NRows"));
}

QStringList AtSpi::columnTexts(const Accessible &table, int column)
{
    const QString kTable = QStringLiteral("org.a11y.atspi.Table");
    const int rows = intProperty(table, kTable, QStringLiteral("NRows"));
    QStringList texts;
    for (int row = 0; row < rows && row < 1000; ++row) {
        QDBusMessage get = QDBusMessage::createMethodCall(table.service, table.path, kTable,
                                                          QStringLiteral("GetAccessibleAt"));
        get << row << column;
        const QDBusMessage reply = call(bus(), get);
        if (!ok(reply))
            return {};
        QString service;
        QDBusObjectPath path;
        const QDBusArgument cell = reply.arguments().constFirst().value<QDBusArgument>();
        cell.beginStructure();
        cell >> service >> path;
        cell.endStructure();
        texts << name({service, path.path()});
    }
    return texts;
}

QRect AtSpi::extents(const Accessible &object)
{
    QDBusMessage get = QDBusMessage::createMethodCall(object.service, object.path,
                                                      QStringLiteral("org.a11y.atspi.Component"),
                                                      QStringLiteral("GetExtents"));
    get << quint32(0); // screen coordinates
    const QDBusMessage reply = call(bus(), get);
    if (!ok(reply))
        return {};
    int x = 0, y = 0, w = 0, h = 0;
    const QDBusArgument box = reply.arguments().constFirst().value<QDBusArgument>();
    box.beginStructure();
    box >> x >> y >> w >> h;
    box.endStructure();
    return {x, y, w, h};
}

std::optional<double> AtSpi::currentValue(const Accessible &object)
{
    bool converted = false;
    const double value =
        property(object, QStringLiteral("org.a11y.atspi.Value"), QStringLiteral("CurrentValue"))
            .toDouble(&converted);
    return converted ? std::optional<double>(value) : std::nullopt;
}

std::optional<double> AtSpi::maximumValue(const Accessible &object)
{
    bool converted = false;
    const double value =
        property(object, QStringLiteral("org.a11y.atspi.Value"), QStringLiteral("MaximumValue"))
            .toDouble(&converted);
    return converted ? std::optional<double>(value) : std::nullopt;
}

int AtSpi::characterCount(const Accessible &object)
{
    return intProperty(object, QStringLiteral("org.a11y.atspi.Text"),
                       QStringLiteral("CharacterCount"));
}

QRect AtSpi::characterExtents(const Accessible &object, int offset)
{
    QDBusMessage get = QDBusMessage::createMethodCall(object.service, object.path,
                                                      QStringLiteral("org.a11y.atspi.Text"),
                                                      QStringLiteral("GetCharacterExtents"));
    get << offset << quint32(0); // screen coordinates
    const QDBusMessage reply = call(bus(), get);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() < 4)
        return {};
    const QList<QVariant> box = reply.arguments();
    return {box[0].toInt(), box[1].toInt(), box[2].toInt(), box[3].toInt()};
}

QString AtSpi::text(const Accessible &object)
{
    QDBusMessage get = QDBusMessage::createMethodCall(object.service, object.path,
                                                      QStringLiteral("org.a11y.atspi.Text"),
                                                      QStringLiteral("GetText"));
    get << 0 << -1; // all of it
    const QDBusMessage reply = call(bus(), get);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return reply.arguments().constFirst().toString();
}

} // namespace orvane::e2e

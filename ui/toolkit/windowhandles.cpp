#include "ui/toolkit/windowhandles.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QVariant>

namespace orvane::ui::toolkit {

namespace {

constexpr const char *kHandleProperty = "orvaneHandle";

struct HandleTable {
    QHash<qintptr, QPointer<QObject>> objects;
    qintptr next = 1;
};

HandleTable &table()
{
    static HandleTable instance;
    return instance;
}

} // namespace

qintptr handleOf(QObject *object)
{
    if (!object)
        return 0;
    const QVariant stored = object->property(kHandleProperty);
    if (stored.isValid())
        return stored.value<qintptr>();
    HandleTable &handles = table();
    const qintptr handle = handles.next++;
    handles.objects.insert(handle, object);
    object->setProperty(kHandleProperty, QVariant::fromValue(handle));
    // The table forgets the object with its death, so a stale handle never
    // reaches a destroyed object.
    QObject::connect(object, &QObject::destroyed, [handle] { table().objects.remove(handle); });
    return handle;
}

QObject *objectOfHandle(qintptr handle)
{
    if (handle <= 0)
        return nullptr;
    return table().objects.value(handle).data();
}

QByteArray handlePropertyName(qintptr handle)
{
    return QByteArray::number(static_cast<qint64>(handle));
}

} // namespace orvane::ui::toolkit

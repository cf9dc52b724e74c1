// What another program drops on the window: any bytes as a URI list.
#include "ui/main/droppedlocations.h"

#include <QMimeData>
#include <QUrl>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QMimeData dropped;
    dropped.setData(QStringLiteral("text/uri-list"),
                    QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    const QString list = orvane::ui::DroppedLocationList(dropped);
    // One element per URL: an empty list means nothing was dropped.
    if (!list.isEmpty() && list.count(u'|') + 1 < dropped.urls().size())
        __builtin_trap();
    return 0;
}

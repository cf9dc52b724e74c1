// Text of the open dialog's path box and of a file-dialog filter: any bytes.
#include "ui/dialogs/browsefolder.h"
#include "ui/toolkit/commondialog.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto folder =
        orvane::ui::BrowseFolder(text, [](const QString &f) { return f.size() % 2; });
    if (folder && folder->size() > text.size() + 1)
        __builtin_trap(); // a folder is cut from the text, never longer
    for (const QString &filter : orvane::ui::nameFiltersFromFilter(text)) {
        if (!filter.endsWith(u')'))
            __builtin_trap();
    }
    orvane::ui::fileNameOfChoice(text.split(u'|'));
    return 0;
}

// /proc/self/mounts is read as it comes: any bytes must give a table whose
// entries are usable, and drive letters built on it must stay letters.
#include "core/drives.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace orvane::core;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<MountEntry> mounts = parseMounts(bytes);
    for (const MountEntry &m : mounts) {
        if (m.device.isEmpty() || m.mountPoint.contains(QLatin1Char('\n')))
            std::abort();
    }
    const DriveTable table =
        DriveTable::build({QStringLiteral("/dev/sr0")},
                          {{QString::fromUtf8(bytes.left(3)), QStringLiteral("/dev/sr1")}}, mounts);
    for (const DriveTable::Drive &d : table.drives()) {
        if (d.letter.size() != 2 || !d.letter[0].isUpper() || d.letter[1] != QLatin1Char(':'))
            std::abort();
    }
    (void)table.folderOf(QStringLiteral("D:"));
    (void)driveLetter(QString::fromUtf8(bytes));
    return 0;
}

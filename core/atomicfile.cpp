#include "core/atomicfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <fcntl.h>
#include <unistd.h>

namespace orvane::core {

namespace {

testhooks::RenameFunction &renameHook()
{
    static testhooks::RenameFunction fn;
    return fn;
}

// The new name is in the folder only once the folder is on disk too.
void syncFolder(const QString &path)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

bool writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    // QSaveFile writes a symbolic link's target, so the link stays.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    if (renameHook() && !renameHook()(file.fileName(), path)) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    if (!file.commit())
        return false;
    syncFolder(QFileInfo(path).canonicalFilePath());
    return true;
}

namespace testhooks {
void setRenameFunction(RenameFunction fn)
{
    renameHook() = std::move(fn);
}
} // namespace testhooks

} // namespace orvane::core

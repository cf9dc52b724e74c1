#include "core/atomicfile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane::core {

namespace {

testhooks::RenameFunction &renameHook()
{
    static testhooks::RenameFunction fn;
    return fn;
}

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        left -= n;
    }
    return true;
}

bool renameOver(const QString &from, const QString &to)
{
    if (renameHook())
        return renameHook()(from, to);
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

} // namespace

bool writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    const QByteArray target = QFile::encodeName(path);
    QByteArray tmpl = target + ".XXXXXX";
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0)
        return false;
    const QString tmpPath = QFile::decodeName(tmpl);

    // Keep the permissions of the file we replace; a new file gets the
    // usual 0666 & ~umask rather than mkstemp's 0600.
    struct stat st {
    };
    if (::stat(target.constData(), &st) == 0) {
        ::fchmod(fd, st.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }

    const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || !renameOver(tmpPath, path)) {
        ::unlink(tmpl.constData());
        return false;
    }
    return true;
}

namespace testhooks {
void setRenameFunction(RenameFunction fn)
{
    renameHook() = std::move(fn);
}
} // namespace testhooks

} // namespace orvane::core

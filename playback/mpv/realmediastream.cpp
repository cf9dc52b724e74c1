#include "playback/mpv/realmediastream.h"

#include "playback/mpv/mpvlibrary.h"
#include "playback/mpv/realmediatiming.h"

#include <QFile>

#include <mpv/stream_cb.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane::playback::mpv {

namespace {

// libmpv asks for 64 KiB at a time; a larger request gets a short read,
// which the stream callbacks allow.
constexpr qint64 kMaxRead = 1024 * 1024;

qint64 readAt(int fd, qint64 offset, char *buffer, qint64 size)
{
    ssize_t got;
    do {
        got = ::pread(fd, buffer, size_t(size), off_t(offset));
    } while (got < 0 && errno == EINTR);
    return got;
}

QByteArray readHead(int fd)
{
    QByteArray head(rm::kHeadBytes, Qt::Uninitialized);
    const qint64 got = readAt(fd, 0, head.data(), head.size());
    head.truncate(qMax<qint64>(0, got));
    return head;
}

// One open stream: the file, where libmpv reads next, and the bytes that
// read differently. The plan is empty when the file changed since the
// engine looked at it: then it reads as it is.
struct RetimedFile {
    int fd = -1;
    qint64 size = 0;
    qint64 position = 0;
    rm::TimingPlan plan;

    ~RetimedFile()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

int64_t readRetimed(void *cookie, char *buffer, uint64_t size)
{
    auto *file = static_cast<RetimedFile *>(cookie);
    const qint64 got = readAt(file->fd, file->position, buffer,
                              qint64(std::min<uint64_t>(size, uint64_t(kMaxRead))));
    if (got < 0)
        return -1;
    rm::applyPlan(file->plan, file->position, buffer, got);
    file->position += got;
    return got;
}

int64_t seekRetimed(void *cookie, int64_t offset)
{
    if (offset < 0)
        return MPV_ERROR_GENERIC;
    static_cast<RetimedFile *>(cookie)->position = offset;
    return offset;
}

int64_t sizeOfRetimed(void *cookie)
{
    return static_cast<RetimedFile *>(cookie)->size;
}

void closeRetimed(void *cookie)
{
    delete static_cast<RetimedFile *>(cookie);
}

std::unique_ptr<RetimedFile> openFile(const char *path)
{
    auto file = std::make_unique<RetimedFile>();
    file->fd = ::open(path, O_RDONLY | O_CLOEXEC);
    struct stat info {
    };
    if (file->fd < 0 || ::fstat(file->fd, &info) != 0 || !S_ISREG(info.st_mode))
        return nullptr;
    file->size = info.st_size;
    const std::optional<rm::TimingHeader> header = rm::readTimingHeader(readHead(file->fd));
    if (!header)
        return file;
    const int fd = file->fd;
    const rm::ReadAt read = [fd](qint64 offset, char *buffer, qint64 size) {
        return readAt(fd, offset, buffer, size);
    };
    if (std::optional<rm::TimingPlan> plan = rm::planTiming(*header, file->size, read))
        file->plan = std::move(*plan);
    return file;
}

// Runs on libmpv's thread that opens the clip; the plan is made here, off
// the GUI thread, reading every packet header once.
int openRetimed(void *, char *uri, mpv_stream_cb_info *info)
{
    const size_t prefix = std::strlen(kRetimedScheme);
    if (std::strncmp(uri, kRetimedScheme, prefix) != 0)
        return MPV_ERROR_LOADING_FAILED;
    std::unique_ptr<RetimedFile> file;
    try {
        file = openFile(uri + prefix);
    } catch (const std::bad_alloc &) {
        // Nothing may unwind into libmpv's C code; the clip just fails.
    }
    if (!file)
        return MPV_ERROR_LOADING_FAILED;
    info->cookie = file.release();
    info->read_fn = readRetimed;
    info->seek_fn = seekRetimed;
    info->size_fn = sizeOfRetimed;
    info->close_fn = closeRetimed;
    return 0;
}

} // namespace

bool addRetimingProtocol(mpv_handle *mpv)
{
    const QByteArray scheme = QByteArray(kRetimedScheme).chopped(3); // without "://"
    return lib::stream_cb_add_ro(mpv, scheme.constData(), nullptr, openRetimed) >= 0;
}

bool needsRetiming(const QString &path)
{
    // Non-blocking: a FIFO put in the file's place since it was checked must
    // not hang the GUI thread.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    const QByteArray head = readHead(fd);
    ::close(fd);
    return rm::readTimingHeader(head).has_value();
}

QByteArray retimedLocation(const QString &path)
{
    return kRetimedScheme + QFile::encodeName(path);
}

} // namespace orvane::playback::mpv

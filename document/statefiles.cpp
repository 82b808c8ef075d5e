#include "document/statefiles.h"

#include <algorithm>
#include <cerrno>

#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vinkring {

namespace {

// Never follows a link, never waits for a pipe's other end.
constexpr int kOpenFlags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

int openLockFile(const QByteArray& name, RunLock::Make make)
{
    const int create = make == RunLock::Make::Fresh ? O_CREAT | O_EXCL : O_CREAT;
    int fd = ::open(name.constData(), O_RDWR | create | kOpenFlags, 0600);
    if (fd < 0 && make == RunLock::Make::IfMissing && (errno == EROFS || errno == EACCES || errno == EPERM)) {
        // A lock needs no writing: an existing file in a folder that cannot
        // be written is locked all the same.
        const int why = errno;
        fd = ::open(name.constData(), O_RDONLY | kOpenFlags);
        if (fd < 0 && errno == ENOENT)
            errno = why;
    }
    return fd;
}

}  // namespace

RunLock::Attempt RunLock::take(const QString& path, Make make)
{
    const QByteArray name = QFile::encodeName(path);
    // Another run may remove the file between its opening here and its
    // locking; then the name is tried again.
    for (int round = 0; round < 3; ++round) {
        const int fd = openLockFile(name, make);
        if (fd < 0) {
            if (errno == ELOOP || errno == EISDIR || errno == ENXIO)
                return {Outcome::NotAFile, 0, nullptr};
            return {Outcome::Failed, errno, nullptr};
        }
        struct stat opened {};
        if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
            ::close(fd);
            return {Outcome::NotAFile, 0, nullptr};
        }
        // flock, not fcntl: its lock belongs to this open file, so a second
        // opening in the same process is refused and closing another one
        // does not let go of it.
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int why = errno;
            ::close(fd);
            if (why == EWOULDBLOCK)
                return {Outcome::Held, 0, nullptr};
            return {Outcome::Failed, why, nullptr};
        }
        struct stat named {};
        if (::lstat(name.constData(), &named) == 0 && sameFile(opened, named))
            return {Outcome::Taken, 0, std::unique_ptr<RunLock>(new RunLock(fd, path))};
        ::close(fd);
        if (make == Make::Fresh)
            return {Outcome::Failed, EEXIST, nullptr};
    }
    return {Outcome::Held, 0, nullptr};
}

RunLock::~RunLock()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void RunLock::removeFile()
{
    ::unlink(QFile::encodeName(path_).constData());
    ::close(fd_);
    fd_ = -1;
}

}  // namespace vinkring

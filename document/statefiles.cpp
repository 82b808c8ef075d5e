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

PlainFileRead ReadPlainFile(const QString& path, qint64 maxBytes)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat named {};
    if (::lstat(name.constData(), &named) != 0)
        return {PlainFileRead::Outcome::Failed, {}, errno};
    // What is no plain file is never opened: a device or a pipe may wait or
    // give bytes without end.
    if (!S_ISREG(named.st_mode))
        return {PlainFileRead::Outcome::NotAFile, {}, 0};
    if (named.st_size > maxBytes)
        return {PlainFileRead::Outcome::TooLarge, {}, 0};

    const int fd = ::open(name.constData(), O_RDONLY | kOpenFlags);
    if (fd < 0)
        return {errno == ELOOP || errno == ENXIO ? PlainFileRead::Outcome::NotAFile : PlainFileRead::Outcome::Failed,
                {}, errno};
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !sameFile(opened, named) || !S_ISREG(opened.st_mode)) {
        ::close(fd);
        return {PlainFileRead::Outcome::NotAFile, {}, 0};
    }
    // One byte more than allowed shows a file that grew past the limit. Read
    // through Qt on the descriptor already checked.
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle)) {
        ::close(fd);
        return {PlainFileRead::Outcome::Failed, {}, EIO};
    }
    const qint64 limit = maxBytes + 1;
    QByteArray bytes(qsizetype(std::min(qint64(opened.st_size) + 1, limit)), Qt::Uninitialized);
    qsizetype have = 0;
    for (;;) {
        if (have == bytes.size()) {
            if (have >= limit)
                break;
            bytes.resize(qsizetype(std::min(qint64(have) * 2, limit)));
        }
        errno = 0;
        const qint64 got = file.read(bytes.data() + have, bytes.size() - have);
        if (got < 0) {
            const int why = errno != 0 ? errno : EIO;
            file.close();
            ::close(fd);
            return {PlainFileRead::Outcome::Failed, {}, why};
        }
        if (got == 0)
            break;
        have += qsizetype(got);
    }
    file.close();
    ::close(fd);
    if (have > maxBytes)
        return {PlainFileRead::Outcome::TooLarge, {}, 0};
    bytes.truncate(have);
    return {PlainFileRead::Outcome::Read, std::move(bytes), 0};
}

}  // namespace vinkring

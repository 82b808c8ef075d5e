#include "document/plainfile.h"

#include <algorithm>
#include <cerrno>

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "document/durablefile.h"
#include "model/texts.h"

namespace vinkring {

namespace {

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

PlainFileRead refused(PlainFileRead::Outcome outcome, int error = 0, qint64 size = 0)
{
    PlainFileRead read;
    read.outcome = outcome;
    read.error = error;
    read.size = size;
    return read;
}

}  // namespace

QString PlainFileRead::message(const QString& path) const
{
    switch (outcome) {
    case Outcome::Read:
        return {};
    case Outcome::Missing:
        return toQString(messages::kFileMissing).arg(quotedPath(path));
    case Outcome::Folder:
        return toQString(messages::kFileIsFolder).arg(quotedPath(path));
    case Outcome::NotAFile:
        return toQString(messages::kFileNotRegular).arg(quotedPath(path));
    case Outcome::TooLarge:
        return toQString(messages::kFileTooLarge).arg(quotedPath(path)).arg(size / (1024 * 1024));
    case Outcome::Failed:
        break;
    }
    return toQString(messages::kFileUnreadable).arg(quotedPath(path), failureReason(QFileDevice::ReadError, error));
}

PlainFileRead ReadPlainFile(const QString& path, qint64 maxBytes, FollowLinks follow)
{
    if (path.isEmpty())
        return refused(PlainFileRead::Outcome::Missing);
    const QByteArray name = QFile::encodeName(path);
    struct stat named {};
    const int found = follow == FollowLinks::Yes ? ::stat(name.constData(), &named) : ::lstat(name.constData(), &named);
    if (found != 0)
        return refused(errno == ENOENT ? PlainFileRead::Outcome::Missing : PlainFileRead::Outcome::Failed, errno);
    // What is no plain file is never opened: a device or a pipe may wait or
    // give bytes without end.
    if (S_ISDIR(named.st_mode))
        return refused(PlainFileRead::Outcome::Folder);
    if (!S_ISREG(named.st_mode))
        return refused(PlainFileRead::Outcome::NotAFile);
    if (named.st_size > maxBytes)
        return refused(PlainFileRead::Outcome::TooLarge, 0, named.st_size);

    // Never waits for a pipe's other end, should one take the name now.
    const int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | (follow == FollowLinks::No ? O_NOFOLLOW : 0);
    const int fd = ::open(name.constData(), flags);
    if (fd < 0) {
        const int why = errno;
        return refused(why == ELOOP || why == ENXIO ? PlainFileRead::Outcome::NotAFile : PlainFileRead::Outcome::Failed,
                       why);
    }
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !sameFile(opened, named) || !S_ISREG(opened.st_mode)) {
        ::close(fd);
        return refused(PlainFileRead::Outcome::NotAFile);
    }
    // One byte more than allowed shows a file that grew past the limit. Read
    // through Qt on the descriptor already checked.
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle)) {
        ::close(fd);
        return refused(PlainFileRead::Outcome::Failed, EIO);
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
            return refused(PlainFileRead::Outcome::Failed, why);
        }
        if (got == 0)
            break;
        have += qsizetype(got);
    }
    file.close();
    ::close(fd);
    if (have > maxBytes)
        return refused(PlainFileRead::Outcome::TooLarge, 0, have);
    bytes.truncate(have);
    PlainFileRead read;
    read.outcome = PlainFileRead::Outcome::Read;
    read.bytes = std::move(bytes);
    return read;
}

}  // namespace vinkring

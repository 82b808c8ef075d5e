#include "document/durablefile.h"

#include <cerrno>

#include <QFileInfo>
#include <QSaveFile>
#include <QThread>

#include <fcntl.h>
#include <unistd.h>

#include "model/texts.h"

namespace vinkring {

namespace {

std::string_view categoryReason(QFileDevice::FileError error)
{
    switch (error) {
    case QFileDevice::ReadError: return messages::kReadError;
    case QFileDevice::WriteError: return messages::kWriteError;
    case QFileDevice::ResourceError: return messages::kDiskFull;
    case QFileDevice::OpenError: return messages::kOpenError;
    case QFileDevice::PermissionsError: return messages::kNoAccess;
    case QFileDevice::RenameError: return messages::kRenameError;
    case QFileDevice::NoError: return messages::kShortWrite;
    default: return messages::kOtherError;
    }
}

std::string_view systemReason(int systemError)
{
    switch (systemError) {
    case ENOSPC:
    case EDQUOT: return messages::kDiskFull;
    case EROFS: return messages::kReadOnlyFileSystem;
    case EACCES:
    case EPERM: return messages::kNoAccess;
    case ENOENT: return messages::kNoSuchFolder;
    case ENOTDIR: return messages::kNotAFolder;
    case EISDIR: return messages::kIsAFolder;
    case ENAMETOOLONG: return messages::kNameTooLong;
    case EMFILE:
    case ENFILE: return messages::kTooManyOpen;
    case EBUSY:
    case ETXTBSY: return messages::kInUse;
    case EFBIG: return messages::kFileTooBig;
    default: return {};
    }
}

// Tests make each write slow (VINKRING_TEST_SLOW_WRITE_MS, spread over ten
// pieces), so that the program can be killed while it writes.
int testDelayPerPiece()
{
    static const int delay = qEnvironmentVariableIntValue("VINKRING_TEST_SLOW_WRITE_MS") / 10;
    return delay;
}

bool writeAll(QSaveFile& file, QByteArrayView bytes)
{
    const int delay = testDelayPerPiece();
    if (delay <= 0 || bytes.isEmpty())
        return file.write(bytes.data(), bytes.size()) == bytes.size();
    const qsizetype piece = bytes.size() / 10 + 1;
    for (qsizetype at = 0; at < bytes.size(); at += piece) {
        QThread::msleep(ulong(delay));
        const QByteArrayView part = bytes.sliced(at, std::min(piece, bytes.size() - at));
        if (file.write(part.data(), part.size()) != part.size())
            return false;
    }
    return true;
}

// The folder's entry for the new file reaches the disk.
void syncFolder(const QString& path)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

QString FailureReason(QFileDevice::FileError error, int systemError)
{
    const std::string_view known = systemReason(systemError);
    return toQString(known.empty() ? categoryReason(error) : known);
}

DurableWriteResult WriteFileDurably(const QString& path, QByteArrayView bytes,
                                    std::optional<QFileDevice::Permissions> permissions)
{
    // QSaveFile writes to a temporary file, flushes it to the disk and puts
    // it in place. Unbuffered, so that a short write shows here and not in a
    // flush whose failure the commit would not see.
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return {false, FailureReason(file.error(), errno)};
    // Set on the temporary file while it is still empty.
    errno = 0;
    if (permissions && !file.setPermissions(*permissions)) {
        const QString why = FailureReason(QFileDevice::PermissionsError, errno);
        file.cancelWriting();
        file.commit();
        return {false, why};
    }
    errno = 0;
    if (!writeAll(file, bytes)) {
        const QString why = FailureReason(file.error(), errno);
        file.cancelWriting();
        file.commit();  // removes the temporary file; the old one stays
        return {false, why};
    }
    errno = 0;
    if (!file.commit())
        return {false, FailureReason(file.error(), errno)};
    syncFolder(path);
    return {true, QString()};
}

}  // namespace vinkring

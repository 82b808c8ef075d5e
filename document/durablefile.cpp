#include "document/durablefile.h"

#include <cerrno>

#include <QFileInfo>
#include <QSaveFile>

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

WritePause writePause = nullptr;

bool writeAll(QSaveFile& file, QByteArrayView bytes)
{
    if (!writePause || bytes.isEmpty())
        return file.write(bytes.data(), bytes.size()) == bytes.size();
    const qsizetype piece = bytes.size() / 10 + 1;
    for (qsizetype at = 0; at < bytes.size(); at += piece) {
        writePause();
        const QByteArrayView part = bytes.sliced(at, std::min(piece, bytes.size() - at));
        if (file.write(part.data(), part.size()) != part.size())
            return false;
    }
    return true;
}

// The folder's entry for the new file reaches the disk. False, with errno
// set, when that cannot be made sure of.
bool syncFolder(const QString& path)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    errno = error;
    return synced;
}

}  // namespace

QString failureReason(QFileDevice::FileError error, int systemError)
{
    const std::string_view known = systemReason(systemError);
    return toQString(known.empty() ? categoryReason(error) : known);
}

void setWritePause(WritePause pause)
{
    writePause = pause;
}

Outcome writeFileDurably(const QString& path, QByteArrayView bytes, std::optional<QFileDevice::Permissions> permissions)
{
    // QSaveFile writes to a temporary file, flushes it to the disk and puts
    // it in place. Unbuffered, so that a short write shows here and not in a
    // flush whose failure the commit would not see.
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return Outcome::failed(failureReason(file.error(), errno));
    // Set on the temporary file while it is still empty.
    errno = 0;
    if (permissions && !file.setPermissions(*permissions)) {
        const QString why = failureReason(QFileDevice::PermissionsError, errno);
        file.cancelWriting();
        file.commit();
        return Outcome::failed(why);
    }
    errno = 0;
    if (!writeAll(file, bytes)) {
        const QString why = failureReason(file.error(), errno);
        file.cancelWriting();
        file.commit();  // removes the temporary file; the old one stays
        return Outcome::failed(why);
    }
    errno = 0;
    if (!file.commit())
        return Outcome::failed(failureReason(file.error(), errno));
    // The new file is in place, but until the folder is on the disk a power
    // cut may take it (and the old one) away: not safe yet.
    errno = 0;
    if (!syncFolder(path))
        return Outcome::failed(failureReason(QFileDevice::WriteError, errno));
    return Outcome::done();
}

}  // namespace vinkring

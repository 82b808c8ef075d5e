#pragma once
// The one way the program reads a whole file (a document, a forum text, the
// recent list, the state folder's copies): what is no plain file (a folder,
// a named pipe, a device such as /dev/zero, a link to one) or is larger
// than asked is refused at once, before a byte is read, and nothing found
// there is waited on.

#include <QByteArray>
#include <QString>

namespace vinkring {

struct PlainFileRead {
    enum class Outcome { Read, Missing, Folder, NotAFile, TooLarge, Failed };
    Outcome outcome = Outcome::Failed;
    QByteArray bytes;
    qint64 size = 0;  // the file's size, when TooLarge
    int error = 0;    // errno, when Failed

    bool ok() const { return outcome == Outcome::Read; }
    // Why it was not read, in Dutch, naming the file; empty when it was.
    QString message(const QString& path) const;
};

enum class FollowLinks { Yes, No };

// The bytes of the plain file at path, when it is one of at most maxBytes.
// FollowLinks::No refuses a link itself (the state folder, which others may
// write to). Reads no more than maxBytes + 1, so a file that grows while it
// is read is refused too.
PlainFileRead ReadPlainFile(const QString& path, qint64 maxBytes, FollowLinks follow = FollowLinks::Yes);

}  // namespace vinkring

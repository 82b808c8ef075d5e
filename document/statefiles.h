#pragma once
// The few file operations of the recovery store that need the operating
// system's own calls: a lock the kernel holds for a living process, and
// reading a file without following a link or waiting on it. They are here
// alone, so that another system needs only this file anew.

#include <memory>

#include <QByteArray>
#include <QString>

namespace vinkring {

// An advisory lock on a file, held for as long as this object lives. The
// kernel lets go of it when the process ends, however it ends, so a lock
// nobody holds means that no living process holds it: whatever the file
// holds, in whatever process namespace its maker ran.
class RunLock {
public:
    enum class Outcome {
        Taken,     // the lock is this process's now
        Held,      // a living process holds it
        NotAFile,  // the name is taken by something other than a plain file
        Failed,    // the file could not be opened or made (error says why)
    };
    struct Attempt {
        Outcome outcome = Outcome::Failed;
        int error = 0;  // errno, when Failed
        std::unique_ptr<RunLock> lock;
    };
    enum class Make { Fresh, IfMissing };

    // Never waits. Fresh: the file must not exist yet.
    static Attempt take(const QString& path, Make make);

    ~RunLock();
    RunLock(const RunLock&) = delete;
    RunLock& operator=(const RunLock&) = delete;

    // Removes the file while still held, then lets go.
    void removeFile();

private:
    RunLock(int fd, QString path) : fd_(fd), path_(std::move(path)) {}
    int fd_;
    QString path_;
};

struct PlainFileRead {
    enum class Outcome { Read, NotAFile, TooLarge, Failed };
    Outcome outcome = Outcome::Failed;
    QByteArray bytes;
    int error = 0;  // errno, when Failed
};

// The bytes of the plain file at path, when it is one (not a link, a
// folder, a pipe or a device) and holds at most maxBytes. Never waits on
// what it finds there, and reads no more than maxBytes + 1.
PlainFileRead ReadPlainFile(const QString& path, qint64 maxBytes);

}  // namespace vinkring

#pragma once
// The lock of the recovery store, which needs the operating system's own
// calls: a lock the kernel holds for a living process. It is here alone
// (with plainfile.cpp), so that another system needs only these files anew.

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

}  // namespace vinkring

#pragma once
// The recovery copy: the work in the window as it was a moment ago, kept in a
// folder of the writer's own while it differs from what was last saved or
// opened, so that a crash, a kill or a power cut does not take it along.
// Each running program keeps one copy and holds a lock beside it; a copy
// whose lock nobody holds was left by a run that did not end normally.

#include <memory>
#include <optional>
#include <vector>

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QMutex>
#include <QString>

#include "model/articledocument.h"
#include "document/durablefile.h"
#include "document/statefiles.h"


namespace vinkring {

struct RecoveryCopy {
    ArticleDocument document;
    QString fileName;   // the document file the work belongs to; empty when never saved
    QDateTime savedAt;  // when the work was in this state

    friend bool operator==(const RecoveryCopy&, const RecoveryCopy&) = default;
};

// The copy as its file holds it: one line of JSON (the file name, the time
// and the length of every text), then the document string in UTF-8. UTF-8
// holds every character the window can, and the lengths let texts that hold
// a marker come back as they were.
QByteArray recoveryBytes(const RecoveryCopy& copy);

// The copy held by bytes; nullopt when they are not one whole copy, or when
// it holds more than a document file may (link lines, bytes) or a time that
// recoveryBytes cannot write (UTC outside the years 1 to 9999). A copy read
// is written again as the same copy.
std::optional<RecoveryCopy> parseRecovery(QByteArrayView bytes);

// One running program's copy and lock in a folder, and the copies left there
// by runs that ended without removing theirs. Writing and removing may run on
// another thread than the rest, one call at a time.
class RecoveryStore {
public:
    // A copy left by an earlier run, locked for as long as this object holds
    // it (no lock when the folder lets none be made: then nothing in it can
    // be changed either).
    struct LeftOver {
        QString path;
        std::optional<RecoveryCopy> copy;  // nullopt when the entry is not a whole copy
        std::unique_ptr<RunLock> lock;
    };

    // Creates the folder when missing and takes a lock of this run's own.
    // When that fails, the left-over copies can still be taken.
    explicit RecoveryStore(const QString& folder);
    // Releases the lock; the copy stays unless it was removed.
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    bool isOpen() const { return lock_ != nullptr; }
    // Why the store could not be opened, as failureReason gives it.
    QString problem() const { return problem_; }
    QString copyPath() const { return copyPath_; }

    Outcome write(const RecoveryCopy& copy);
    void remove();

    // The copies of runs that ended without removing theirs, newest first
    // (unreadable ones last, also whatever bears a copy's name but is no
    // plain file of a copy's size; none of it is waited on or read beyond
    // that size). A copy is left to a run that holds its lock; a lock file
    // that is no plain file, or holds anything at all, is no lock held.
    // Also clears away the lock files of ended runs that left no copy.
    // Works also when this run's own store could not be opened.
    std::vector<LeftOver> takeLeftOvers();
    // The left-over copy becomes this run's copy, with its content.
    bool adopt(LeftOver& left);
    // Removes the left-over copy.
    void discard(LeftOver& left);
    // Moves an unreadable copy out of the way under a name that is not
    // offered again; returns the name it has now (its own when it could
    // not be moved).
    QString setAside(LeftOver& left);

private:
    QString folder_;
    QString copyPath_;
    QString problem_;
    std::unique_ptr<RunLock> lock_;
    QMutex mutex_;  // around the files of this run's copy
};

}  // namespace vinkring

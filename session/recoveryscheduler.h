#pragma once
// Keeps the recovery copy current while the work differs from what was last
// saved or opened: at most about a second after a change, and at most about
// once a second while the writer types. The snapshot shares the texts of the
// session's document (no copy); they are encoded and written to the disk on a
// thread of its own. A copy equal to the one on the disk is not written again.

#include <functional>
#include <memory>
#include <optional>

#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include "document/recovery.h"

namespace vinkring {

// Texts that share their characters are equal without a look at them: the
// parts of the work that did not change since are compared at no cost.
inline bool sameText(const QString& a, const QString& b)
{
    return a.size() == b.size() && (a.constData() == b.constData() || a == b);
}
bool sameLines(const QStringList& a, const QStringList& b);
bool sameDocument(const ArticleDocument& a, const ArticleDocument& b);

class RecoveryScheduler final : public QObject {
    Q_OBJECT

public:
    // The work as it stands now: the window's document and its file; none
    // while it holds nothing unsaved.
    using Snapshot = std::function<std::optional<RecoveryCopy>()>;

    // How long after a change the copy is written.
    static constexpr int kDelayMs = 1000;

    // folder empty: no copy is kept.
    RecoveryScheduler(const QString& folder, Snapshot snapshot, QObject* parent = nullptr);
    // Waits for the writing, then removes the copy: a run that ends normally
    // leaves none behind.
    ~RecoveryScheduler() override;

    // The work may have changed: the copy is brought up to date soon.
    void changed();
    // The work was saved, opened or begun anew: nothing to recover, and the
    // copy goes.
    void settled();
    // The writer chose to drop the work: the copy goes.
    void drop();
    // Brings the copy up to date now (the part on this thread); the writing
    // itself follows on the copy's own thread.
    void flush();
    // Waits until the copy on the disk is as asked.
    void waitForDisk();

    // Copies of runs that did not end normally (see RecoveryStore).
    std::vector<RecoveryStore::LeftOver> takeLeftOvers();
    // The left-over copy becomes this run's copy, and its work the window's.
    bool adopt(RecoveryStore::LeftOver& left);
    void discard(RecoveryStore::LeftOver& left);
    QString setAside(RecoveryStore::LeftOver& left);

    // Why the copy cannot be written at present; empty when it can.
    QString problem() const { return problem_; }
    // Whether this run's copy is on the disk, as far as the finished writing tells.
    bool hasCopy() const { return copyOnDisk_; }

signals:
    // The copy could not be written (reason), or can be again (empty). Once
    // per change of state, not at every failed attempt.
    void problemChanged(const QString& reason);

private:
    bool openStore();
    // written: the copy the job writes; null for a removal.
    void post(std::function<Outcome(RecoveryStore&)> job, std::shared_ptr<const RecoveryCopy> written);
    void finished(const Outcome& result, const std::shared_ptr<const RecoveryCopy>& written);
    void report(const QString& reason);

    QString folder_;
    Snapshot snapshot_;
    std::unique_ptr<RecoveryStore> store_;
    QThreadPool pool_;  // one thread: jobs run in the order posted
    QTimer timer_;
    int inFlight_ = 0;
    bool pending_ = false;  // a flush came while a job ran
    bool copyOnDisk_ = false;
    std::shared_ptr<const RecoveryCopy> onDisk_;  // what this run's copy on the disk holds
    QString problem_;
};

}  // namespace vinkring

#include "window/recoveryscheduler.h"

#include <QCoreApplication>

namespace vinkring {

namespace {

Outcome removeCopy(RecoveryStore& store)
{
    store.remove();
    return Outcome::done();
}

}  // namespace

RecoveryScheduler::RecoveryScheduler(const QString& folder, Snapshot snapshot, QObject* parent)
    : QObject(parent), folder_(folder), snapshot_(std::move(snapshot))
{
    pool_.setMaxThreadCount(1);
    pool_.setExpiryTimeout(-1);
    timer_.setSingleShot(true);
    timer_.setInterval(kDelayMs);
    connect(&timer_, &QTimer::timeout, this, &RecoveryScheduler::flush);
    if (!folder_.isEmpty())
        store_ = std::make_unique<RecoveryStore>(folder_);
}

RecoveryScheduler::~RecoveryScheduler()
{
    timer_.stop();
    pool_.waitForDone();
    if (store_)
        store_->remove();
}

bool RecoveryScheduler::openStore()
{
    if (folder_.isEmpty())
        return false;
    if (!store_->isOpen()) {
        // Tried again at each change: the folder may have become writable.
        pool_.waitForDone();
        store_ = std::make_unique<RecoveryStore>(folder_);
    }
    return store_->isOpen();
}

void RecoveryScheduler::changed()
{
    if (!folder_.isEmpty() && !timer_.isActive() && !pending_)
        timer_.start();
}

void RecoveryScheduler::settled(const ArticleDocument& baseline)
{
    baseline_ = baseline;
    timer_.stop();
    pending_ = false;
    report(QString());  // the work is safe in its file: nothing to warn about

    if (store_ && store_->isOpen())
        post(removeCopy, false);
}

void RecoveryScheduler::drop()
{
    timer_.stop();
    pending_ = false;
    if (store_ && store_->isOpen())
        post(removeCopy, false);
}

void RecoveryScheduler::flush()
{
    timer_.stop();
    if (inFlight_ > 0) {
        pending_ = true;
        return;
    }
    if (!openStore()) {
        if (store_)
            report(store_->problem());
        return;
    }
    RecoveryCopy copy = snapshot_();
    if (baseline_ && copy.document == *baseline_) {
        if (copyOnDisk_)
            post(removeCopy, false);
        return;
    }
    // The texts are shared with the copy, not copied again: the job owns its copy.
    post([copy = std::move(copy)](RecoveryStore& store) { return store.write(copy); }, true);
}

void RecoveryScheduler::post(std::function<Outcome(RecoveryStore&)> job, bool writes)
{
    ++inFlight_;
    // Jobs end before this object does (the destructor waits for them).
    pool_.start([this, store = store_.get(), writes, job = std::move(job)] {
        const Outcome result = job(*store);
        QMetaObject::invokeMethod(this, [this, result, writes] { finished(result, writes); }, Qt::QueuedConnection);
    });
}

void RecoveryScheduler::finished(const Outcome& result, bool writes)
{
    --inFlight_;
    if (writes) {
        copyOnDisk_ = copyOnDisk_ || result.ok;
        report(result.ok ? QString() : result.reason);
    } else {
        copyOnDisk_ = false;
    }
    if (inFlight_ == 0 && pending_) {
        pending_ = false;
        flush();
    }
}

void RecoveryScheduler::report(const QString& reason)
{
    if (reason == problem_)
        return;
    problem_ = reason;
    emit problemChanged(problem_);
}

void RecoveryScheduler::waitForDisk()
{
    while (inFlight_ > 0) {
        pool_.waitForDone();
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    }
}

std::vector<RecoveryStore::LeftOver> RecoveryScheduler::takeLeftOvers()
{
    if (!openStore())
        return {};
    return store_->takeLeftOvers();
}

bool RecoveryScheduler::adopt(RecoveryStore::LeftOver& left)
{
    pool_.waitForDone();
    if (!store_ || !store_->adopt(left))
        return false;
    baseline_.reset();
    copyOnDisk_ = true;
    return true;
}

void RecoveryScheduler::discard(RecoveryStore::LeftOver& left)
{
    store_->discard(left);
}

QString RecoveryScheduler::setAside(RecoveryStore::LeftOver& left)
{
    return store_->setAside(left);
}

}  // namespace vinkring

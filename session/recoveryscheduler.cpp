#include "session/recoveryscheduler.h"

#include <QCoreApplication>

namespace vinkring {

namespace {

Outcome removeCopy(RecoveryStore& store)
{
    store.remove();
    return Outcome::done();
}

}  // namespace

bool sameLines(const QStringList& a, const QStringList& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (!sameText(a[i], b[i]))
            return false;
    }
    return true;
}

bool sameDocument(const ArticleDocument& a, const ArticleDocument& b)
{
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        if (!sameText(a.fields[i], b.fields[i]))
            return false;
    }
    return sameLines(a.links, b.links);
}

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

void RecoveryScheduler::settled()
{
    timer_.stop();
    pending_ = false;
    report(QString());  // the work is safe in its file: nothing to warn about

    if (store_ && store_->isOpen())
        post(removeCopy, nullptr);
}

void RecoveryScheduler::drop()
{
    timer_.stop();
    pending_ = false;
    if (store_ && store_->isOpen())
        post(removeCopy, nullptr);
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
    std::optional<RecoveryCopy> work = snapshot_();
    if (!work) {
        if (copyOnDisk_)
            post(removeCopy, nullptr);
        return;
    }
    auto copy = std::make_shared<const RecoveryCopy>(std::move(*work));
    if (copyOnDisk_ && onDisk_ && onDisk_->fileName == copy->fileName
        && sameDocument(onDisk_->document, copy->document))
        return;
    // The texts are shared with the copy, not copied again.
    post([copy](RecoveryStore& store) { return store.write(*copy); }, copy);
}

void RecoveryScheduler::post(std::function<Outcome(RecoveryStore&)> job,
                             std::shared_ptr<const RecoveryCopy> written)
{
    ++inFlight_;
    // Jobs end before this object does (the destructor waits for them).
    pool_.start([this, store = store_.get(), written = std::move(written), job = std::move(job)] {
        const Outcome result = job(*store);
        QMetaObject::invokeMethod(
            this, [this, result, written] { finished(result, written); }, Qt::QueuedConnection);
    });
}

void RecoveryScheduler::finished(const Outcome& result, const std::shared_ptr<const RecoveryCopy>& written)
{
    --inFlight_;
    if (written) {
        copyOnDisk_ = copyOnDisk_ || result.ok;
        // A failed write may have left the old copy or none: write again next time.
        onDisk_ = result.ok ? written : nullptr;
        report(result.ok ? QString() : result.reason);
    } else {
        copyOnDisk_ = false;
        onDisk_.reset();
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
    // Also when this run cannot keep a copy of its own: the left-overs are read all the same.
    if (!store_)
        return {};
    return store_->takeLeftOvers();
}

bool RecoveryScheduler::adopt(RecoveryStore::LeftOver& left)
{
    pool_.waitForDone();
    if (!store_ || !store_->adopt(left))
        return false;
    copyOnDisk_ = true;
    onDisk_.reset();  // the adopted copy is written again at the next change
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

#pragma once
// How a long export or import, run on a thread of its own, tells how far it
// is and learns that the writer wants it stopped. Nothing else is shared
// with the thread that started it.

#include <algorithm>
#include <atomic>
#include <functional>

#include <QtGlobal>

namespace vinkring {

class TaskControl {
public:
    // progress gets the share done in percent (0 to 100), on the task's own
    // thread, each time it grows; cancel, when set, stops the task at its
    // next step. Either may be left out.
    TaskControl() = default;
    TaskControl(std::function<void(int)> progress, const std::atomic<bool>* cancel)
        : progress_(std::move(progress)), cancel_(cancel)
    {
    }

    bool cancelled() const { return cancel_ && cancel_->load(std::memory_order_relaxed); }

    // done of total steps, within the band [from, to) of the whole task's
    // percent.
    void report(qint64 done, qint64 total, int from = 0, int to = 100) const
    {
        if (!progress_ || total <= 0)
            return;
        const int percent = from + int(qint64(to - from) * std::min(done, total) / total);
        if (percent > last_) {
            last_ = percent;
            progress_(percent);
        }
    }

private:
    std::function<void(int)> progress_;
    const std::atomic<bool>* cancel_ = nullptr;
    mutable int last_ = -1;  // one task, one thread: no lock needed
};

}  // namespace vinkring

#pragma once
// A long export or import on a thread of its own while the window waits for
// it: the window repaints and answers throughout, a window-modal progress
// dialog with "Annuleren" shows once the task takes over half a second, and
// keys, clicks and drops given meanwhile go nowhere (none is carried out
// afterwards).

#include <functional>
#include <optional>
#include <utility>

#include <QString>

#include "article/taskcontrol.h"

class QWidget;

namespace vinkring {

void runOnWorker(QWidget* window, const QString& title, const QString& label,
                 const std::function<void(const TaskControl&)>& work);

// Runs work on a thread of its own and gives its result once it ended; the
// progress dialog has the command's title, and label says what it does. work shares nothing with
// the window but what it captured by value, and stops when its control
// says it is cancelled.
template <typename Work>
auto runLongTask(QWidget* window, const QString& title, const QString& label, Work work)
{
    std::optional<decltype(work(TaskControl()))> result;
    runOnWorker(window, title, label, [&](const TaskControl& control) { result.emplace(work(control)); });
    return std::move(*result);
}

// Runs work here, on the interface thread (putting megabytes in the window's
// fields, which only it may do), with the wait cursor; keys and clicks given
// meanwhile go nowhere.
void runHoldingInput(const std::function<void()>& work);

// How long a task runs before its progress dialog shows.
inline constexpr int kProgressAfterMilliseconds = 500;

}  // namespace vinkring

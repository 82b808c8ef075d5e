#include "window/files/longtask.h"

#include <atomic>
#include <memory>

#include <QApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QWindow>

#include "model/texts.h"

namespace vinkring {

namespace {

// Drops the writer's input to every window but the progress dialog while a
// task runs. Qt's modality blocks input only once the dialog is shown, and
// only to the dialog's own window hierarchy, not to the live view.
class InputHold final : public QObject {
public:
    explicit InputHold(QWidget* dialog) : dialog_(dialog) { qApp->installEventFilter(this); }
    ~InputHold() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::ShortcutOverride:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::InputMethod:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            break;
        case QEvent::Close:
            // The window manager's close button; the program's own closes pass.
            if (!event->spontaneous())
                return false;
            break;
        default:
            return false;
        }
        if (isDialogs(watched))
            return false;
        // An accepted override keeps the key from every shortcut; a close
        // ignored leaves the window open.
        if (event->type() == QEvent::ShortcutOverride)
            event->accept();
        else if (event->type() == QEvent::Close)
            event->ignore();
        return true;
    }

private:
    bool isDialogs(QObject* watched) const
    {
        if (!dialog_)
            return false;
        if (auto* widget = qobject_cast<QWidget*>(watched))
            return widget == dialog_ || dialog_->isAncestorOf(widget);
        if (auto* window = qobject_cast<QWindow*>(watched))
            return window == dialog_->windowHandle();
        return false;
    }

    QWidget* dialog_;
};

}  // namespace

void runOnWorker(QWidget* window, const QString& title, const QString& label,
                 const std::function<void(const TaskControl&)>& work)
{
    QProgressDialog progress(label, toQString(texts::kCancel), 0, 100, window);
    progress.setWindowTitle(title);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(kProgressAfterMilliseconds);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    std::atomic<bool> cancel{false};
    QObject::connect(&progress, &QProgressDialog::canceled, &progress, [&cancel] { cancel = true; });
    progress.setValue(0);  // the half second starts
    const InputHold hold(&progress);

    // The task's thread posts its percent; one left when the dialog goes
    // goes with it.
    const TaskControl control(
        [&progress](int percent) {
            QMetaObject::invokeMethod(&progress, [&progress, percent] { progress.setValue(percent); },
                                      Qt::QueuedConnection);
        },
        &cancel);
    const std::unique_ptr<QThread> thread(QThread::create([&work, &control] { work(control); }));
    QEventLoop loop;
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    thread->start();
    loop.exec();
    // The loop also ends when the program quits: the task stops first.
    if (!thread->isFinished())
        cancel = true;
    thread->wait();
    // What arrived since the loop last looked is dropped too.
    QCoreApplication::processEvents();
}

void runHoldingInput(const std::function<void()>& work)
{
    const InputHold hold(nullptr);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    // The cursor reaches the screen before the work holds the thread.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    work();
    // What the writer gave meanwhile waited for the thread: it goes. (Qt
    // reads the system's input in one pass and delivers it in the next.)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QGuiApplication::restoreOverrideCursor();
}

}  // namespace vinkring

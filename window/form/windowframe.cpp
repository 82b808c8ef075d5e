#include "window/form/windowframe.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace vinkring {

namespace {

// Waits on the window's first exposure, then runs the action and goes.
class ExposureWatch final : public QObject {
public:
    ExposureWatch(QWindow* window, std::function<void()> action) : QObject(window), action_(std::move(action))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            watched->removeEventFilter(this);
            // After the exposure has been handled: the window paints first.
            QTimer::singleShot(0, watched, std::move(action_));
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> action_;
};

}  // namespace

void fixWindowSize(QWidget& window)
{
    window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    window.setFixedSize(window.sizeHint());
}

void whenOnScreen(QWidget& window, std::function<void()> action)
{
    window.winId();  // makes the native window, whose exposure is watched
    QWindow* handle = window.windowHandle();
    if (handle->isExposed())
        QTimer::singleShot(0, &window, std::move(action));
    else
        new ExposureWatch(handle, std::move(action));
}

}  // namespace vinkring

#include "window/form/windowframe.h"

#include <algorithm>

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace vinkring {

namespace {

// Where the window stood, and on which screen (by its name and area).
const QString kPlaceKey = QStringLiteral("venster");
const QString kScreenNameKey = QStringLiteral("scherm");
const QString kScreenKey = QStringLiteral("schermvlak");

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

void restorePlace(QWidget& window, const QString& settingsFile)
{
    if (settingsFile.isEmpty())
        return;
    const QSettings settings(settingsFile, QSettings::IniFormat);
    const QString screenName = settings.value(kScreenNameKey).toString();
    const QRect screenArea = settings.value(kScreenKey).toRect();
    const QList<QScreen*> screens = QGuiApplication::screens();
    const bool screenThere = std::any_of(screens.begin(), screens.end(), [&](const QScreen* screen) {
        return screen->name() == screenName && screen->geometry() == screenArea;
    });
    if (!window.restoreGeometry(settings.value(kPlaceKey).toByteArray()))
        return;
    if (!screenThere) {
        window.setScreen(QGuiApplication::primaryScreen());
        window.setAttribute(Qt::WA_Moved, false);
    }
    const QScreen* screen = window.screen();
    if (!screen)
        return;
    // Its frame, as far as it is known before it is shown.
    const QSize frame = window.frameGeometry().size() - window.size();
    const QSize room = screen->availableGeometry().size() - frame;
    if (window.width() > room.width() || window.height() > room.height())
        window.resize(window.size().boundedTo(room));
}

void rememberPlace(const QWidget& window, const QString& settingsFile)
{
    if (settingsFile.isEmpty())
        return;
    QSettings settings(settingsFile, QSettings::IniFormat);
    settings.setValue(kPlaceKey, window.saveGeometry());
    if (const QScreen* screen = window.screen()) {
        settings.setValue(kScreenNameKey, screen->name());
        settings.setValue(kScreenKey, screen->geometry());
    }
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

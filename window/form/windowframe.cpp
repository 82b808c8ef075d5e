#include "window/form/windowframe.h"

#include <algorithm>

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "window/form/fontlayout.h"

namespace vinkring {

namespace {

// Where the window stood, maximized or not, and on which screen (by its
// name and area).
const QString kPlaceKey = QStringLiteral("plaats");
const QString kMaximizedKey = QStringLiteral("gemaximaliseerd");
const QString kOldPlaceKey = QStringLiteral("venster");
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
    const QRect place = settings.value(kPlaceKey).toRect();
    if (!place.isValid())
        return;
    const QString screenName = settings.value(kScreenNameKey).toString();
    const QRect screenArea = settings.value(kScreenKey).toRect();
    const QList<QScreen*> screens = QGuiApplication::screens();
    const auto there = std::find_if(screens.begin(), screens.end(), [&](const QScreen* screen) {
        return screen->name() == screenName && screen->geometry() == screenArea;
    });
    QScreen* screen = there != screens.end() ? *there : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    window.setScreen(screen);
    // The frame's top left and the size inside it: where it stood from its
    // screen's top left, on this screen.
    QRect at(place.topLeft() - screenArea.topLeft() + screen->geometry().topLeft(), place.size());
    // Never larger than the screen's room, never smaller than the least size.
    const QSize room = clientRoom(window, 0);
    at.setSize(at.size().boundedTo(room).expandedTo(window.minimumSize()));
    // Whole on the screen: its frame moved in from the right and the bottom,
    // then from the left and the top.
    const QRect available = screen->availableGeometry();
    const QSize whole = at.size() + (available.size() - room);
    at.moveLeft(std::max(available.left(), std::min(at.left(), available.right() + 1 - whole.width())));
    at.moveTop(std::max(available.top(), std::min(at.top(), available.bottom() + 1 - whole.height())));
    window.move(at.topLeft());
    window.resize(at.size());
    if (settings.value(kMaximizedKey).toBool())
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

void rememberPlace(const QWidget& window, const QString& settingsFile)
{
    if (settingsFile.isEmpty())
        return;
    QSettings settings(settingsFile, QSettings::IniFormat);
    // The frame's top left and the size inside it, as it is when not maximized.
    const bool maximized = window.isMaximized();
    const QRect normal = maximized ? window.normalGeometry() : window.geometry();
    settings.setValue(kPlaceKey, QRect(normal.topLeft() - (window.geometry().topLeft() - window.pos()), normal.size()));
    settings.setValue(kMaximizedKey, maximized);
    // Kept by QWidget::saveGeometry before, which drops a place on a screen
    // whose width changed by more than a quarter.
    settings.remove(kOldPlaceKey);
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

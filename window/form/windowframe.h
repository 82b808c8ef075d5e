#pragma once
// The frame the desktop puts around the program's windows.

#include <functional>

class QString;
class QWidget;

namespace vinkring {

// The window's size, place and maximized state as it was closed last, kept
// in settingsFile (none: nothing is kept). On a screen that is no longer
// there (or has another size) the window opens on the first screen, as far
// from its top left as it stood from the old one's. Its size is fitted to
// the screen's available area (never below the window's least size) and its
// place moved in so that it is whole on the screen.
void restorePlace(QWidget& window, const QString& settingsFile);
void rememberPlace(const QWidget& window, const QString& settingsFile);

// Runs action once, from the event loop, as soon as window is on the screen
// (exposed): by then the desktop has placed it, so that a message box shown
// by the action is centred over it where it stands.
void whenOnScreen(QWidget& window, std::function<void()> action);

}  // namespace vinkring

#pragma once
// The frame the desktop puts around the program's windows.

#include <functional>

class QWidget;

namespace vinkring {

// A window of one fixed size: no maximize button and no resize handles; it
// keeps its title bar, system menu, minimize and close buttons.
void fixWindowSize(QWidget& window);

// Runs action once, from the event loop, as soon as window is on the screen
// (exposed): by then the desktop has placed it, so that a message box shown
// by the action is centred over it where it stands.
void whenOnScreen(QWidget& window, std::function<void()> action);

}  // namespace vinkring

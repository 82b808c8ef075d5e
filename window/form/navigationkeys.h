#pragma once
// The navigation buttons for the keyboard and for screen readers: their
// spoken names, and the keys that turn the pages as "<" and ">" do.

#include <optional>

class QKeyEvent;
class QWidget;

namespace vinkring {

// Names and descriptions of "<", ">" and ">|"; the captions stay.
void describeNavigationButtons(QWidget* previous, QWidget* next, QWidget* last);

// The Command1 index of the page key: 0 ("<") for Alt+Left and Ctrl+PgUp, 1
// (">") for Alt+Right and Ctrl+PgDown; nullopt for any other key.
std::optional<int> pageTurn(const QKeyEvent& key);

// After a page key the writer types on in the new page: the focus goes to its
// first control in the window's focus order that takes it (a field; on the
// last page its first enabled button).
void focusFirstControl(QWidget* page);

}  // namespace vinkring

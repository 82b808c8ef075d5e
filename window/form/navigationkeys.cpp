#include "window/form/navigationkeys.h"

#include <QKeyEvent>
#include <QWidget>

#include "model/texts.h"

namespace vinkring {

namespace {

void describe(QWidget* button, std::string_view name, std::string_view description)
{
    button->setAccessibleName(toQString(name));
    button->setAccessibleDescription(toQString(description));
}

}  // namespace

void describeNavigationButtons(QWidget* previous, QWidget* next, QWidget* last)
{
    describe(previous, texts::kPreviousName, texts::kPreviousDescription);
    describe(next, texts::kNextName, texts::kNextDescription);
    describe(last, texts::kLastName, texts::kLastDescription);
}

std::optional<int> pageTurn(const QKeyEvent& key)
{
    const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
    if ((mods == Qt::AltModifier && key.key() == Qt::Key_Left) ||
        (mods == Qt::ControlModifier && key.key() == Qt::Key_PageUp))
        return 0;
    if ((mods == Qt::AltModifier && key.key() == Qt::Key_Right) ||
        (mods == Qt::ControlModifier && key.key() == Qt::Key_PageDown))
        return 1;
    return std::nullopt;
}

void focusFirstControl(QWidget* page)
{
    QWidget* window = page->window();
    for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain()) {
        if (page->isAncestorOf(w) && w->isEnabled() && w->isVisibleTo(window) && (w->focusPolicy() & Qt::TabFocus)) {
            w->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

}  // namespace vinkring

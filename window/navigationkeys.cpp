#include "window/navigationkeys.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

#include "model/texts.h"

namespace vinkring {

namespace {

enum class Turn { None, Back, Forward };

Turn turnOf(const QKeyEvent& key)
{
    const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
    if (mods == Qt::AltModifier && key.key() == Qt::Key_Left)
        return Turn::Back;
    if (mods == Qt::AltModifier && key.key() == Qt::Key_Right)
        return Turn::Forward;
    if (mods == Qt::ControlModifier && key.key() == Qt::Key_PageUp)
        return Turn::Back;
    if (mods == Qt::ControlModifier && key.key() == Qt::Key_PageDown)
        return Turn::Forward;
    return Turn::None;
}

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

NavigationKeys::NavigationKeys(QWidget* window, QAbstractButton* previous, QAbstractButton* next,
                               std::function<void(int)> click)
    : window_(window), previous_(previous), next_(next), click_(std::move(click))
{
    QCoreApplication::instance()->installEventFilter(this);
}

NavigationKeys::~NavigationKeys()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

bool NavigationKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType() ||
        static_cast<QWidget*>(watched)->window() != window_)
        return false;
    const Turn turn = turnOf(*static_cast<QKeyEvent*>(event));
    if (turn == Turn::None)
        return false;
    QAbstractButton* button = turn == Turn::Back ? previous_ : next_;
    if (button && button->isEnabled())
        click_(turn == Turn::Back ? 0 : 1);
    return true;
}

}  // namespace vinkring

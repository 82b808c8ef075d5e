#include "window/form/accesskeys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QShortcutEvent>

namespace vinkring {

ImmediateAccessKeys::ImmediateAccessKeys(QObject* parent) : QObject(parent)
{
    QCoreApplication::instance()->installEventFilter(this);
}

ImmediateAccessKeys::~ImmediateAccessKeys()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

bool ImmediateAccessKeys::eventFilter(QObject* watched, QEvent* event)
{
    // A button hears only its own access key as a shortcut. An ambiguous one
    // (two buttons with the same key) keeps Qt's way: the focus moves.
    if (event->type() != QEvent::Shortcut || static_cast<QShortcutEvent*>(event)->isAmbiguous())
        return false;
    auto* button = qobject_cast<QAbstractButton*>(watched);
    if (!button || !button->isEnabled())
        return false;
    button->click();
    return true;
}

}  // namespace vinkring

#include "window/form/keypreview.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace vinkring {

int vbKeyCode(int qtKey)
{
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 112 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt:
    case Qt::Key_AltGr: return 18;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: return qtKey & 0xffff;
    }
}

KeyPreview::KeyPreview(QWidget* window, Handler handler, Taker take)
    : window_(window), handler_(std::move(handler)), take_(std::move(take))
{
    QCoreApplication::instance()->installEventFilter(this);
}

KeyPreview::~KeyPreview()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

bool KeyPreview::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyRelease)
        travelling_ = nullptr;
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != window_)
        return false;
    const bool travelledUp = event == travelling_ && seenAt_ && seenAt_->parentWidget() == widget;
    travelling_ = event;
    seenAt_ = widget;
    if (travelledUp)
        return false;

    auto* key = static_cast<QKeyEvent*>(event);
    int shift = 0;
    const Qt::KeyboardModifiers mods = key->modifiers();
    if (mods & Qt::ShiftModifier)
        shift |= kShiftMask;
    if (mods & Qt::ControlModifier)
        shift |= kCtrlMask;
    if (mods & Qt::AltModifier)
        shift |= kAltMask;
    handler_(vbKeyCode(key->key()), shift);
    // A box or dialog the handler opened saw keys of its own (the release of
    // this one among them): this press, travelling on, is still this one.
    travelling_ = event;
    seenAt_ = widget;
    return take_ && take_(*key);
}

}  // namespace vinkring

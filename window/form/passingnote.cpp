#include "window/form/passingnote.h"

namespace vinkring {

PassingNote::PassingNote(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    hide();
    timer_.setSingleShot(true);
    timer_.setInterval(kShowMilliseconds);
    connect(&timer_, &QTimer::timeout, this, [this] {
        hide();
        clear();
    });
}

void PassingNote::say(const QString& text)
{
    setText(text);
    show();
    timer_.start();
}

}  // namespace vinkring

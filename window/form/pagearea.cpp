#include "window/form/pagearea.h"

#include <algorithm>
#include <utility>

#include <QApplication>
#include <QChildEvent>
#include <QCoreApplication>
#include <QScrollBar>
#include <QTimer>

namespace vinkring {

PageArea::PageArea(QWidget* parent) : QScrollArea(parent)
{
    setObjectName(QStringLiteral("pageArea"));
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
    // The page is as wide as the area: nothing to scroll sideways to.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* pages = new QWidget;
    pages->setObjectName(QStringLiteral("pages"));
    pages->installEventFilter(this);
    setWidget(pages);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { focusMoved(now); });
}

void PageArea::setPageSize(QSize size)
{
    widget()->setFixedSize(size);
    // The scroll bar and the part in view follow at once, not at the next
    // turn of the event loop: a control that gets the focus now comes into view.
    QEvent relayout(QEvent::LayoutRequest);
    QCoreApplication::sendEvent(this, &relayout);
}

bool PageArea::eventFilter(QObject* watched, QEvent* event)
{
    // Each page as it is added; then each time one is shown.
    if (watched == widget() && event->type() == QEvent::ChildAdded) {
        QObject* child = static_cast<QChildEvent*>(event)->child();
        if (child->isWidgetType())
            child->installEventFilter(this);
    } else if (watched != widget() && event->type() == QEvent::Show) {
        horizontalScrollBar()->setValue(0);
        verticalScrollBar()->setValue(0);
    }
    return QScrollArea::eventFilter(watched, event);
}

void PageArea::followCursor(QWidget* field)
{
    if (verticalScrollBar()->maximum() == 0 || !widget()->isAncestorOf(field))
        return;
    // After the field has scrolled its own text to the cursor.
    if (!following_)
        QTimer::singleShot(0, this, &PageArea::showCursor);
    following_ = field;
}

void PageArea::showCursor()
{
    QWidget* field = std::exchange(following_, nullptr);
    if (!field || !field->hasFocus())
        return;
    const QRect caret = field->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const QPoint at = field->mapTo(widget(), caret.center());
    ensureVisible(at.x(), at.y(), 0, caret.height() / 2 + 8);
}

void PageArea::focusMoved(QWidget* now)
{
    if (!now || !widget()->isAncestorOf(now))
        return;
    // The whole control where it fits, its top where it does not:
    // ensureWidgetVisible would show no more than a field's cursor line.
    constexpr int margin = 8;
    const QRect at(now->mapTo(widget(), QPoint(0, 0)), now->size());
    QScrollBar* bar = verticalScrollBar();
    int top = bar->value();
    top = std::max(top, at.bottom() + 1 + margin - viewport()->height());
    top = std::min(top, at.top() - margin);
    bar->setValue(top);
}

}  // namespace vinkring

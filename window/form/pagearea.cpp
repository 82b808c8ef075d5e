#include "window/form/pagearea.h"

#include <QApplication>
#include <QChildEvent>
#include <QScrollBar>

namespace vinkring {

PageArea::PageArea(QWidget* parent) : QScrollArea(parent)
{
    setObjectName(QStringLiteral("pageArea"));
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
    auto* pages = new QWidget;
    pages->setObjectName(QStringLiteral("pages"));
    pages->installEventFilter(this);
    setWidget(pages);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { focusMoved(now); });
}

void PageArea::setPageSize(QSize size)
{
    widget()->setFixedSize(size);
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

void PageArea::focusMoved(QWidget* now)
{
    if (now && widget()->isAncestorOf(now))
        ensureWidgetVisible(now, 8, 8);
}

}  // namespace vinkring

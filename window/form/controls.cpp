#include "window/form/controls.h"

#include <algorithm>

#include <QLabel>
#include <QPushButton>

#include "model/texts.h"

namespace vinkring {

QLabel* makeLabel(QWidget* parent, std::string_view name, const QString& caption, const QRect& where)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(toQString(name));
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(where);
    return label;
}

QPushButton* makeButton(QWidget* parent, const QString& name, std::string_view caption, const QRect& where)
{
    auto* button = new QPushButton(toQString(caption), parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setGeometry(where);
    return button;
}

int firstControlTop(const QWidget* page)
{
    int top = page->height();
    for (const QWidget* child : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        top = std::min(top, child->y());
    return top;
}

void fitLabels(const std::vector<std::pair<QLabel*, QWidget*>>& singleLine)
{
    int needed = 0;
    for (const auto& [label, widget] : singleLine)
        needed = std::max(needed, label->x() + label->sizeHint().width() + 6);
    for (const auto& [label, widget] : singleLine) {
        if (needed > widget->x()) {
            const int right = widget->geometry().right();
            label->resize(label->sizeHint().width(), label->height());
            widget->setGeometry(needed, widget->y(), right - needed + 1, widget->height());
        }
    }
}

}  // namespace vinkring

#include "window/form/controls.h"

#include <algorithm>

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "model/fieldrules.h"
#include "model/texts.h"
#include "window/form/articlefields.h"
#include "window/form/fontlayout.h"
#include "window/form/layout.h"

namespace vinkring {

QValidator::State LineEndRule::validate(QString& input, int& position) const
{
    if (std::none_of(input.cbegin(), input.cend(), isLineBreak))
        return Acceptable;
    position = int(rewrite_(input.left(position)).size());
    input = rewrite_(input);
    return Acceptable;
}

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

QGroupBox* makePage(int index, QWidget* parent, double scale, ArticleFields& fields,
                    std::array<QWidget*, kFieldCount>& made, const std::function<void(QGroupBox& page)>& addControls)
{
    using layout::pixels;
    const PageInfo& pageInfo = kPages[std::size_t(index)];
    auto* page = new QGroupBox(toQString(pageInfo.caption), parent);
    page->setObjectName(QStringLiteral("Frame1"));
    page->setProperty("Index", index);
    page->setGeometry(QRect(QPoint(0, 0), pixels(layout::kPageArea, scale).size()));

    std::vector<std::pair<QLabel*, QWidget*>> singleLine;
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        const FieldInfo& entry = kFields[i];
        if (entry.page != index)
            continue;
        QWidget* widget = made[i] = fields.create(i, page);
        widget->setObjectName(toQString(entry.name));
        widget->setGeometry(pixels(entry.geometry, scale));
        if (!entry.labelName.empty()) {
            QLabel* label =
                makeLabel(page, entry.labelName, toQString(entry.labelCaption), pixels(layout::labelArea(entry), scale));
            label->setBuddy(widget);
            if (!entry.multiLine)
                singleLine.push_back({label, widget});
            widget->setAccessibleName(QString::fromStdString(stripAccessKey(entry.labelCaption)));
        } else {
            widget->setAccessibleName(toQString(pageInfo.caption));
        }
        fields.setText(i, toQString(entry.defaultText));
    }
    fitLabels(singleLine);
    addControls(*page);

    QLabel* guide = makeLabel(page, pageInfo.guideLabelName, toQString(pageInfo.guideText),
                              guideGeometry(*page, pixels(layout::kGuideArea, scale), firstControlTop(page)));
    guide->setWordWrap(true);
    guide->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return page;
}

}  // namespace vinkring

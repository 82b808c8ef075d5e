#pragma once
// The window's plain controls as the designer places them: named, at a given
// rectangle, with the program's settings.

#include <string_view>
#include <utility>
#include <vector>

#include <QRect>
#include <QString>

class QLabel;
class QPushButton;
class QWidget;

namespace vinkring {

QLabel* makeLabel(QWidget* parent, std::string_view name, const QString& caption, const QRect& where);
QPushButton* makeButton(QWidget* parent, const QString& name, std::string_view caption, const QRect& where);

// The top of the highest control on a page.
int firstControlTop(const QWidget* page);

// Labels wider than designed (other fonts) push their single-line fields
// right together, never clip.
void fitLabels(const std::vector<std::pair<QLabel*, QWidget*>>& singleLine);

}  // namespace vinkring

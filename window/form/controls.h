#pragma once
// The window's plain controls as the designer places them: named, at a given
// rectangle, with the program's settings.

#include <array>
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

#include <QRect>
#include <QString>
#include <QValidator>

#include "model/fieldtable.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;

namespace vinkring {

class ArticleFields;

QLabel* makeLabel(QWidget* parent, std::string_view name, const QString& caption, const QRect& where);
QPushButton* makeButton(QWidget* parent, const QString& name, std::string_view caption, const QRect& where);

// The top of the highest control on a page.
int firstControlTop(const QWidget* page);

// Labels wider than designed (other fonts) push their single-line fields
// right together, never clip.
void fitLabels(const std::vector<std::pair<QLabel*, QWidget*>>& singleLine);

// Gives a line field's input back with each line end in it rewritten (a
// QLineEdit takes the changed text, from typing, paste, drop, insert() and
// setText() alike); an input without line ends passes as it is.
class LineEndRule final : public QValidator {
public:
    LineEndRule(std::function<QString(const QString&)> rewrite, QObject* parent)
        : QValidator(parent), rewrite_(std::move(rewrite))
    {
    }
    State validate(QString& input, int& position) const override;

private:
    std::function<QString(const QString&)> rewrite_;
};

// A page (Frame1) of the page table, grown by scale: its fields, made by
// fields, named, placed, labelled and holding their default texts (each in
// made too). addControls adds the page's other controls; then its guide text
// goes above all of them.
QGroupBox* makePage(int index, QWidget* parent, double scale, ArticleFields& fields,
                    std::array<QWidget*, kFieldCount>& made, const std::function<void(QGroupBox& page)>& addControls);

}  // namespace vinkring

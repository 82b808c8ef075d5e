#pragma once
// One of the 27 fields as its widget shows it; the inside of ArticleFields,
// which alone uses it. Texts and offsets are in the document's CR LF form:
// in a section field a widget position plus its block number, since the
// widget holds one block per line and no line separators. A text the widget
// cannot give back as it was set (a lone CR or LF, a line separator from a
// file written elsewhere) is kept beside it, and returned and counted in,
// while the widget shows it unchanged.

#include <cstddef>
#include <functional>
#include <optional>

#include <QList>
#include <QString>

#include "article/tagcommands.h"

class QContextMenuEvent;
class QFocusEvent;
class QKeyEvent;
class QLineEdit;
class QObject;
class QPlainTextEdit;
class QTextDocument;
class QWidget;

namespace vinkring {

// What the widget tells its binding, before it handles the event itself.
struct FieldEvents {
    std::function<void(const QKeyEvent&)> key;
    std::function<void(QContextMenuEvent&)> menu;
    std::function<void(const QFocusEvent&)> focusOut;
};

class FieldBinding {
public:
    FieldBinding() = default;
    // Makes the field's widget on page: a line field or a section field.
    FieldBinding(std::size_t field, QWidget* page, FieldEvents events);

    QWidget* widget() const;
    QLineEdit* line() const { return line_; }
    QPlainTextEdit* section() const { return section_; }
    QTextDocument* document() const;

    QString text() const;
    // Puts a text in the field as a new start: its undo history goes.
    void setText(const QString& text);

    // Widget position and CR LF offset, each to the other.
    qsizetype offsetAt(int position) const;
    int positionOf(qsizetype offset) const;

    TextSelection selection() const;
    qsizetype cursor() const;
    // Selects, the cursor at the end, and scrolls it into view when it is not.
    void select(TextSelection selection);
    // The whole lines the selection touches, with where they start.
    struct Span {
        QString text;
        qsizetype offset = 0;
        TextSelection selection;
    };
    Span linesAround() const;

    // The edits (offsets of the text before, not overlapping) in one edit
    // block, each insert through the field's rule; then `after` is selected,
    // or the cursor stays where it was, moved along by the edits.
    void apply(QList<TextEdit> edits, std::optional<TextSelection> after);

    // Calls edited, for as long as context lives, once for each change of
    // the field's text (typed, pasted, dropped, undone or set); a change of
    // formats alone (a highlighter's underline) is none.
    void onEdited(QObject* context, std::function<void()> edited);

private:
    QString shownText() const;
    // Keeps the exact text beside the widget when the widget shows it otherwise.
    void remember(const QString& text);
    // Whether the widget still shows the kept text.
    void checkShadow();

    std::size_t field_ = 0;
    QLineEdit* line_ = nullptr;
    QPlainTextEdit* section_ = nullptr;
    QString exact_;  // the text last set, when the widget shows it otherwise
    QString shown_;  // what the widget gave back for it
    bool shadowed_ = false;
};

}  // namespace vinkring

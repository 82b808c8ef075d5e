#pragma once
// One of the 27 fields as its widget shows it, giving back exactly the text
// it was given. A widget cannot give back some texts as they were set (a
// lone CR or LF, line and paragraph separators from a file written
// elsewhere); those are kept beside it and returned until the writer edits
// the field.

#include <functional>

#include <QString>

class QLineEdit;
class QObject;
class QPlainTextEdit;
class QWidget;

namespace vinkring {

class FieldBinding {
public:
    FieldBinding() = default;
    // A line field takes texts of any length.
    explicit FieldBinding(QLineEdit* line);
    explicit FieldBinding(QPlainTextEdit* multi) : multi_(multi) {}

    QWidget* widget() const;
    // Line ends as CR LF.
    QString text() const;
    // Puts a text in the field as a new start: its undo history goes.
    void setText(const QString& text);
    // Changes the text as one edit the writer can undo with Ctrl+Z, after
    // what was typed before it.
    void replaceText(const QString& text);
    // Calls edited, for as long as context lives, once for each change of
    // the field's text (typed, pasted, dropped, undone or set); a change of
    // formats alone (a highlighter's underline) is none.
    void onEdited(QObject* context, std::function<void()> edited) const;

private:
    QString shownText() const;
    // Keeps the exact text beside the widget when the widget shows it otherwise.
    void remember(const QString& text);

    QLineEdit* line_ = nullptr;
    QPlainTextEdit* multi_ = nullptr;
    QString exact_;  // the text last set, when the widget shows it otherwise
    QString shown_;  // what the widget gave back for it
    bool shadowed_ = false;
};

}  // namespace vinkring

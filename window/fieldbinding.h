#pragma once
// One of the 27 fields as its widget shows it, giving back exactly the text
// it was given. A widget cannot give back some texts as they were set (a
// lone CR or LF, line and paragraph separators from a file written
// elsewhere); those are kept beside it and returned until the writer edits
// the field.

#include <QString>

class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace vinkring {

class FieldBinding {
public:
    FieldBinding() = default;
    explicit FieldBinding(QLineEdit* line) : line_(line) {}
    explicit FieldBinding(QPlainTextEdit* multi) : multi_(multi) {}

    QWidget* widget() const;
    // Line ends as CR LF.
    QString text() const;
    void setText(const QString& text);

private:
    QString shownText() const;

    QLineEdit* line_ = nullptr;
    QPlainTextEdit* multi_ = nullptr;
    QString exact_;  // the text last set, when the widget shows it otherwise
    QString shown_;  // what the widget gave back for it
    bool shadowed_ = false;
};

}  // namespace vinkring

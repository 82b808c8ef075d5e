#include "window/fieldbinding.h"

#include <limits>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

namespace vinkring {

FieldBinding::FieldBinding(QLineEdit* line) : line_(line)
{
    line_->setMaxLength(std::numeric_limits<int>::max());
}

QWidget* FieldBinding::widget() const
{
    return line_ ? static_cast<QWidget*>(line_) : multi_;
}

QString FieldBinding::shownText() const
{
    if (line_)
        return line_->text();
    // Raw text keeps no-break spaces; blocks and line separators become CR LF.
    QString text = multi_->document()->toRawText();
    const QString crLf = QStringLiteral("\r\n");
    text.replace(QChar::ParagraphSeparator, crLf);
    text.replace(QChar::LineSeparator, crLf);
    return text;
}

QString FieldBinding::text() const
{
    QString text = shownText();
    if (shadowed_ && text == shown_)
        return exact_;
    return text;
}

void FieldBinding::setText(const QString& text)
{
    if (line_)
        line_->setText(text);
    else
        multi_->setPlainText(text);
    remember(text);
}

void FieldBinding::replaceText(const QString& text)
{
    if (line_) {
        line_->selectAll();
        line_->insert(text);
    } else {
        QTextCursor cursor(multi_->document());
        cursor.beginEditBlock();
        cursor.select(QTextCursor::Document);
        cursor.insertText(text);
        cursor.endEditBlock();
    }
    remember(text);
}

void FieldBinding::remember(const QString& text)
{
    shadowed_ = false;
    exact_.clear();
    shown_.clear();
    QString shown = shownText();
    if (shown != text) {
        shadowed_ = true;
        exact_ = text;
        shown_ = std::move(shown);
    }
}

void FieldBinding::onEdited(QObject* context, std::function<void(bool certain)> edited) const
{
    if (line_) {
        QObject::connect(line_, &QLineEdit::textChanged, context, [edited] { edited(true); });
        return;
    }
    QObject::connect(multi_->document(), &QTextDocument::contentsChange, context,
                     [edited](int, int removed, int added) { edited(removed != added); });
}

}  // namespace vinkring

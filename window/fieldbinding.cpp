#include "window/fieldbinding.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>

namespace vinkring {

QWidget* FieldBinding::widget() const
{
    return line_ ? static_cast<QWidget*>(line_) : multi_;
}

QString FieldBinding::shownText() const
{
    if (line_)
        return line_->text();
    // Raw text keeps no-break spaces; blocks and line separators become CR LF.
    const QString text = multi_->document()->toRawText();
    QString out;
    out.reserve(text.size() + text.size() / 32);
    for (const QChar c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            out += QStringLiteral("\r\n");
        else
            out += c;
    }
    return out;
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

}  // namespace vinkring

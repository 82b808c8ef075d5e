#include "window/form/fieldbinding.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <utility>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
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
    // Raw text keeps no-break spaces; blocks and line separators become CR
    // LF, in one pass over a string made at its size (a field may hold
    // megabytes, and this runs on every recovery write after a change).
    const QString raw = multi_->document()->toRawText();
    const auto isBreak = [](QChar c) { return c == QChar::ParagraphSeparator || c == QChar::LineSeparator; };
    const qsizetype breaks = std::count_if(raw.cbegin(), raw.cend(), isBreak);
    if (breaks == 0)
        return raw;
    QString text(raw.size() + breaks, Qt::Uninitialized);
    QChar* out = text.data();
    for (const QChar c : raw) {
        if (isBreak(c)) {
            *out++ = u'\r';
            *out++ = u'\n';
        } else {
            *out++ = c;
        }
    }
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

namespace {

// A change of as many characters as went is an edit when it gave a block of
// the range the document's new revision (an edit's mark; a highlighter's
// formats move the document's revision alone), or when it was an undo or a
// redo (which give blocks back their old revisions).
class EditWatch {
public:
    explicit EditWatch(const QTextDocument* doc) : doc_(doc), steps_(undoSteps()) {}

    bool isEdit(int position, int removed, int added)
    {
        const std::pair<int, int> steps = undoSteps();
        const bool undone = steps != steps_;
        steps_ = steps;
        if (removed != added || undone)
            return true;
        const int revision = doc_->revision();
        for (QTextBlock block = doc_->findBlock(position); block.isValid() && block.position() <= position + added;
             block = block.next()) {
            if (block.revision() == revision)
                return true;
        }
        return false;
    }

private:
    std::pair<int, int> undoSteps() const { return {doc_->availableUndoSteps(), doc_->availableRedoSteps()}; }

    const QTextDocument* doc_;
    std::pair<int, int> steps_;
};

}  // namespace

void FieldBinding::onEdited(QObject* context, std::function<void()> edited) const
{
    if (line_) {
        QObject::connect(line_, &QLineEdit::textChanged, context, [edited] { edited(); });
        return;
    }
    auto watch = std::make_shared<EditWatch>(multi_->document());
    QObject::connect(multi_->document(), &QTextDocument::contentsChange, context,
                     [edited, watch](int position, int removed, int added) {
                         if (watch->isEdit(position, removed, added))
                             edited();
                     });
}

}  // namespace vinkring

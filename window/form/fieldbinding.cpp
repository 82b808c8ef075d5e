#include "window/form/fieldbinding.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <utility>

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "model/fieldrules.h"
#include "window/form/controls.h"

namespace vinkring {

namespace {

// Undo and redo are the article's history's (through the key preview): the
// widgets' own, which would go round it, are not reached.
bool isOwnUndo(const QKeyEvent& key)
{
    return key.matches(QKeySequence::Undo) || key.matches(QKeySequence::Redo);
}

// Either kind of field: it tells its binding of keys, of its context menu
// and of the focus leaving it, before it handles them itself.
template <typename Edit>
class Field : public Edit {
public:
    Field(QWidget* page, FieldEvents events) : Edit(page), events_(std::move(events)) {}

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (isOwnUndo(*event))
            return;
        events_.key(*event);
        typed(event);
    }
    virtual void typed(QKeyEvent* event) { Edit::keyPressEvent(event); }
    // What an input method puts in is typed as a key's text is.
    void inputMethodEvent(QInputMethodEvent* event) override
    {
        if (!event->commitString().isEmpty())
            events_.key(QKeyEvent(QEvent::KeyPress, 0, Qt::NoModifier, event->commitString()));
        Edit::inputMethodEvent(event);
    }
    void contextMenuEvent(QContextMenuEvent* event) override { events_.menu(*event); }
    void focusOutEvent(QFocusEvent* event) override
    {
        Edit::focusOutEvent(event);
        if (event->reason() != Qt::PopupFocusReason)
            events_.focusOut(*event);
    }

private:
    FieldEvents events_;
};

class LineField final : public Field<QLineEdit> {
public:
    LineField(QWidget* page, FieldEvents events) : Field(page, std::move(events))
    {
        setMaxLength(std::numeric_limits<int>::max());  // a text of any length
        // The one-line rule for whatever the field takes in.
        setValidator(new LineEndRule([](const QString& text) { return asOneLine(text); }, this));
    }

    // A line field drops its selection when the menu bar takes the keyboard
    // (Alt+O): kept meanwhile, for a command of the menu, and given back.
    std::optional<TextSelection> kept;

protected:
    void focusOutEvent(QFocusEvent* event) override
    {
        if (event->reason() == Qt::MenuBarFocusReason && hasSelectedText())
            kept = TextSelection{selectionStart(), selectionEnd()};
        Field::focusOutEvent(event);
    }
    void focusInEvent(QFocusEvent* event) override
    {
        QLineEdit::focusInEvent(event);
        if (const std::optional<TextSelection> back = std::exchange(kept, std::nullopt);
            back && event->reason() == Qt::MenuBarFocusReason && back->end <= text().size())
            setSelection(int(back->start), int(back->end - back->start));
    }
};

class SectionField final : public Field<QPlainTextEdit> {
public:
    SectionField(QWidget* page, FieldEvents events) : Field(page, std::move(events))
    {
        setTabChangesFocus(true);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        setLineWrapMode(QPlainTextEdit::WidgetWidth);
    }

protected:
    // Shift+Enter makes a new line as Enter does: the field holds no line
    // separators, so that its offsets stay a matter of blocks.
    void typed(QKeyEvent* event) override
    {
        if (event->matches(QKeySequence::InsertLineSeparator)) {
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, event->modifiers() & ~Qt::ShiftModifier,
                            QStringLiteral("\r"));
            QPlainTextEdit::keyPressEvent(&enter);
            return;
        }
        QPlainTextEdit::keyPressEvent(event);
    }
    // Pasted and dropped text with line ends of every kind: each a new line.
    void insertFromMimeData(const QMimeData* source) override
    {
        if (!source->hasText()) {
            QPlainTextEdit::insertFromMimeData(source);
            return;
        }
        QMimeData plain;
        plain.setText(withCrLf(source->text()));
        QPlainTextEdit::insertFromMimeData(&plain);
    }
};

// The text as the widget is given it: a line separator as a new block.
QString widgetForm(QString text)
{
    return text.replace(QChar::LineSeparator, QChar::ParagraphSeparator);
}

bool isCrLf(QStringView text, qsizetype at)
{
    return text.at(at) == u'\r' && at + 1 < text.size() && text.at(at + 1) == u'\n';
}

// In a text the widget shows otherwise, every character or CR LF is one
// position of the widget.
int exactToPosition(QStringView exact, qsizetype offset)
{
    int position = 0;
    for (qsizetype i = 0; i < offset && i < exact.size(); ++i, ++position) {
        if (isCrLf(exact, i) && ++i >= offset)
            break;
    }
    return position;
}

qsizetype positionToExact(QStringView exact, int position)
{
    qsizetype i = 0;
    for (int p = 0; p < position && i < exact.size(); ++p)
        i += isCrLf(exact, i) ? 2 : 1;
    return i;
}

// A position after the edit, as a text cursor there would move: before the
// edit it stays, after it it moves along, inside it it goes to the insert's end.
qsizetype movedBy(qsizetype position, const TextEdit& edit)
{
    if (position < edit.from)
        return position;
    if (position >= edit.to)
        return position + edit.insert.size() - (edit.to - edit.from);
    return edit.from + edit.insert.size();
}

// A selection given for the insert as asked, moved onto the insert as fitted.
qsizetype fittedPlace(qsizetype position, const TextEdit& asked, const QString& fitted, std::size_t field)
{
    if (position <= asked.from)
        return position;
    if (position >= asked.from + asked.insert.size())
        return position + fitted.size() - asked.insert.size();
    return asked.from + fitToField(field, asked.insert.left(position - asked.from)).size();
}

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

FieldBinding::FieldBinding(std::size_t field, QWidget* page, FieldEvents events) : field_(field)
{
    if (isOneLine(field))
        line_ = new LineField(page, std::move(events));
    else
        section_ = new SectionField(page, std::move(events));
}

QWidget* FieldBinding::widget() const
{
    return line_ ? static_cast<QWidget*>(line_) : section_;
}

QTextDocument* FieldBinding::document() const
{
    return section_ ? section_->document() : nullptr;
}

QString FieldBinding::shownText() const
{
    if (line_)
        return line_->text();
    // Raw text keeps no-break spaces; blocks become CR LF, in one pass over
    // a string made at its size (a field may hold megabytes).
    const QString raw = section_->document()->toRawText();
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
    return shadowed_ ? exact_ : shownText();
}

void FieldBinding::setText(const QString& text)
{
    if (line_)
        line_->setText(text);
    else
        section_->setPlainText(widgetForm(text));
    remember(text);
}

namespace {

// Whether the widget gives the text back as it was set. Every line end but
// CR LF (a lone CR or LF, a line or paragraph separator, Qt's frame marks)
// becomes a paragraph of the widget, which it gives back as CR LF, one
// character more: the length tells, without reading megabytes back.
bool givenBackAsSet(const QString& text, const QTextDocument& doc)
{
    return doc.characterCount() - 1 + doc.blockCount() - 1 == text.size();
}

}  // namespace

void FieldBinding::remember(const QString& text)
{
    shadowed_ = false;
    exact_.clear();
    shown_.clear();
    if (section_ && givenBackAsSet(text, *section_->document()))
        return;
    QString shown = shownText();
    if (shown != text) {
        shadowed_ = true;
        exact_ = text;
        shown_ = std::move(shown);
    }
}

void FieldBinding::checkShadow()
{
    if (exact_.isNull())
        return;
    // The length first: a whole comparison only where it can be the same.
    const QTextDocument* doc = section_ ? section_->document() : nullptr;
    const qsizetype length = doc ? doc->characterCount() - 1 + doc->blockCount() - 1 : line_->text().size();
    shadowed_ = length == shown_.size() && shownText() == shown_;
}

qsizetype FieldBinding::offsetAt(int position) const
{
    if (line_)
        return position;
    const QTextDocument* doc = section_->document();
    position = std::clamp(position, 0, doc->characterCount() - 1);
    if (shadowed_)
        return positionToExact(exact_, position);
    return position + doc->findBlock(position).blockNumber();
}

int FieldBinding::positionOf(qsizetype offset) const
{
    if (line_)
        return int(std::clamp<qsizetype>(offset, 0, line_->text().size()));
    if (shadowed_)
        return exactToPosition(exact_, offset);
    // The last block that starts at or before the offset; each block before
    // it ends in a CR LF, one position of the widget.
    const QTextDocument* doc = section_->document();
    int low = 0;
    int high = doc->blockCount() - 1;
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (doc->findBlockByNumber(middle).position() + middle <= offset)
            low = middle;
        else
            high = middle - 1;
    }
    const QTextBlock block = doc->findBlockByNumber(low);
    return int(std::min<qsizetype>(offset - low, block.position() + block.length() - 1));
}

TextSelection FieldBinding::selection() const
{
    if (line_) {
        const auto* field = static_cast<const LineField*>(line_);
        if (!line_->hasSelectedText() && field->kept)
            return *field->kept;
        const qsizetype start = line_->hasSelectedText() ? line_->selectionStart() : line_->cursorPosition();
        return {start, line_->hasSelectedText() ? line_->selectionEnd() : start};
    }
    const QTextCursor cursor = section_->textCursor();
    return {offsetAt(cursor.selectionStart()), offsetAt(cursor.selectionEnd())};
}

qsizetype FieldBinding::cursor() const
{
    return line_ ? line_->cursorPosition() : offsetAt(section_->textCursor().position());
}

void FieldBinding::select(TextSelection selection)
{
    if (line_) {
        static_cast<LineField*>(line_)->kept.reset();
        const int start = positionOf(selection.start);
        line_->setSelection(start, positionOf(selection.end) - start);
        return;
    }
    QTextCursor cursor(section_->document());
    cursor.setPosition(positionOf(selection.start));
    cursor.setPosition(positionOf(selection.end), QTextCursor::KeepAnchor);
    section_->setTextCursor(cursor);
    if (!section_->viewport()->rect().contains(section_->cursorRect()))
        section_->centerCursor();
}

FieldBinding::Span FieldBinding::linesAround() const
{
    if (line_ || shadowed_)
        return {text(), 0, selection()};
    // Only those lines: a field may hold megabytes.
    const QTextCursor cursor = section_->textCursor();
    const QTextDocument* doc = section_->document();
    const QTextBlock first = doc->findBlock(cursor.selectionStart());
    const QTextBlock last = doc->findBlock(cursor.selectionEnd());
    QTextCursor lines(section_->document());
    lines.setPosition(first.position());
    lines.setPosition(last.position() + last.length() - 1, QTextCursor::KeepAnchor);
    const qsizetype offset = offsetAt(first.position());
    return {lines.selectedText().replace(QChar::ParagraphSeparator, QStringLiteral("\r\n")), offset,
            {offsetAt(cursor.selectionStart()) - offset, offsetAt(cursor.selectionEnd()) - offset}};
}

void FieldBinding::apply(QList<TextEdit> edits, std::optional<TextSelection> after)
{
    // From the end backwards, so that the places before each edit stay as they were.
    std::sort(edits.begin(), edits.end(), [](const TextEdit& a, const TextEdit& b) { return a.from > b.from; });
    if (after && edits.size() == 1) {
        const QString fitted = fitToField(field_, edits.front().insert);
        after = TextSelection{fittedPlace(after->start, edits.front(), fitted, field_),
                              fittedPlace(after->end, edits.front(), fitted, field_)};
    }
    for (TextEdit& edit : edits)
        edit.insert = fitToField(field_, std::move(edit.insert));

    if (line_) {
        QString text = line_->text();
        qsizetype anchor = line_->hasSelectedText() ? line_->selectionStart() : line_->cursorPosition();
        qsizetype cursor = line_->cursorPosition();
        if (line_->hasSelectedText() && cursor == anchor)
            anchor = line_->selectionEnd();
        for (const TextEdit& edit : edits) {
            text.replace(edit.from, edit.to - edit.from, edit.insert);
            anchor = movedBy(anchor, edit);
            cursor = movedBy(cursor, edit);
        }
        line_->setText(text);
        if (!after)
            after = TextSelection{std::min(anchor, cursor), std::max(anchor, cursor)};
        select(*after);
        return;
    }

    QList<std::pair<int, int>> places;
    for (const TextEdit& edit : edits)
        places.append({positionOf(edit.from), positionOf(edit.to)});
    QTextCursor cursor(section_->document());
    cursor.beginEditBlock();
    for (qsizetype i = 0; i < edits.size(); ++i) {
        cursor.setPosition(places[i].first);
        cursor.setPosition(places[i].second, QTextCursor::KeepAnchor);
        cursor.insertText(edits[i].insert);
    }
    cursor.endEditBlock();
    if (after)
        select(*after);
}

void FieldBinding::onEdited(QObject* context, std::function<void()> edited)
{
    if (line_) {
        QObject::connect(line_, &QLineEdit::textChanged, context, [this, edited] {
            checkShadow();
            edited();
        });
        return;
    }
    auto watch = std::make_shared<EditWatch>(section_->document());
    QObject::connect(section_->document(), &QTextDocument::contentsChange, context,
                     [this, edited, watch](int position, int removed, int added) {
                         if (!watch->isEdit(position, removed, added))
                             return;
                         checkShadow();
                         edited();
                     });
}

}  // namespace vinkring

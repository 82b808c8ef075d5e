#include "window/form/articlefields.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextDocument>

#include "model/fieldrules.h"
#include "window/form/articlehistory.h"

namespace vinkring {

namespace {

bool isModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
        return true;
    default:
        return false;
    }
}

// The change from one text to another: only the stretch between what they
// have in common at the start and at the end.
TextEdit changeBetween(const QString& from, const QString& to)
{
    const qsizetype shorter = std::min(from.size(), to.size());
    qsizetype head = 0;
    while (head < shorter && from.at(head) == to.at(head))
        ++head;
    qsizetype tail = 0;
    while (tail < shorter - head && from.at(from.size() - 1 - tail) == to.at(to.size() - 1 - tail))
        ++tail;
    const QString insert = to.mid(head, to.size() - head - tail);
    const qsizetype end = head + insert.size();
    return {head, from.size() - tail, insert, {end, end}};
}

}  // namespace

ArticleFields::ArticleFields(QObject* parent) : QObject(parent)
{
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { focusMoved(now); });
}

ArticleFields::~ArticleFields() = default;

QWidget* ArticleFields::create(std::size_t field, QWidget* page)
{
    FieldEvents events;
    events.key = [this, field](const QKeyEvent& key) { keyArrived(field, key); };
    events.menu = [this, field](QContextMenuEvent& event) { showMenu(field, event); };
    events.focusOut = [this, field](const QFocusEvent&) { emit focusLeft(field); };
    fields_[field] = FieldBinding(field, page, std::move(events));
    FieldBinding& binding = fields_[field];
    binding.onEdited(this, [this, field] { emit edited(field); });
    if (QPlainTextEdit* section = binding.section())
        connect(section, &QPlainTextEdit::cursorPositionChanged, this, [this, field] { emit cursorMoved(field); });
    else
        connect(binding.line(), &QLineEdit::cursorPositionChanged, this, [this, field] { emit cursorMoved(field); });
    if (history_)
        history_->watchField(field);
    return binding.widget();
}

FieldBinding& ArticleFields::at(std::size_t field)
{
    if (!fields_.at(field).widget() && build_)
        build_();
    return fields_.at(field);
}

QString ArticleFields::text(std::size_t field)
{
    return at(field).text();
}

void ArticleFields::setText(std::size_t field, const QString& text)
{
    at(field).setText(isOneLine(field) ? asOneLine(text) : text);
    if (history_)
        history_->newStart(field);
}

void ArticleFields::replace(std::size_t field, const QString& text)
{
    const TextEdit change = changeBetween(at(field).text(), text);
    if (change.from != change.to || !change.insert.isEmpty())
        apply(field, change);
}

void ArticleFields::apply(std::size_t field, const TextEdit& edit)
{
    const ArticleHistory::Command step(history_);
    at(field).apply({edit}, edit.selection);
}

void ArticleFields::apply(std::size_t field, const QList<TextEdit>& edits)
{
    const ArticleHistory::Command step(history_);
    at(field).apply(edits, std::nullopt);
}

TextSelection ArticleFields::selection(std::size_t field)
{
    return at(field).selection();
}

qsizetype ArticleFields::cursor(std::size_t field)
{
    return at(field).cursor();
}

void ArticleFields::select(std::size_t field, TextSelection selection)
{
    at(field).select(selection);
}

FieldBinding::Span ArticleFields::linesAround(std::size_t field)
{
    return at(field).linesAround();
}

void ArticleFields::focus(std::size_t field)
{
    at(field).widget()->setFocus(Qt::OtherFocusReason);
}

bool ArticleFields::isShown(std::size_t field) const
{
    const QWidget* widget = fields_.at(field).widget();
    return widget && widget->isVisible();
}

std::optional<std::size_t> ArticleFields::focusedField() const
{
    const QWidget* first = fields_.front().widget();
    const QWidget* focus = first ? first->window()->focusWidget() : nullptr;
    for (std::size_t i = 0; focus && i < kFieldCount; ++i) {
        if (fields_[i].widget() == focus)
            return i;
    }
    return std::nullopt;
}

QTextDocument* ArticleFields::textDocument(std::size_t field)
{
    return at(field).document();
}

int ArticleFields::documentPosition(std::size_t field, qsizetype offset)
{
    return at(field).positionOf(offset);
}

qsizetype ArticleFields::offsetAt(std::size_t field, int position)
{
    return at(field).offsetAt(position);
}

void ArticleFields::focusMoved(QWidget* now)
{
    if (!now)
        return;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        if (fields_[i].widget() == now) {
            current_ = i;
            emit currentFieldChanged(i);
            return;
        }
    }
    if (links_ && links_->isAncestorOf(now)) {
        current_ = kLinks;
        emit currentFieldChanged(kLinks);
    }
}

void ArticleFields::keyArrived(std::size_t field, const QKeyEvent& key)
{
    if (isModifierKey(key.key()))
        return;
    Key typed;
    const FieldBinding& binding = fields_[field];
    const TextSelection selected = binding.selection();
    typed.overSelection = selected.start != selected.end;
    const QString text = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter ? QStringLiteral("\r") : key.text();
    const Qt::KeyboardModifiers commands = key.modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
    const bool enterInLine = text == u'\r' && binding.line();
    // Control characters are no text, but Enter and Tab are typed there.
    const bool typable = !text.isEmpty() && (text.front().category() != QChar::Other_Control || text.front() == u'\r'
                                             || text.front() == u'\t');
    if (typable && !commands && !enterInLine) {
        typed.kind = Key::Kind::Text;
        typed.first = text.front();
        typed.last = text.back();
    } else if ((key.key() == Qt::Key_Backspace || key.key() == Qt::Key_Delete) && !typed.overSelection
               && key.modifiers() == Qt::NoModifier) {
        // The character that goes, read from the widget's own text around the cursor.
        const int at = binding.positionOf(selected.start) + (key.key() == Qt::Key_Backspace ? -1 : 0);
        typed.kind = Key::Kind::Erase;
        if (const QLineEdit* line = binding.line())
            typed.first = at >= 0 && at < line->text().size() ? line->text().at(at) : QChar();
        else if (at >= 0)
            typed.first = binding.document()->characterAt(at);
        typed.last = typed.first;
    }
    emit keyTyped(field, typed);
}

void ArticleFields::showMenu(std::size_t field, QContextMenuEvent& event)
{
    const FieldBinding& binding = fields_[field];
    const bool atCursor = event.reason() == QContextMenuEvent::Keyboard;
    QMenu* menu = nullptr;
    qsizetype offset = binding.cursor();
    QPoint global = event.globalPos();
    if (QPlainTextEdit* section = binding.section()) {
        const QPoint inViewport = section->viewport()->mapFromGlobal(event.globalPos());
        menu = section->createStandardContextMenu(inViewport);
        if (atCursor)
            global = section->viewport()->mapToGlobal(section->cursorRect().bottomLeft());
        else
            offset = binding.offsetAt(section->cursorForPosition(inViewport).position());
    } else {
        QLineEdit* line = binding.line();
        menu = line->createStandardContextMenu();
        if (atCursor)
            global = line->mapToGlobal(line->inputMethodQuery(Qt::ImCursorRectangle).toRect().bottomLeft());
        else
            offset = line->cursorPositionAt(line->mapFromGlobal(event.globalPos()));
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The menu starts with the field's own undo and redo: the history's instead.
    const QList<QAction*> usual = menu->actions();
    if (history_ && usual.size() >= 2) {
        for (int i : {0, 1}) {
            QAction* item = usual[i];
            QObject::disconnect(item, &QAction::triggered, nullptr, nullptr);
            const bool undo = i == 0;
            item->setEnabled(undo ? history_->canUndo() : history_->canRedo());
            connect(item, &QAction::triggered, history_, [history = history_, undo] {
                if (undo)
                    history->undo();
                else
                    history->redo();
            });
        }
    }
    for (const MenuContributor& contributor : contributors_)
        contributor(*menu, usual.value(0), field, offset);
    menu->popup(global);
}

}  // namespace vinkring

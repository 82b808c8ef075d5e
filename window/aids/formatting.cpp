#include "window/aids/formatting.h"

#include <array>
#include <optional>
#include <utility>

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextBlock>
#include <QTimer>
#include <QVBoxLayout>

#include "model/texts.h"
#include "platform/clipboard.h"

namespace vinkring {

namespace {

struct Command {
    std::string_view caption;
    QKeyCombination key;
    std::optional<ForumTag> tag;  // none: the link
};

// Ctrl+Shift+X for <s>: Ctrl+S saves, and Ctrl+Shift+S must save as well.
const std::array<Command, 5> kCommands{{
    {texts::kFormatBold, Qt::CTRL | Qt::Key_B, ForumTag::Bold},
    {texts::kFormatItalic, Qt::CTRL | Qt::Key_I, ForumTag::Italic},
    {texts::kFormatUnderline, Qt::CTRL | Qt::Key_U, ForumTag::Underline},
    {texts::kFormatStrikeOut, Qt::CTRL | Qt::SHIFT | Qt::Key_X, ForumTag::StrikeOut},
    {texts::kFormatLink, Qt::CTRL | Qt::Key_K, std::nullopt},
}};

// The key is shown beside the item but not made a shortcut: the key preview
// hears it first and hands it to takeKey, as with every other key.
QString itemText(const Command& command)
{
    return toQString(command.caption) + u'\t' + QKeySequence(command.key).toString(QKeySequence::NativeText);
}

// The part of a field's text a command looks at: the lines the selection
// touches (a tag pair stands on them), with where they start in the field.
struct Span {
    QString text;
    qsizetype offset = 0;
    TextSelection selection;
};

Span spanOf(const QWidget* field)
{
    if (const auto* line = qobject_cast<const QLineEdit*>(field)) {
        const qsizetype start = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
        const qsizetype end = line->hasSelectedText() ? line->selectionEnd() : start;
        return {line->text(), 0, {start, end}};
    }
    const auto* edit = qobject_cast<const QPlainTextEdit*>(field);
    const QTextCursor cursor = edit->textCursor();
    const QTextDocument* doc = edit->document();
    const int from = doc->findBlock(cursor.selectionStart()).position();
    const QTextBlock last = doc->findBlock(cursor.selectionEnd());
    QTextCursor lines(edit->document());
    lines.setPosition(from);
    lines.setPosition(last.position() + last.length() - 1, QTextCursor::KeepAnchor);
    return {lines.selectedText(), from, {cursor.selectionStart() - from, cursor.selectionEnd() - from}};
}

TextEdit shifted(TextEdit edit, qsizetype by)
{
    edit.from += by;
    edit.to += by;
    edit.selection.start += by;
    edit.selection.end += by;
    return edit;
}

// Asks for the address of a link; the selection is its text.
class LinkDialog final : public QDialog {
public:
    LinkDialog(QWidget* parent, const QString& linkText, const QString& offered) : QDialog(parent)
    {
        setWindowTitle(toQString(texts::kLinkTitle));
        auto* label = new QLabel(toQString(texts::kLinkAddress), this);
        address_ = new QLineEdit(offered, this);
        address_->selectAll();
        label->setBuddy(address_);
        auto* shows = new QLabel(this);
        shows->setTextFormat(Qt::PlainText);
        shows->setText(linkText.isEmpty()
                           ? toQString(texts::kLinkNoText)
                           : toQString(texts::kLinkText)
                                 .arg(fontMetrics().elidedText(linkText.simplified(), Qt::ElideMiddle, 360)));
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(label);
        layout->addWidget(address_);
        layout->addWidget(shows);
        layout->addWidget(buttons);
        address_->setMinimumWidth(fontMetrics().averageCharWidth() * 50);
        QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
        const auto check = [this, ok] { ok->setEnabled(!address().isEmpty()); };
        connect(address_, &QLineEdit::textChanged, this, check);
        check();
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    }

    QString address() const { return linkAddress(address_->text()); }

private:
    QLineEdit* address_;
};

}  // namespace

TextSelection fieldSelection(const QWidget* field)
{
    const Span span = spanOf(field);
    return {span.offset + span.selection.start, span.offset + span.selection.end};
}

QString fieldText(const QWidget* field)
{
    if (const auto* line = qobject_cast<const QLineEdit*>(field))
        return line->text();
    return qobject_cast<const QPlainTextEdit*>(field)->document()->toRawText();
}

void applyEdit(QWidget* field, const TextEdit& edit)
{
    if (auto* line = qobject_cast<QLineEdit*>(field)) {
        if (edit.from == edit.to && !line->text().isEmpty()) {
            // Typed characters and an insert right after them would be one
            // step of undo; a move of the cursor ends the typing's step.
            line->setCursorPosition(edit.from > 0 ? edit.from - 1 : edit.from + 1);
        }
        line->setSelection(int(edit.from), int(edit.to - edit.from));
        line->insert(edit.insert);
        line->setSelection(int(edit.selection.start), int(edit.selection.end - edit.selection.start));
        return;
    }
    auto* text = qobject_cast<QPlainTextEdit*>(field);
    QTextCursor cursor(text->document());
    cursor.setPosition(int(edit.from));
    cursor.setPosition(int(edit.to), QTextCursor::KeepAnchor);
    cursor.beginEditBlock();
    cursor.insertText(edit.insert);
    cursor.endEditBlock();
    cursor.setPosition(int(edit.selection.start));
    cursor.setPosition(int(edit.selection.end), QTextCursor::KeepAnchor);
    text->setTextCursor(cursor);
}

Formatting::Formatting(QWidget* window, QList<QWidget*> fields, Clipboard& clipboard, QMenu* menu)
    : QObject(window), window_(window), fields_(std::move(fields)), clipboard_(clipboard), menu_(menu)
{
    for (int i = 0; i < int(kCommands.size()); ++i) {
        QAction* item = menu_->addAction(itemText(kCommands[std::size_t(i)]));
        connect(item, &QAction::triggered, this, [this, i] {
            if (QWidget* field = target()) {
                restoreKeptSelection(field);
                run(i, field);
            }
        });
    }
    // A line field drops its selection when the menu bar takes the
    // keyboard (Alt+O): it comes back with the focus, for the menu's command.
    for (QWidget* field : fields_) {
        if (qobject_cast<QLineEdit*>(field))
            field->installEventFilter(this);
    }
    // Only for a field that takes tags.
    connect(menu_, &QMenu::aboutToShow, this, [this] {
        const bool enabled = target() != nullptr;
        for (QAction* item : menu_->actions())
            item->setEnabled(enabled);
    });
}

bool Formatting::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::FocusOut && event->type() != QEvent::FocusIn)
        return false;
    auto* line = static_cast<QLineEdit*>(watched);
    const auto* focus = static_cast<QFocusEvent*>(event);
    if (focus->reason() != Qt::MenuBarFocusReason)
        return false;
    if (event->type() == QEvent::FocusOut) {
        keptSelection_ = fieldSelection(line);
        keptIn_ = line;
    }
    else  // after the line field has taken the focus back
        QTimer::singleShot(0, line, [this, line] { restoreKeptSelection(line); });
    return false;
}

// The menu's command may come before the field has its selection back (the
// menu closes, the field gets the focus, the command runs): then at once.
void Formatting::restoreKeptSelection(QWidget* field)
{
    auto* line = qobject_cast<QLineEdit*>(field);
    const TextSelection kept = std::exchange(keptSelection_, TextSelection{});
    if (line && line == keptIn_ && !line->hasSelectedText() && kept.end > kept.start && kept.end <= line->text().size())
        line->setSelection(int(kept.start), int(kept.end - kept.start));
}

QWidget* Formatting::target() const
{
    QWidget* focus = window_->focusWidget();
    return fields_.contains(focus) ? focus : nullptr;
}

bool Formatting::takeKey(const QKeyEvent& key)
{
    const QKeyCombination pressed(key.modifiers() & ~Qt::KeypadModifier, Qt::Key(key.key()));
    for (int i = 0; i < int(kCommands.size()); ++i) {
        if (kCommands[std::size_t(i)].key != pressed)
            continue;
        QWidget* field = target();
        if (!field)
            return false;
        if (const std::optional<ForumTag> tag = kCommands[std::size_t(i)].tag) {
            toggle(field, *tag);
        } else if (!unlink(field)) {
            // The link's dialog runs after the key has been delivered, not
            // in the middle of its delivery: a dialog run from inside it
            // left the window deaf to the keyboard and the mouse (X11).
            QTimer::singleShot(0, this, [this, target = QPointer<QWidget>(field)] {
                if (target)
                    link(target);
            });
        }
        return true;
    }
    return false;
}

void Formatting::addMenuItems(QMenu* menu, QWidget* field, QAction* usual)
{
    for (int i = 0; i < int(kCommands.size()); ++i) {
        auto* item = new QAction(itemText(kCommands[std::size_t(i)]), menu);
        item->setObjectName(QStringLiteral("format"));
        QPointer<QWidget> target(field);
        connect(item, &QAction::triggered, this, [this, i, target] {
            if (target)
                run(i, target);
        });
        menu->insertAction(usual, item);
    }
    menu->insertSeparator(usual);
}

void Formatting::run(int command, QWidget* field)
{
    if (const std::optional<ForumTag> tag = kCommands[std::size_t(command)].tag)
        toggle(field, *tag);
    else
        link(field);
}

void Formatting::toggle(QWidget* field, ForumTag tag)
{
    const Span span = spanOf(field);
    applyEdit(field, shifted(toggleTag(span.text, span.selection, tag), span.offset));
}

bool Formatting::unlink(QWidget* field)
{
    const Span span = spanOf(field);
    const std::optional<TextEdit> removed = removeLink(span.text, span.selection);
    if (removed)
        applyEdit(field, shifted(*removed, span.offset));
    return removed.has_value();
}

void Formatting::link(QWidget* field)
{
    if (unlink(field))
        return;
    const Span span = spanOf(field);
    const QString clipboard = clipboard_.plainText();
    const QString selected = span.text.mid(span.selection.start, span.selection.end - span.selection.start);
    LinkDialog dialog(window_, selected, looksLikeAddress(clipboard) ? clipboard.trimmed() : QString());
    QPointer<QWidget> target(field);
    if (dialog.exec() != QDialog::Accepted || !target)
        return;
    // What the field holds now: the dialog waited, and the field may have changed meanwhile.
    const Span now = spanOf(target);
    applyEdit(target, shifted(insertLink(now.text, now.selection, dialog.address()), now.offset));
    target->setFocus();
}

}  // namespace vinkring

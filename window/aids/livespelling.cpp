#include "window/aids/livespelling.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>

#include "model/texts.h"
#include "spelling/spellingdictionary.h"
#include "spelling/spellinghighlighter.h"

namespace vinkring {

LiveSpelling::LiveSpelling(SpellingDictionary* dictionary, QObject* parent)
    : QObject(parent), dictionary_(dictionary && dictionary->mayExist() ? dictionary : nullptr)
{
    toggle_ = new QAction(toQString(texts::kMenuSpellingAsYouType), this);
    toggle_->setObjectName(QStringLiteral("mnuBeeldSpelling"));
    toggle_->setCheckable(true);
    setAvailable(dictionary_ != nullptr);
    connect(toggle_, &QAction::toggled, this, [this](bool on) {
        for (SpellingHighlighter* highlighter : std::as_const(highlighters_))
            highlighter->setActive(on);
    });
    if (dictionary_)
        connect(dictionary_, &SpellingDictionary::unavailable, this, [this] { setAvailable(false); });
}

void LiveSpelling::setAvailable(bool available)
{
    toggle_->setChecked(available);
    toggle_->setEnabled(available);
}

void LiveSpelling::attach(QPlainTextEdit* field)
{
    if (!field)
        return;
    if (dictionary_) {
        auto* highlighter = new SpellingHighlighter(*dictionary_, field->document());
        highlighter->setActive(toggle_->isChecked());
        QPointer<QPlainTextEdit> cursorOf(field);
        highlighter->setCursor([cursorOf] { return cursorOf ? cursorOf->textCursor().position() : -1; });
        connect(field, &QPlainTextEdit::cursorPositionChanged, highlighter, &SpellingHighlighter::cursorMoved);
        highlighters_.insert(field, highlighter);
    }
    // The menu has items of its own without a dictionary too.
    // A click arrives at the viewport, the menu key at the field.
    for (QObject* target : {static_cast<QObject*>(field), static_cast<QObject*>(field->viewport())}) {
        watched_.insert(target, field);
        target->installEventFilter(this);
    }
}

bool LiveSpelling::eventFilter(QObject* watched, QEvent* event)
{
    QPlainTextEdit* field = watched_.value(watched);
    if (!field)
        return false;
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::InputMethod) {
        if (SpellingHighlighter* highlighter = highlighters_.value(field))
            highlighter->keyTyped();
        return false;
    }
    // Leaving the field ends the word being typed; its own context menu does not.
    if (event->type() == QEvent::FocusOut && watched == field
        && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        if (SpellingHighlighter* highlighter = highlighters_.value(field))
            highlighter->typingEnded();
        return false;
    }
    if (event->type() != QEvent::ContextMenu)
        return false;
    auto* menuEvent = static_cast<QContextMenuEvent*>(event);
    const bool atCursor = menuEvent->reason() == QContextMenuEvent::Keyboard;
    QPoint inViewport = menuEvent->pos();
    if (watched == field)
        inViewport = field->viewport()->mapFrom(field, inViewport);
    QPoint global = menuEvent->globalPos();
    if (atCursor)
        global = field->viewport()->mapToGlobal(field->cursorRect().bottomLeft());
    showMenu(field, inViewport, global, atCursor);
    return true;
}

void LiveSpelling::showMenu(QPlainTextEdit* field, QPoint inViewport, QPoint global, bool atCursor)
{
    QMenu* menu = field->createStandardContextMenu(inViewport);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* usual = menu->actions().value(0);
    SpellingHighlighter* highlighter = highlighters_.value(field);
    if (highlighter) {
        const int position =
            atCursor ? field->textCursor().position() : field->cursorForPosition(inViewport).position();
        const QTextCursor word = highlighter->doubtfulWordAt(position);
        if (!word.isNull())
            addSpellingItems(menu, field, word);
    }
    if (menuItems_)
        menuItems_(menu, field, usual);
    menu->popup(global);
}

void LiveSpelling::addSpellingItems(QMenu* menu, QPlainTextEdit* field, const QTextCursor& word)
{
    const QString text = word.selectedText();
    QAction* usual = menu->actions().value(0);
    auto* searching = new QAction(toQString(texts::kSearchingSuggestions), menu);
    searching->setObjectName(QStringLiteral("suggestions"));
    searching->setEnabled(false);
    auto* ignore = new QAction(toQString(texts::kIgnore), menu);
    ignore->setObjectName(QStringLiteral("ignore"));
    auto* add = new QAction(toQString(texts::kAddToDictionary), menu);
    add->setObjectName(QStringLiteral("addToDictionary"));
    menu->insertActions(usual, {searching, ignore, add});
    menu->insertSeparator(usual);

    SpellingDictionary* dictionary = dictionary_;
    connect(ignore, &QAction::triggered, dictionary, [dictionary, text] { dictionary->ignoreForRun(text); });
    connect(add, &QAction::triggered, dictionary, [dictionary, text] { dictionary->addToPersonal(text); });
    // Looking for suggestions takes a while: the menu is there at once and
    // gets them when they come.
    QPointer<QPlainTextEdit> target(field);
    dictionary_->findSuggestions(text, searching, [this, menu, searching, target, word](const QStringList& found) {
        if (target)
            showSuggestions(menu, searching, target, word, found);
    });
}

void LiveSpelling::showSuggestions(QMenu* menu, QAction* searching, QPlainTextEdit* field, const QTextCursor& word,
                                   const QStringList& suggestions)
{
    if (suggestions.isEmpty()) {
        searching->setText(toQString(texts::kNoSuggestions));
        return;
    }
    const QString original = word.selectedText();
    QList<QAction*> actions;
    for (const QString& suggestion : suggestions.mid(0, kMaxSuggestions)) {
        auto* action = new QAction(suggestion, menu);
        action->setObjectName(QStringLiteral("suggestion"));
        QPointer<QPlainTextEdit> target(field);
        connect(action, &QAction::triggered, this, [this, target, word, original, suggestion] {
            if (target)
                replaceWord(target, word, original, suggestion);
        });
        actions << action;
    }
    menu->insertActions(searching, actions);
    menu->removeAction(searching);
    searching->deleteLater();
}

void LiveSpelling::replaceWord(QPlainTextEdit* field, QTextCursor word, const QString& original, const QString& by)
{
    // The cursor follows the edits made since; a word that is no longer
    // there is left alone.
    if (word.selectedText() != original)
        return;
    word.beginEditBlock();
    word.insertText(by);
    word.endEditBlock();
    field->setTextCursor(word);
}

}  // namespace vinkring

#include "window/aids/livespelling.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include "model/fieldrules.h"
#include "model/texts.h"
#include "spelling/spellingdictionary.h"
#include "spelling/spellinghighlighter.h"
#include "window/form/articlefields.h"

namespace vinkring {

LiveSpelling::LiveSpelling(SpellingDictionary* dictionary, ArticleFields& fields, QObject* parent)
    : QObject(parent), dictionary_(dictionary && dictionary->mayExist() ? dictionary : nullptr), fields_(fields)
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
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        if (!isOneLine(i))
            attach(i);
    }
    connect(&fields_, &ArticleFields::keyTyped, this, [this](std::size_t field) {
        if (SpellingHighlighter* h = highlighters_.value(field))
            h->keyTyped();
    });
    connect(&fields_, &ArticleFields::cursorMoved, this, [this](std::size_t field) {
        if (SpellingHighlighter* h = highlighters_.value(field))
            h->cursorMoved();
    });
    // Leaving the field ends the word being typed; its own context menu does not.
    connect(&fields_, &ArticleFields::focusLeft, this, [this](std::size_t field) {
        if (SpellingHighlighter* h = highlighters_.value(field))
            h->typingEnded();
    });
}

void LiveSpelling::setAvailable(bool available)
{
    toggle_->setChecked(available);
    toggle_->setEnabled(available);
}

void LiveSpelling::attach(std::size_t field)
{
    if (!dictionary_)
        return;
    QTextDocument* doc = fields_.textDocument(field);
    auto* highlighter = new SpellingHighlighter(*dictionary_, doc);
    highlighter->setActive(toggle_->isChecked());
    highlighter->setCursor([this, field] { return fields_.documentPosition(field, fields_.cursor(field)); });
    highlighters_.insert(field, highlighter);
    connect(highlighter, &SpellingHighlighter::passEnded, this, &LiveSpelling::underlinesSettled);
}

qsizetype LiveSpelling::doubtfulCount() const
{
    qsizetype count = 0;
    for (const SpellingHighlighter* highlighter : highlighters_) {
        if (!highlighter->isActive())
            continue;
        count += highlighter->underlinedCount();
    }
    return count;
}

void LiveSpelling::addMenuItems(QMenu& menu, QAction* before, std::size_t field, qsizetype offset)
{
    SpellingHighlighter* highlighter = highlighters_.value(field);
    if (!highlighter)
        return;
    const QTextCursor word = highlighter->doubtfulWordAt(fields_.documentPosition(field, offset));
    if (word.isNull())
        return;
    const QString text = word.selectedText();
    auto* searching = new QAction(toQString(texts::kSearchingSuggestions), &menu);
    searching->setObjectName(QStringLiteral("suggestions"));
    searching->setEnabled(false);
    auto* ignore = new QAction(toQString(texts::kIgnore), &menu);
    ignore->setObjectName(QStringLiteral("ignore"));
    auto* add = new QAction(toQString(texts::kAddToDictionary), &menu);
    add->setObjectName(QStringLiteral("addToDictionary"));
    menu.insertActions(before, {searching, ignore, add});
    menu.insertSeparator(before);

    SpellingDictionary* dictionary = dictionary_;
    connect(ignore, &QAction::triggered, dictionary, [dictionary, text] { dictionary->ignoreForRun(text); });
    connect(add, &QAction::triggered, dictionary, [dictionary, text] { dictionary->addToPersonal(text); });
    // Looking for suggestions takes a while: the menu is there at once and
    // gets them when they come.
    QPointer<QMenu> shown(&menu);
    dictionary_->findSuggestions(text, searching, [this, shown, searching, field, word](const QStringList& found) {
        if (shown)
            showSuggestions(shown, searching, field, word, found);
    });
}

void LiveSpelling::showSuggestions(QMenu* menu, QAction* searching, std::size_t field, const QTextCursor& word,
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
        connect(action, &QAction::triggered, this,
                [this, field, word, original, suggestion] { replaceWord(field, word, original, suggestion); });
        actions << action;
    }
    menu->insertActions(searching, actions);
    menu->removeAction(searching);
    searching->deleteLater();
}

void LiveSpelling::replaceWord(std::size_t field, const QTextCursor& word, const QString& original, const QString& by)
{
    // The cursor follows the edits made since; a word that is no longer
    // there is left alone.
    if (word.selectedText() != original)
        return;
    const qsizetype from = fields_.offsetAt(field, word.selectionStart());
    const qsizetype to = fields_.offsetAt(field, word.selectionEnd());
    const qsizetype end = from + by.size();
    fields_.apply(field, TextEdit{from, to, by, {end, end}});
}

}  // namespace vinkring

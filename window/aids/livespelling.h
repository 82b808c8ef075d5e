#pragma once
// Spelling as you type in the section fields: doubtful words underlined, a
// context menu on them with suggestions, "Negeren" and "Toevoegen aan
// woordenboek", and the menu item "Spelling tijdens typen" that turns it off
// and on for the run.

#include <cstddef>

#include <QHash>
#include <QObject>
#include <QTextCursor>

class QAction;
class QMenu;

namespace vinkring {

class ArticleFields;
class SpellingDictionary;
class SpellingHighlighter;

class LiveSpelling final : public QObject {
    Q_OBJECT

public:
    // Underlines in the section fields. Without a dictionary (null, none
    // for Dutch, or one that cannot be loaded) nothing is underlined and the
    // menu item is disabled.
    LiveSpelling(SpellingDictionary* dictionary, ArticleFields& fields, QObject* parent);

    // The spelling items of a field's context menu at this place, before `before`.
    void addMenuItems(QMenu& menu, QAction* before, std::size_t field, qsizetype offset);

    // Checkable, on at the start.
    QAction* toggleAction() const { return toggle_; }
    // The field's highlighter; null when it has none.
    SpellingHighlighter* highlighter(std::size_t field) const { return highlighters_.value(field); }

    // The words underlined now in all fields: what the dictionary does not
    // know, as far as the check has come.
    qsizetype doubtfulCount() const;

signals:
    // A field's underlines came to be as the check says (after a word was
    // ignored or added, a file opened, the spelling turned on or off).
    void underlinesSettled();

public:
    // At most this many suggestions head the context menu.
    static constexpr int kMaxSuggestions = 5;

private:
    void attach(std::size_t field);
    void showSuggestions(QMenu* menu, QAction* searching, std::size_t field, const QTextCursor& word,
                         const QStringList& suggestions);
    void replaceWord(std::size_t field, const QTextCursor& word, const QString& original, const QString& by);
    void setAvailable(bool available);

    SpellingDictionary* dictionary_;
    ArticleFields& fields_;
    QAction* toggle_;
    QHash<std::size_t, SpellingHighlighter*> highlighters_;
};

}  // namespace vinkring

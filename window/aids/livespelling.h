#pragma once
// Spelling as you type in the section fields: doubtful words underlined, a
// context menu on them with suggestions, "Negeren" and "Toevoegen aan
// woordenboek", and the menu item "Spelling tijdens typen" that turns it off
// and on for the run.

#include <functional>

#include <QHash>
#include <QObject>
#include <QTextCursor>

class QAction;
class QMenu;
class QPlainTextEdit;

namespace vinkring {

class SpellingDictionary;
class SpellingHighlighter;

class LiveSpelling final : public QObject {
    Q_OBJECT

public:
    // Without a dictionary (null, none for Dutch, or one that cannot be
    // loaded) nothing is underlined and the menu item is disabled.
    LiveSpelling(SpellingDictionary* dictionary, QObject* parent);

    // Underlines in this field from now on.
    void attach(QPlainTextEdit* field);
    // Items of the writer's own in the field's context menu: after the
    // spelling items, before the field's usual ones (`usual`, the first).
    using MenuItems = std::function<void(QMenu* menu, QPlainTextEdit* field, QAction* usual)>;
    void addMenuItems(MenuItems items) { menuItems_ = std::move(items); }

    // Checkable, on at the start.
    QAction* toggleAction() const { return toggle_; }
    // The field's highlighter; null when it has none.
    SpellingHighlighter* highlighter(QPlainTextEdit* field) const { return highlighters_.value(field); }

    // At most this many suggestions head the context menu.
    static constexpr int kMaxSuggestions = 5;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showMenu(QPlainTextEdit* field, QPoint inViewport, QPoint global, bool atCursor);
    void addSpellingItems(QMenu* menu, QPlainTextEdit* field, const QTextCursor& word);
    void showSuggestions(QMenu* menu, QAction* searching, QPlainTextEdit* field, const QTextCursor& word,
                         const QStringList& suggestions);
    void replaceWord(QPlainTextEdit* field, QTextCursor word, const QString& original, const QString& by);
    void setAvailable(bool available);

    SpellingDictionary* dictionary_;
    QAction* toggle_;
    QHash<QObject*, QPlainTextEdit*> watched_;  // each field and its viewport
    QHash<QPlainTextEdit*, SpellingHighlighter*> highlighters_;
    MenuItems menuItems_;
};

}  // namespace vinkring

#pragma once
// Underlines, in one text document, the words the dictionary does not know.
// A key press checks again only the paragraph it changed (in a long one, only
// the words around the change). A large change (a
// file opened, a long paste) and a change of the known words are checked in
// a pass over the paragraphs in short slices, so that the window never waits
// long for it; until the pass reaches a paragraph, it keeps its underlines.
// The highlighters of one dictionary take turns: one slice of one pass at a
// time, with the event loop (the writer's keys) between any two, and none
// while the writer is typing.

#include <functional>

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>

#include "spelling/spellingwords.h"

namespace vinkring {

class CheckMark;
class PassTurns;
class SpellingDictionary;

// Not a QSyntaxHighlighter: that one lays out every paragraph of a large
// change (a file opened: every paragraph of the article) before the window
// may answer again, and keeps a layout of each. Here a large change only goes
// to the pass, and a paragraph gets a layout only for an underline.
class SpellingHighlighter final : public QObject {
    Q_OBJECT

public:
    // Becomes a child of the document.
    SpellingHighlighter(SpellingDictionary& dictionary, QTextDocument* document);
    ~SpellingHighlighter() override;

    // Inactive, nothing is underlined.
    void setActive(bool active);
    bool isActive() const { return active_; }
    // A pass is under way or waits for the dictionary.
    bool isChecking() const { return checking_; }
    // Where the writer's cursor is, so that a word still being typed (the
    // cursor at its end, right after a key typed there) is not underlined
    // until the cursor leaves it. keyTyped() comes before the key's edit,
    // cursorMoved() when the cursor moves.
    void setCursor(std::function<int()> position) { cursor_ = std::move(position); }
    // Also holds the passes of every field for a moment.
    void keyTyped();
    void cursorMoved();
    // The field lost the focus: the word is no longer being typed.
    void typingEnded();
    // A cursor selecting the doubtful word at this position of the document
    // (at its start, inside it or at its end); a null cursor when none is.
    QTextCursor doubtfulWordAt(int position);
    // The words underlined now.
    qsizetype underlinedCount() const;
    QTextDocument* document() const { return doc_; }

signals:
    // A pass went over every paragraph: the underlines are as the check says.
    void passEnded();

public:
    // The longest one slice of a pass works.
    static constexpr int kSliceMilliseconds = 8;
    // After a key, the passes wait this long for the next one.
    static constexpr int kTypingPauseMilliseconds = 300;
    // A change adding at least this many characters goes to the pass.
    static constexpr int kLargeChange = 2000;

private:
    friend class PassTurns;

    QList<TextSpan> doubtfulWords(const QString& text, const CheckMark* before, bool& complete);
    void noteChange(int from, int removed, int added);
    void forget(int from, int to);
    void checkAgain();
    void staleFound(int delay = 0);
    void runSlice();
    bool isCurrent(const QTextBlock& block) const;
    // Checks the paragraph and underlines what it found; false while the
    // dictionary is busy.
    bool check(QTextBlock block);
    void underline(QTextBlock block, CheckMark* mark, const QList<TextSpan>& doubtful);

    bool isBeingTyped(int blockPosition, TextSpan word) const;

    QPointer<QTextDocument> doc_;
    SpellingDictionary& dictionary_;
    QTextCharFormat underline_;
    std::function<int()> cursor_;
    bool keyTyped_ = false;
    int typingAt_ = -1;  // where the last typed edit ended
    bool active_ = true;
    // A paragraph is checked when it carries the current generation.
    int generation_ = 0;
    // Setting underlines: the document's report of it is no edit.
    bool underlining_ = false;
    bool checking_ = false;
    // The pass goes over the paragraphs from the top until one sweep from
    // the top finds every paragraph checked (edits renumber them meanwhile).
    int next_ = 0;
    bool sweepFromTop_ = false;
    bool sweepFoundStale_ = false;
    QPointer<PassTurns> turns_;
};

}  // namespace vinkring

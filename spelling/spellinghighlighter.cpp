#include "spelling/spellinghighlighter.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextDocument>

#include "spelling/spellingdictionary.h"
#include "spelling/spellingwords.h"

namespace vinkring {

namespace {

// While the dictionary is busy with suggestions, the pass waits this long.
constexpr int kBusyRetryMilliseconds = 50;

// A paragraph this long keeps what its check found, so that a key press in
// it checks only the words around the change.
constexpr qsizetype kLongParagraph = 1000;

qsizetype commonPrefix(QStringView a, QStringView b)
{
    const qsizetype n = std::min(a.size(), b.size());
    qsizetype i = 0;
    while (i < n && a[i] == b[i])
        ++i;
    return i;
}

qsizetype commonSuffix(QStringView a, QStringView b, qsizetype limit)
{
    qsizetype i = 0;
    while (i < limit && a[a.size() - 1 - i] == b[b.size() - 1 - i])
        ++i;
    return i;
}

// What a change from old to text touched: the blank-separated chunks around
// it, in which alone a word may differ (words, addresses, "enz." and "'s"
// never reach across a blank).
struct Change {
    qsizetype from = 0;   // in both texts
    qsizetype to = 0;     // in text
    qsizetype shift = 0;  // of what follows, from old to text
};

Change changeBetween(const QString& old, const QString& text)
{
    const qsizetype prefix = commonPrefix(old, text);
    const qsizetype suffix = commonSuffix(old, text, std::min(old.size(), text.size()) - prefix);
    Change change{prefix, text.size() - suffix, text.size() - old.size()};
    while (change.from > 0 && !text[change.from - 1].isSpace())
        --change.from;
    while (change.to < text.size() && !text[change.to].isSpace())
        ++change.to;
    return change;
}

}  // namespace

// What the check of a paragraph found, and for which generation.
class CheckMark final : public QTextBlockUserData {
public:
    int generation = -1;
    QString text;              // of a long paragraph, as checked
    QList<TextSpan> doubtful;  // in it
};

SpellingHighlighter::SpellingHighlighter(SpellingDictionary& dictionary, QTextDocument* document)
    : QSyntaxHighlighter(static_cast<QObject*>(document)), dictionary_(dictionary)
{
    underline_.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    underline_.setUnderlineColor(Qt::red);
    slice_.setSingleShot(true);
    connect(&slice_, &QTimer::timeout, this, &SpellingHighlighter::runSlice);
    connect(&dictionary_, &SpellingDictionary::ready, this, &SpellingHighlighter::checkAgain);
    connect(&dictionary_, &SpellingDictionary::unavailable, this, &SpellingHighlighter::checkAgain);
    connect(&dictionary_, &SpellingDictionary::wordsAdded, this, &SpellingHighlighter::checkAgain);
    // Before the highlighter's own connection, so that a large change is
    // known when its paragraphs come to be highlighted. A document reports
    // its changes only once it has a layout.
    document->documentLayout();
    connect(document, &QTextDocument::contentsChange, this, &SpellingHighlighter::noteChange);
    // A text already there is highlighted at once by the base class; it
    // goes to the pass as well.
    if (!document->isEmpty()) {
        largeFrom_ = 0;
        largeTo_ = document->characterCount();
    }
    setDocument(document);
    dictionary_.load();
    checkAgain();
}

void SpellingHighlighter::setActive(bool active)
{
    if (active == active_)
        return;
    active_ = active;
    checkAgain();
}

QTextCursor SpellingHighlighter::doubtfulWordAt(int position)
{
    if (!active_ || !dictionary_.isReady())
        return {};
    const QTextBlock block = document()->findBlock(position);
    const QString text = block.text();
    const qsizetype at = position - block.position();
    for (const TextSpan& word : checkableWords(text)) {
        if (at < word.start || at > word.end())
            continue;
        if (dictionary_.isKnownAt(text, word, false) != std::optional<bool>(false))
            return {};
        QTextCursor cursor(block);
        cursor.setPosition(block.position() + int(word.start));
        cursor.setPosition(block.position() + int(word.end()), QTextCursor::KeepAnchor);
        return cursor;
    }
    return {};
}

void SpellingHighlighter::highlightBlock(const QString& text)
{
    const int at = currentBlock().position();
    if (!inPass_ && at >= largeFrom_ && at < largeTo_) {
        markCurrentBlock(false);
        staleFound();
        return;
    }
    if (!active_) {
        markCurrentBlock(true);
        return;
    }
    // Until the dictionary is loaded; then every paragraph is checked.
    if (!dictionary_.isReady()) {
        markCurrentBlock(false);
        return;
    }
    bool complete = true;
    const QList<TextSpan> doubtful =
        doubtfulWords(text, dynamic_cast<const CheckMark*>(currentBlockUserData()), complete);
    for (const TextSpan& word : doubtful) {
        if (!isBeingTyped(word))
            setFormat(int(word.start), int(word.length), underline_);
    }
    markCurrentBlock(complete);
    if (!complete) {
        staleFound(kBusyRetryMilliseconds);
    } else if (text.size() >= kLongParagraph) {
        auto* mark = static_cast<CheckMark*>(currentBlockUserData());
        mark->text = text;
        mark->doubtful = doubtful;
    }
}

QList<TextSpan> SpellingHighlighter::doubtfulWords(const QString& text, const CheckMark* before, bool& complete)
{
    // A long paragraph checked before: what the change did not touch stays.
    Change change{0, text.size(), 0};
    QList<TextSpan> found;
    QList<TextSpan> after;
    if (before && before->generation == generation_ && !before->text.isNull()) {
        change = changeBetween(before->text, text);
        for (const TextSpan& word : before->doubtful) {
            if (word.end() <= change.from)
                found << word;
            else if (word.start >= change.to - change.shift)
                after << TextSpan{word.start + change.shift, word.length};
        }
    }
    const QString region = text.mid(change.from, change.to - change.from);
    for (const TextSpan& inRegion : checkableWords(region)) {
        const TextSpan word{inRegion.start + change.from, inRegion.length};
        const std::optional<bool> known = dictionary_.isKnownAt(text, word, false);
        if (!known)
            complete = false;
        else if (!*known)
            found << word;
    }
    return found + after;
}

bool SpellingHighlighter::isBeingTyped(TextSpan word) const
{
    const int at = currentBlock().position();
    return typingAt_ >= 0 && at + int(word.end()) == typingAt_ && cursor_ && cursor_() == typingAt_;
}

void SpellingHighlighter::cursorMoved()
{
    keyTyped_ = false;
    if (typingAt_ < 0 || (cursor_ && cursor_() == typingAt_))
        return;
    typingEnded();
}

void SpellingHighlighter::typingEnded()
{
    if (typingAt_ < 0)
        return;
    const QTextBlock block = document()->findBlock(typingAt_);
    typingAt_ = -1;
    if (block.isValid())
        rehighlightBlock(block);
}

void SpellingHighlighter::noteChange(int from, int, int added)
{
    typingAt_ = keyTyped_ && added < kLargeChange ? from + added : -1;
    keyTyped_ = false;
    if (added >= kLargeChange) {
        largeFrom_ = from;
        largeTo_ = from + added;
    }
}

void SpellingHighlighter::checkAgain()
{
    ++generation_;
    staleFound();
}

void SpellingHighlighter::staleFound(int delay)
{
    sweepFoundStale_ = true;
    if (!checking_) {
        checking_ = true;
        next_ = 0;
        sweepFromTop_ = true;
    }
    if (!slice_.isActive() || slice_.remainingTime() > delay)
        slice_.start(delay);
}

void SpellingHighlighter::runSlice()
{
    largeFrom_ = largeTo_ = -1;
    if (active_ && !dictionary_.isReady()) {
        // Loading (or held): ready() starts the pass again. Missing: nothing to do.
        checking_ = dictionary_.mayExist();
        return;
    }
    QElapsedTimer clock;
    clock.start();
    QTextBlock block = document()->findBlockByNumber(next_);
    bool busy = false;
    while (block.isValid() && clock.elapsed() < kSliceMilliseconds) {
        if (!isCurrent(block)) {
            sweepFoundStale_ = true;
            inPass_ = true;
            rehighlightBlock(block);
            inPass_ = false;
            busy = busy || !isCurrent(block);
        }
        block = block.next();
        ++next_;
    }
    if (!block.isValid()) {
        if (sweepFromTop_ && !sweepFoundStale_) {
            checking_ = false;
            return;
        }
        next_ = 0;
        sweepFromTop_ = true;
        sweepFoundStale_ = false;
    }
    slice_.start(busy ? kBusyRetryMilliseconds : 0);
}

bool SpellingHighlighter::isCurrent(const QTextBlock& block) const
{
    const auto* mark = dynamic_cast<const CheckMark*>(block.userData());
    return mark && mark->generation == generation_;
}

void SpellingHighlighter::markCurrentBlock(bool checked)
{
    auto* mark = dynamic_cast<CheckMark*>(currentBlockUserData());
    // A paragraph without a mark is not checked: no need to make one.
    if (!mark && !checked)
        return;
    if (!mark) {
        mark = new CheckMark;
        setCurrentBlockUserData(mark);
    }
    mark->generation = checked ? generation_ : -1;
    mark->text.clear();
    mark->doubtful.clear();
}

}  // namespace vinkring

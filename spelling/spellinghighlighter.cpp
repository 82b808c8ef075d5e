#include "spelling/spellinghighlighter.h"

#include <algorithm>

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPalette>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>

#include "platform/colours.h"
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

// The passes of the highlighters that share a dictionary (the window's
// fields), one slice at a time. Qt runs every timer that is due in one go: a
// timer of each pass's own made the window wait for a slice of every field
// before it read the next key.
class PassTurns final : public QObject {
    Q_OBJECT

public:
    static PassTurns* of(SpellingDictionary& dictionary)
    {
        auto* turns = dictionary.findChild<PassTurns*>(QString(), Qt::FindDirectChildrenOnly);
        return turns ? turns : new PassTurns(&dictionary);
    }

    // A slice of this pass in `delay` ms (sooner if it asked for that).
    // A pass keeps its place in the line; after its slice it goes to the end.
    void request(SpellingHighlighter* pass, int delay)
    {
        const qint64 due = clock_.elapsed() + delay;
        const auto waiting = std::find_if(line_.begin(), line_.end(), [pass](const Turn& t) { return t.pass == pass; });
        if (waiting == line_.end())
            line_.append({pass, due});
        else
            waiting->due = std::min(waiting->due, due);
        schedule();
    }

    void withdraw(SpellingHighlighter* pass)
    {
        line_.removeIf([pass](const Turn& t) { return t.pass == pass; });
        schedule();
    }

    // The writer is typing: the keys have the interface thread to themselves.
    void hold()
    {
        heldUntil_ = clock_.elapsed() + SpellingHighlighter::kTypingPauseMilliseconds;
        schedule();
    }

private:
    explicit PassTurns(QObject* parent) : QObject(parent)
    {
        clock_.start();
        timer_.setSingleShot(true);
        connect(&timer_, &QTimer::timeout, this, &PassTurns::runTurn);
    }

    struct Turn {
        SpellingHighlighter* pass;
        qint64 due;
    };

    void schedule()
    {
        if (line_.isEmpty()) {
            timer_.stop();
            return;
        }
        qint64 next = heldUntil_;
        qint64 due = line_.first().due;
        for (const Turn& turn : std::as_const(line_))
            due = std::min(due, turn.due);
        next = std::max(next, due);
        timer_.start(int(std::max<qint64>(0, next - clock_.elapsed())));
    }

    void runTurn()
    {
        const qint64 now = clock_.elapsed();
        const auto first = std::find_if(line_.begin(), line_.end(), [now](const Turn& t) { return t.due <= now; });
        if (now >= heldUntil_ && first != line_.end()) {
            SpellingHighlighter* pass = first->pass;
            line_.erase(first);
            pass->runSlice();
        }
        schedule();
    }

    QList<Turn> line_;
    qint64 heldUntil_ = 0;
    QElapsedTimer clock_;
    QTimer timer_{this};
};

SpellingHighlighter::SpellingHighlighter(SpellingDictionary& dictionary, QTextDocument* document)
    : QSyntaxHighlighter(static_cast<QObject*>(document)), dictionary_(dictionary),
      turns_(PassTurns::of(dictionary))
{
    underline_.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    // Red, as readable on the theme's background as a line needs to be.
    underline_.setUnderlineColor(readableOn(Qt::red, QGuiApplication::palette().color(QPalette::Base), 3.0));
    connect(&dictionary_, &SpellingDictionary::ready, this, &SpellingHighlighter::checkAgain);
    connect(&dictionary_, &SpellingDictionary::unavailable, this, &SpellingHighlighter::checkAgain);
    connect(&dictionary_, &SpellingDictionary::wordsAdded, this, &SpellingHighlighter::checkAgain);
    // Before the highlighter's own connection, so that a large change is
    // known when its paragraphs come to be highlighted. A document reports
    // its changes only once it has a layout.
    document->documentLayout();
    connect(document, &QTextDocument::contentsChange, this, &SpellingHighlighter::noteChange);
    // A text already there is highlighted by the base class on the next turn
    // of the event loop; it goes to the pass as well.
    if (!document->isEmpty()) {
        largeFrom_ = 0;
        largeTo_ = document->characterCount();
    }
    setDocument(document);
    // After the base class has highlighted a change (or that text): what
    // comes next is no part of it.
    const auto changeDone = [this] { largeFrom_ = largeTo_ = -1; };
    connect(document, &QTextDocument::contentsChange, this, changeDone);
    if (largeFrom_ >= 0)
        QMetaObject::invokeMethod(this, changeDone, Qt::QueuedConnection);
    dictionary_.load();
    checkAgain();
}

SpellingHighlighter::~SpellingHighlighter()
{
    if (turns_)
        turns_->withdraw(this);
}

void SpellingHighlighter::keyTyped()
{
    keyTyped_ = true;
    if (turns_)
        turns_->hold();
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
    // The pass has just checked this paragraph.
    const QList<TextSpan> doubtful = inPass_ && passChecked_ == at
        ? passFound_
        : doubtfulWords(text, dynamic_cast<const CheckMark*>(currentBlockUserData()), complete);
    passChecked_ = -1;
    for (const TextSpan& word : doubtful) {
        if (!isBeingTyped(at, word))
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

bool SpellingHighlighter::isBeingTyped(int blockPosition, TextSpan word) const
{
    return typingAt_ >= 0 && blockPosition + int(word.end()) == typingAt_ && cursor_ && cursor_() == typingAt_;
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
    if (turns_)
        turns_->request(this, delay);
}

void SpellingHighlighter::runSlice()
{
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
            if (!markIfUnchanged(block)) {
                inPass_ = true;
                rehighlightBlock(block);
                inPass_ = false;
                passChecked_ = -1;
            }
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
    if (turns_)
        turns_->request(this, busy ? kBusyRetryMilliseconds : 0);
}

bool SpellingHighlighter::isCurrent(const QTextBlock& block) const
{
    const auto* mark = dynamic_cast<const CheckMark*>(block.userData());
    return mark && mark->generation == generation_;
}

// A paragraph whose underlines the check leaves as they are is only marked
// checked: setting them again would have Qt lay it out again, and repaint it.
bool SpellingHighlighter::markIfUnchanged(QTextBlock block)
{
    auto* before = dynamic_cast<CheckMark*>(block.userData());
    const QString text = block.text();
    QList<TextSpan> doubtful;
    if (active_) {
        bool complete = true;
        doubtful = doubtfulWords(text, before, complete);
        if (!complete)
            return false;
    }
    passChecked_ = block.position();
    passFound_ = doubtful;
    const QList<QTextLayout::FormatRange> shown = block.layout()->formats();
    qsizetype i = 0;
    for (const TextSpan& word : std::as_const(doubtful)) {
        if (isBeingTyped(block.position(), word))
            continue;
        if (i == shown.size() || shown[i].start != word.start || shown[i].length != word.length
            || shown[i].format != underline_)
            return false;
        ++i;
    }
    if (i != shown.size())
        return false;
    if (!before) {
        before = new CheckMark;
        block.setUserData(before);
    }
    const bool keep = active_ && text.size() >= kLongParagraph;
    mark(*before, generation_, keep ? text : QString(), keep ? doubtful : QList<TextSpan>());
    passChecked_ = -1;
    return true;
}

void SpellingHighlighter::mark(CheckMark& mark, int generation, const QString& text, const QList<TextSpan>& doubtful)
{
    mark.generation = generation;
    mark.text = text;
    mark.doubtful = doubtful;
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
    SpellingHighlighter::mark(*mark, checked ? generation_ : -1, QString(), {});
}

}  // namespace vinkring

#include "spellinghighlighter.moc"

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
    QList<TextSpan> shown;     // the underlines the paragraph shows
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
    : QObject(document), doc_(document), dictionary_(dictionary), turns_(PassTurns::of(dictionary))
{
    underline_.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    // Red, as readable on the theme's background as a line needs to be.
    underline_.setUnderlineColor(readableOn(Qt::red, QGuiApplication::palette().color(QPalette::Base), 3.0));
    connect(&dictionary_, &SpellingDictionary::ready, this, &SpellingHighlighter::checkAgain);
    connect(&dictionary_, &SpellingDictionary::unavailable, this, &SpellingHighlighter::checkAgain);
    connect(&dictionary_, &SpellingDictionary::wordsAdded, this, &SpellingHighlighter::checkAgain);
    // A document reports its changes only once it has a layout.
    document->documentLayout();
    connect(document, &QTextDocument::contentsChange, this, &SpellingHighlighter::noteChange);
    dictionary_.load();
    // A text already there goes to the pass.
    checkAgain();
}

SpellingHighlighter::~SpellingHighlighter()
{
    if (turns_)
        turns_->withdraw(this);
    // Gone with the document, or taken away from it: then its underlines go.
    if (!doc_)
        return;
    for (QTextBlock block = doc_->begin(); block.isValid(); block = block.next())
        underline(block, dynamic_cast<CheckMark*>(block.userData()), {});
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
    const QTextBlock block = doc_->findBlock(position);
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

qsizetype SpellingHighlighter::underlinedCount() const
{
    qsizetype count = 0;
    for (QTextBlock block = doc_->begin(); block.isValid(); block = block.next()) {
        if (const auto* mark = dynamic_cast<const CheckMark*>(block.userData()))
            count += mark->shown.size();
    }
    return count;
}

bool SpellingHighlighter::check(QTextBlock block)
{
    auto* mark = dynamic_cast<CheckMark*>(block.userData());
    QList<TextSpan> doubtful;
    bool complete = true;
    // Until the dictionary is loaded nothing is underlined; then every
    // paragraph is checked.
    if (active_ && dictionary_.isReady())
        doubtful = doubtfulWords(block.text(), mark, complete);
    else if (active_)
        complete = false;
    underline(block, mark, doubtful);
    mark = dynamic_cast<CheckMark*>(block.userData());
    if (!mark && !complete)
        return false;
    if (!mark) {
        mark = new CheckMark;
        block.setUserData(mark);
    }
    mark->generation = complete ? generation_ : -1;
    const bool keep = complete && active_ && block.length() > kLongParagraph;
    mark->text = keep ? block.text() : QString();
    mark->doubtful = keep ? doubtful : QList<TextSpan>();
    return complete;
}

void SpellingHighlighter::underline(QTextBlock block, CheckMark* mark, const QList<TextSpan>& doubtful)
{
    QList<TextSpan> shown;
    for (const TextSpan& word : doubtful) {
        if (!isBeingTyped(block.position(), word))
            shown << word;
    }
    if (shown == (mark ? mark->shown : QList<TextSpan>()))
        return;
    QList<QTextLayout::FormatRange> formats;
    for (const TextSpan& word : std::as_const(shown))
        formats.append({int(word.start), int(word.length), underline_});
    if (!mark) {
        mark = new CheckMark;
        block.setUserData(mark);
    }
    mark->shown = shown;
    underlining_ = true;
    block.layout()->setFormats(formats);
    doc_->markContentsDirty(block.position(), block.length());
    underlining_ = false;
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
    const QTextBlock block = doc_->findBlock(typingAt_);
    typingAt_ = -1;
    if (block.isValid() && !check(block))
        staleFound(kBusyRetryMilliseconds);
}

void SpellingHighlighter::noteChange(int from, int, int added)
{
    if (underlining_)
        return;
    typingAt_ = keyTyped_ && added < kLargeChange ? from + added : -1;
    keyTyped_ = false;
    if (added >= kLargeChange) {
        forget(from, from + added);
        staleFound();
        return;
    }
    // A key press: its paragraph now.
    const QTextBlock last = doc_->findBlock(from + added);
    bool busy = false;
    for (QTextBlock block = doc_->findBlock(from); block.isValid(); block = block.next()) {
        busy = !check(block) || busy;
        if (block == last)
            break;
    }
    if (busy && active_ && dictionary_.isReady())
        staleFound(kBusyRetryMilliseconds);
}

// The paragraphs of a large change wait for the pass, without underlines
// (which no longer stand where they were).
void SpellingHighlighter::forget(int from, int to)
{
    const QTextBlock last = doc_->findBlock(to);
    for (QTextBlock block = doc_->findBlock(from); block.isValid(); block = block.next()) {
        if (auto* mark = dynamic_cast<CheckMark*>(block.userData())) {
            mark->generation = -1;
            mark->text.clear();
            mark->doubtful.clear();
            if (!mark->shown.isEmpty()) {
                mark->shown.clear();
                // The layout of the change comes after this.
                block.layout()->clearFormats();
            }
        }
        if (block == last)
            break;
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
    QTextBlock block = doc_->findBlockByNumber(next_);
    bool busy = false;
    while (block.isValid() && clock.elapsed() < kSliceMilliseconds) {
        if (!isCurrent(block)) {
            sweepFoundStale_ = true;
            busy = !check(block) || busy;
        }
        block = block.next();
        ++next_;
    }
    if (!block.isValid()) {
        if (sweepFromTop_ && !sweepFoundStale_) {
            checking_ = false;
            emit passEnded();
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

}  // namespace vinkring

#include "spellinghighlighter.moc"

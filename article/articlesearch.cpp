#include "article/articlesearch.h"

namespace vinkring {

namespace {

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c.isMark() || c == u'_';
}

}  // namespace

// QStringMatcher (Boyer-Moore, case folded per character) keeps a hit as
// long as the text searched for, which replacing relies on.
ArticleSearch::ArticleSearch(const QString& text, SearchOptions options)
    : text_(text), options_(options), matcher_(text, options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive)
{
}

bool ArticleSearch::wordAt(QStringView text, qsizetype at) const
{
    if (!options_.wholeWords)
        return true;
    const qsizetype end = at + text_.size();
    const bool startFree = !isWordCharacter(text_.front()) || at == 0 || !isWordCharacter(text[at - 1]);
    const bool endFree = !isWordCharacter(text_.back()) || end == text.size() || !isWordCharacter(text[end]);
    return startFree && endFree;
}

qsizetype ArticleSearch::nextIn(QStringView text, qsizetype from) const
{
    if (isEmpty())
        return -1;
    for (qsizetype at = matcher_.indexIn(text, from); at >= 0; at = matcher_.indexIn(text, at + 1)) {
        if (wordAt(text, at))
            return at;
    }
    return -1;
}

qsizetype ArticleSearch::previousIn(QStringView text, qsizetype before) const
{
    if (isEmpty())
        return -1;
    const Qt::CaseSensitivity cs = options_.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (qsizetype from = std::min(before, text.size()) - 1; from >= 0;) {
        const qsizetype at = text.lastIndexOf(QStringView(text_), from, cs);
        if (at < 0 || wordAt(text, at))
            return at;
        from = at - 1;
    }
    return -1;
}

qsizetype ArticleSearch::countIn(QStringView text) const
{
    qsizetype count = 0;
    for (qsizetype at = nextIn(text, 0); at >= 0; at = nextIn(text, at + text_.size()))
        ++count;
    return count;
}

bool ArticleSearch::isHitAt(QStringView text, qsizetype at, qsizetype length) const
{
    const Qt::CaseSensitivity cs = options_.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    return !isEmpty() && length == text_.size() && at >= 0 && at + length <= text.size() &&
           text.mid(at, length).compare(text_, cs) == 0 && wordAt(text, at);
}

std::optional<ArticleSearch::Found> ArticleSearch::find(const SearchTexts& texts, const SearchHit& from,
                                                        bool backward) const
{
    const std::size_t parts = texts.partCount();
    if (isEmpty() || parts == 0)
        return std::nullopt;
    const std::size_t first = std::min(from.part, parts - 1);
    // Each part once, the starting one twice: from the place on, and (after
    // going round) the rest of it.
    for (std::size_t step = 0; step <= parts; ++step) {
        const std::size_t part = backward ? (first + parts - step % parts) % parts : (first + step) % parts;
        const QString text = texts.partText(part);
        const bool wrapped = backward ? part > first || step == parts : part < first || step == parts;
        qsizetype at = -1;
        if (!backward) {
            at = nextIn(text, step == 0 ? from.start + from.length : 0);
            if (step == parts && at >= from.start + from.length)
                at = -1;
        } else {
            at = previousIn(text, step == 0 ? from.start : text.size());
            if (step == parts && at < from.start)
                at = -1;
        }
        if (at >= 0)
            return Found{{part, at, text_.size()}, wrapped};
    }
    return std::nullopt;
}

qsizetype ArticleSearch::count(const SearchTexts& texts) const
{
    qsizetype total = 0;
    for (std::size_t part = 0; part < texts.partCount(); ++part)
        total += countIn(texts.partText(part));
    return total;
}

QList<PartReplacement> ArticleSearch::replaceAll(const SearchTexts& texts, const QString& by) const
{
    QList<PartReplacement> replacements;
    for (std::size_t part = 0; part < texts.partCount(); ++part) {
        const QString text = texts.partText(part);
        qsizetype at = nextIn(text, 0);
        if (at < 0)
            continue;
        PartReplacement change{part, at, at, {}, 0};
        // Only the stretch from the first hit to the end of the last.
        while (at >= 0) {
            change.insert.append(QStringView(text).mid(change.to, at - change.to)).append(by);
            change.to = at + text_.size();
            ++change.count;
            at = nextIn(text, change.to);
        }
        replacements << change;
    }
    return replacements;
}

}  // namespace vinkring

#include "spelling/spellingwords.h"

#include <algorithm>

#include <QRegularExpression>
#include <QTextBoundaryFinder>

namespace vinkring {

namespace {

bool isHyphen(QChar c)
{
    return c == u'-' || c == QChar(0x2010) || c == QChar(0x2011);
}

bool isApostrophe(QChar c)
{
    return c == u'\'' || c == QChar(0x2019);
}

// Internet and e-mail addresses, with or without a scheme.
bool isAddress(QStringView chunk)
{
    static const QRegularExpression address(
        QStringLiteral("^(?:[a-z][a-z0-9+.-]*://\\S"
                       "|www\\.\\S"
                       "|mailto:"
                       "|[^@\\s]+@[^@\\s]+\\.[^@\\s]+$"
                       "|[\\w-]+(?:\\.[\\w-]+)*\\.(?:nl|be|com|org|net|eu|de|info)(?:[/:?#]\\S*)?$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    return address.match(chunk).hasMatch();
}

// The forum's codes and tags, which are no words: [URL]address[/URL] (and
// [IMG]) whole, any other code such as [URL=address], [url="address"],
// [/URL] or [b], and tags such as <b>, </u> and <br />. The text between an
// opening and a closing code is the writer's, and is checked.
QList<TextSpan> codeSpans(const QString& text)
{
    static const QRegularExpression code(
        QStringLiteral("\\[(url|img)\\][^\\[\\]\\r\\n]*\\[/\\1\\]"
                       "|\\[/?[a-z]+(?:=[^\\]\\r\\n]*)?\\]"
                       "|</?[a-z][a-z0-9]*\\s*/?>"),
        QRegularExpression::CaseInsensitiveOption);
    QList<TextSpan> spans;
    for (QRegularExpressionMatchIterator it = code.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        spans.push_back({match.capturedStart(), match.capturedLength()});
    }
    return spans;
}

bool overlaps(const QList<TextSpan>& spans, TextSpan word)
{
    return std::any_of(spans.cbegin(), spans.cend(),
                       [word](TextSpan s) { return word.start < s.end() && s.start < word.end(); });
}

// The places of the addresses in a text: blank-separated chunks that read
// as one once the punctuation around them is left off.
QList<TextSpan> addressSpans(const QString& text)
{
    QList<TextSpan> spans;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        while (i < n && text[i].isSpace())
            ++i;
        qsizetype start = i;
        while (i < n && !text[i].isSpace())
            ++i;
        qsizetype end = i;
        while (start < end && !text[start].isLetterOrNumber())
            ++start;
        while (end > start && !text[end - 1].isLetterOrNumber() && text[end - 1] != u'/')
            --end;
        // Every address has one of these: most words need no expression matched.
        const QStringView chunk = QStringView(text).mid(start, end - start);
        if (!chunk.contains(u'.') && !chunk.contains(u'@') && !chunk.contains(u':'))
            continue;
        if (isAddress(chunk)) {
            spans.push_back({start, end - start});
            continue;
        }
        // An address after something else in the chunk: "URL=www.vissen.nl".
        static const QRegularExpression inside(QStringLiteral("(?:[a-z][a-z0-9+.-]*://|www\\.)\\S"),
                                               QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch match = inside.match(chunk);
        if (match.hasMatch())
            spans.push_back({start + match.capturedStart(), end - start - match.capturedStart()});
    }
    return spans;
}

bool isWordItem(QStringView segment)
{
    for (QChar c : segment) {
        if (c.isLetterOrNumber())
            return true;
    }
    return false;
}

// Words the check leaves alone: with digits, without letters, or in capitals.
bool leftAlone(QStringView word)
{
    int letters = 0;
    bool allUpper = true;
    for (QChar c : word) {
        if (c.isNumber())
            return true;
        if (c.isLetter()) {
            ++letters;
            if (!c.isUpper())
                allUpper = false;
        }
    }
    return letters == 0 || (allUpper && letters > 1);
}

}  // namespace

QList<TextSpan> checkableWords(const QString& text)
{
    QList<TextSpan> segments;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, text);
    qsizetype from = 0;
    for (qsizetype to = finder.toNextBoundary(); to != -1; to = finder.toNextBoundary()) {
        segments.push_back({from, to - from});
        from = to;
    }

    // Addresses are sought with the codes blanked out, so that one right
    // after "[URL=...]" or "<b>" is found as well.
    const QList<TextSpan> codes = codeSpans(text);
    QString withoutCodes = text;
    for (const TextSpan& c : codes)
        withoutCodes.replace(c.start, c.length, QString(c.length, u' '));
    const QList<TextSpan> addresses = addressSpans(withoutCodes);
    auto view = [&text](TextSpan s) { return QStringView(text).mid(s.start, s.length); };

    QList<TextSpan> words;
    const qsizetype n = segments.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (!isWordItem(view(segments[i])))
            continue;
        TextSpan word = segments[i];
        while (i + 2 < n && segments[i + 1].length == 1 && isHyphen(text[segments[i + 1].start])
               && isWordItem(view(segments[i + 2]))) {
            word.length = segments[i + 2].end() - word.start;
            i += 2;
        }
        if (!leftAlone(view(word)) && !overlaps(addresses, word) && !overlaps(codes, word))
            words.push_back(word);
    }
    return words;
}

QStringList dictionaryForms(const QString& text, TextSpan word)
{
    QStringList forms{text.mid(word.start, word.length)};
    if (word.end() < text.size() && text[word.end()] == u'.')
        forms << text.mid(word.start, word.length + 1);
    if (word.start > 0 && isApostrophe(text[word.start - 1])
        && (word.start == 1 || !text[word.start - 2].isLetterOrNumber()))
        forms << text.mid(word.start - 1, word.length + 1);
    return forms;
}

QStringList ignoredForms(const QString& word)
{
    QStringList bases{word};
    if (!word.isEmpty() && word[0].isLower()) {
        QString capital = word;
        const qsizetype letters = word.startsWith(QLatin1StringView("ij")) ? 2 : 1;
        for (qsizetype i = 0; i < letters; ++i)
            capital[i] = capital[i].toUpper();
        bases << capital;
    }
    QStringList forms;
    for (const QString& base : bases)
        forms << base << base + QStringLiteral("'s") << base + QStringLiteral("\u2019s");
    return forms;
}

QStringList compoundParts(const QString& word)
{
    QStringList parts;
    qsizetype from = 0;
    for (qsizetype i = 0; i <= word.size(); ++i) {
        if (i == word.size() || isHyphen(word[i])) {
            if (i > from)
                parts << word.mid(from, i - from);
            from = i + 1;
        }
    }
    if (parts.size() < 2)
        return {word};
    return parts;
}

TextSpan sentenceAround(const QString& text, qsizetype position)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Sentence, text);
    qsizetype from = 0;
    qsizetype to = text.size();
    for (qsizetype next = finder.toNextBoundary(); next != -1; next = finder.toNextBoundary()) {
        if (position < next) {
            to = next;
            break;
        }
        from = next;
    }
    while (from < to && text[from].isSpace())
        ++from;
    while (to > from && text[to - 1].isSpace())
        --to;
    return {from, to - from};
}

}  // namespace vinkring

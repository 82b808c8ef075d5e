#include "article/forummarkup.h"

#include <algorithm>

#include <QFont>
#include <QUrl>

#include "model/linkentry.h"
#include "model/texts.h"

namespace vinkring {

namespace {

// An address longer than this is taken for text, so that a line full of
// unclosed codes costs no more than a few passes over it.
constexpr qsizetype kLongestTarget = 4096;
constexpr qsizetype kLongestTagName = 8;

bool isLineEnd(QChar c)
{
    return c == u'\r' || c == u'\n';
}

bool isSpecial(QChar c)
{
    return isLineEnd(c) || c == u'<' || c == u'[';
}

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

int styleIndex(quint8 style)
{
    int index = 0;
    while (index < kStyleCount && (1 << index) != style)
        ++index;
    return index;
}

bool startsWithAt(QStringView text, qsizetype at, QLatin1StringView what)
{
    return at + what.size() <= text.size() && text.mid(at, what.size()).compare(what, Qt::CaseInsensitive) == 0;
}

// The forum text read once, from left to right. Every search ahead goes
// through a cache of the next place of its character, so that the reading
// stays linear whatever the text holds.
class MarkupReader {
public:
    explicit MarkupReader(QStringView text) : s_(text), n_(text.size()), end_(n_) {}

    // Reads [from, to) only, carrying in what came before from.
    MarkupReader(QStringView text, qsizetype from, qsizetype to, const ForumCarry& carried)
        : s_(text), n_(text.size()), end_(to), i_(from), line_{from, {}}, depth_(carried.depth),
          link_(carried.link), linkEnd_(carried.linkEnd < 0 ? -1 : from + carried.linkEnd)
    {
        // Where they were opened only matters to the findings.
        for (int style = 0; style < kStyleCount; ++style) {
            for (int k = 0; k < depth_[std::size_t(style)]; ++k)
                open_.push_back({quint8(1 << style), from, 0});
        }
    }

    ForumPart readPart()
    {
        readUntilEnd();
        if (end_ == n_)
            lines_.push_back(std::move(line_));
        ForumCarry out{depth_, link_, linkEnd_ < 0 ? -1 : linkEnd_ - end_};
        return {std::move(lines_), std::move(out), readAhead_};
    }

    ForumReading read()
    {
        readUntilEnd();
        lines_.push_back(std::move(line_));
        for (const OpenTag& open : open_)
            note(MarkupProblem::TagNotClosed, open.offset, open.length);
        std::stable_sort(findings_.begin(), findings_.end(),
                         [](const MarkupFinding& a, const MarkupFinding& b) { return a.offset < b.offset; });
        return {std::move(lines_), std::move(findings_)};
    }

private:
    void readUntilEnd()
    {
        while (i_ < end_) {
            if (i_ == linkEnd_) {
                i_ += kLinkClose.size();
                link_.clear();
                linkEnd_ = -1;
                continue;
            }
            const QChar c = s_[i_];
            if (isLineEnd(c))
                takeLineEnd();
            else if (!(c == u'<' && takeTag()) && !(c == u'[' && takeCode()))
                takeText();
        }
    }

    struct OpenTag {
        quint8 style;
        qsizetype offset;
        qsizetype length;
    };
    // The next place of one character at or after the places asked so far.
    struct Next {
        QChar c;
        qsizetype at = -1;
    };

    QStringView mid(qsizetype from, qsizetype to) const { return s_.mid(from, to - from); }

    // from never goes back between two calls with the same cache.
    qsizetype next(Next& cache, qsizetype from) const
    {
        if (cache.at < from) {
            cache.at = s_.indexOf(cache.c, from);
            if (cache.at < 0)
                cache.at = n_;
        }
        return cache.at;
    }

    // Where the line of i_ ends (its CR or LF, or the text's end).
    qsizetype lineEnd()
    {
        return std::min(next(nextCr_, i_), next(nextLf_, i_));
    }

    void note(MarkupProblem problem, qsizetype offset, qsizetype length)
    {
        findings_.push_back({problem, offset, length});
    }

    quint8 styles() const
    {
        quint8 bits = 0;
        for (int i = 0; i < kStyleCount; ++i) {
            if (depth_[std::size_t(i)] > 0)
                bits |= quint8(1 << i);
        }
        return bits;
    }

    void append(QStringView text, const QString& link)
    {
        if (text.isEmpty())
            return;
        const quint8 now = styles();
        if (!line_.runs.isEmpty() && line_.runs.back().styles == now && line_.runs.back().link == link)
            line_.runs.back().text += text;
        else
            line_.runs.push_back({text.toString(), now, link});
    }

    void endLine(qsizetype next)
    {
        lines_.push_back(std::move(line_));
        line_ = ForumLine{next, {}};
    }

    void takeLineEnd()
    {
        i_ += s_[i_] == u'\r' && i_ + 1 < n_ && s_[i_ + 1] == u'\n' ? 2 : 1;
        endLine(i_);
    }

    // Text up to the next character that may start something else.
    void takeText()
    {
        const qsizetype limit = linkEnd_ >= 0 ? linkEnd_ : n_;
        qsizetype end = i_ + 1;
        while (end < limit && !isSpecial(s_[end]))
            ++end;
        append(mid(i_, end), link_);
        i_ = end;
    }

    // <name>, </name>, <br>, <br/> or <br />; any other tag, and one with
    // attributes, is text.
    bool takeTag();
    void closeTag(quint8 style, qsizetype length);
    // Something that looks like a tag of a web page, at i_: shown as text.
    void noteOtherTag();
    // [URL]address[/URL] or [URL=address]text[/URL].
    bool takeCode();
    // Something that looks like a bracket code, at i_: shown as text.
    void noteOtherCode();
    qsizetype findClose(qsizetype from);
    // Where the next "\"]" at or after from stands (n_ when none).
    qsizetype nextQuoteClose(qsizetype from)
    {
        if (quoteCloseAt_ < from) {
            quoteCloseAt_ = s_.indexOf(QStringView(u"\"]"), from);
            if (quoteCloseAt_ < 0)
                quoteCloseAt_ = n_;
        }
        return quoteCloseAt_;
    }

    const QStringView s_;
    const qsizetype n_;
    const qsizetype end_;  // of the part read
    qsizetype i_ = 0;
    bool readAhead_ = false;
    QList<ForumLine> lines_;
    ForumLine line_;
    QList<MarkupFinding> findings_;
    std::array<int, kStyleCount> depth_{};
    QList<OpenTag> open_;      // the tags open, in the order they were opened
    QString link_;             // inside [URL=...]...[/URL]
    qsizetype linkEnd_ = -1;   // where its [/URL] stands
    qsizetype noCloseFrom_ = -1;  // no [/URL] stands at or after this place
    Next nextCr_{u'\r'};
    Next nextLf_{u'\n'};
    Next nextGreater_{u'>'};
    Next nextBracket_{u']'};
    qsizetype quoteCloseAt_ = -1;
};

bool MarkupReader::takeTag()
{
    qsizetype j = i_ + 1;
    const bool closing = j < n_ && s_[j] == u'/';
    if (closing)
        ++j;
    const qsizetype nameStart = j;
    while (j < n_ && j - nameStart < kLongestTagName && isAsciiLetter(s_[j]))
        ++j;
    const QStringView name = mid(nameStart, j);
    while (j < n_ && s_[j] == u' ')
        ++j;
    const bool selfClosing = j < n_ && s_[j] == u'/';
    if (selfClosing)
        ++j;
    if (name.isEmpty() || j >= n_ || s_[j] != u'>') {
        noteOtherTag();
        return false;
    }
    ++j;

    if (name.compare(QLatin1StringView("br"), Qt::CaseInsensitive) == 0) {
        i_ = j;
        endLine(j);
        return true;
    }
    const auto tag = std::find_if(kForumTags.cbegin(), kForumTags.cend(), [&](const ForumTagInfo& info) {
        return name.compare(info.name, Qt::CaseInsensitive) == 0;
    });
    if (selfClosing || tag == kForumTags.cend()) {
        noteOtherTag();
        return false;
    }
    if (closing) {
        closeTag(tag->style, j - i_);
    } else {
        ++depth_[std::size_t(styleIndex(tag->style))];
        open_.push_back({tag->style, i_, j - i_});
    }
    i_ = j;
    return true;
}

// A closing tag with nothing open is dropped, as a browser does; one that
// closes a tag opened before the last still open closes its own style only.
void MarkupReader::closeTag(quint8 style, qsizetype length)
{
    int& depth = depth_[std::size_t(styleIndex(style))];
    if (depth == 0) {
        note(MarkupProblem::TagNotOpened, i_, length);
        return;
    }
    --depth;
    qsizetype at = open_.size() - 1;
    while (open_[at].style != style)
        --at;
    if (at != open_.size() - 1)
        note(MarkupProblem::TagsCrossed, i_, length);
    open_.remove(at);
}

void MarkupReader::noteOtherTag()
{
    qsizetype j = i_ + 1;
    if (j < n_ && s_[j] == u'/')
        ++j;
    if (j >= n_ || !isAsciiLetter(s_[j]))
        return;  // "a < b", "<3": no tag
    const qsizetype greater = next(nextGreater_, i_ + 1);
    if (greater < lineEnd())
        note(MarkupProblem::NotForumMarkup, i_, greater + 1 - i_);
}

qsizetype MarkupReader::findClose(qsizetype from)
{
    if (noCloseFrom_ >= 0 && from >= noCloseFrom_)
        return -1;
    const qsizetype close = s_.indexOf(kLinkClose, from, Qt::CaseInsensitive);
    if (close < 0)
        noCloseFrom_ = from;
    if (close < 0 || close >= end_)
        readAhead_ = true;
    return close;
}

bool MarkupReader::takeCode()
{
    // A code inside a link's text is text.
    if (linkEnd_ >= 0 || !startsWithAt(s_, i_, QLatin1StringView("[url"))) {
        noteOtherCode();
        return false;
    }
    const qsizetype j = i_ + 4;
    if (j >= n_ || (s_[j] != u']' && s_[j] != u'=')) {
        noteOtherCode();
        return false;
    }

    if (s_[j] == u']') {
        const qsizetype close = findClose(j + 1);
        const QStringView url = close < 0 ? QStringView() : mid(j + 1, close);
        if (close < 0 || url.size() > kLongestTarget || url.contains(u'\r') || url.contains(u'\n')) {
            note(MarkupProblem::LinkNotClosed, i_, kBareLinkOpen.size());
            return false;
        }
        const QString target = linkTarget(url.toString());
        if (target.isEmpty())
            note(MarkupProblem::LinkNotOpenable, i_, close + kLinkClose.size() - i_);
        append(url, target);
        i_ = close + kLinkClose.size();
        return true;
    }

    // [URL="address"] runs to its closing quote, so that the brackets of
    // an IPv6 host stay in the address.
    qsizetype targetEnd = next(nextBracket_, i_ + 1);
    if (j + 1 < n_ && s_[j + 1] == u'"') {
        const qsizetype quoteClose = nextQuoteClose(j + 2);
        if (quoteClose < lineEnd() && quoteClose - j <= kLongestTarget)
            targetEnd = quoteClose + 1;
    }
    if (targetEnd >= lineEnd() || targetEnd - j > kLongestTarget) {
        note(MarkupProblem::LinkNotClosed, i_, kLinkOpen.size());
        return false;
    }
    const qsizetype close = findClose(targetEnd + 1);
    if (close < 0) {
        note(MarkupProblem::LinkNotClosed, i_, targetEnd + 1 - i_);
        return false;
    }
    link_ = linkTarget(unquotedAddress(mid(j + 1, targetEnd)));
    if (link_.isEmpty())
        note(MarkupProblem::LinkNotOpenable, i_, targetEnd + 1 - i_);
    linkEnd_ = close;
    i_ = targetEnd + 1;
    return true;
}

// "[b]", "[/quote]", "[color=red]": a code of some other forum, or a [/URL]
// with no link open.
void MarkupReader::noteOtherCode()
{
    qsizetype j = i_ + 1;
    if (j < n_ && s_[j] == u'/')
        ++j;
    const qsizetype nameStart = j;
    while (j < n_ && (isAsciiLetter(s_[j]) || (j > nameStart && isAsciiDigit(s_[j]))))
        ++j;
    if (j == nameStart || j >= n_)
        return;
    if (s_[j] == u']') {
        note(MarkupProblem::NotForumMarkup, i_, j + 1 - i_);
    } else if (s_[j] == u'=') {
        const qsizetype close = next(nextBracket_, i_ + 1);
        if (close < lineEnd())
            note(MarkupProblem::NotForumMarkup, i_, close + 1 - i_);
    }
}

}  // namespace

QLatin1StringView tagName(quint8 style)
{
    for (const ForumTagInfo& tag : kForumTags) {
        if (tag.style == style)
            return tag.name;
    }
    return kForumTags.front().name;
}

QString openingTag(quint8 style)
{
    return QLatin1Char('<') + tagName(style) + QLatin1Char('>');
}

QString closingTag(quint8 style)
{
    return QStringLiteral("</") + tagName(style) + QLatin1Char('>');
}

QString linkCode(QStringView address, QStringView text)
{
    QString code;
    code.reserve(address.size() + text.size() + 12);
    if (text.isEmpty())
        return code.append(kBareLinkOpen).append(address).append(kLinkClose);
    return code.append(kLinkOpen).append(address).append(u']').append(text).append(kLinkClose);
}

QString targetOpening(const QString& target)
{
    if (target.contains(u']'))
        return kLinkOpen + u'"' + target + QStringLiteral("\"]");
    return kLinkOpen + target + u']';
}

std::optional<LinkCodeParts> linkOfLine(const QString& line, qsizetype* descriptionAt, qsizetype* addressAt)
{
    const auto leadingSpaces = [](const QString& text) {
        qsizetype count = 0;
        while (count < text.size() && text[count] == u' ')
            ++count;
        return count;
    };
    const LinkPieces pieces = splitLinkLine(line);
    if (!pieces.hasComma) {
        // Only a file written elsewhere holds such a line: a URL-only link
        // of its text, and nothing at all for a blank line.
        const QString address = trimSpaces(line);
        if (address.isEmpty())
            return std::nullopt;
        if (descriptionAt)
            *descriptionAt = leadingSpaces(line);
        if (addressAt)
            *addressAt = leadingSpaces(line);
        return LinkCodeParts{address, QString()};
    }
    if (descriptionAt)
        *descriptionAt = leadingSpaces(pieces.description);
    if (addressAt)
        *addressAt = pieces.description.size() + 1 + leadingSpaces(pieces.url);
    return LinkCodeParts{trimSpaces(pieces.url), trimSpaces(pieces.description)};
}

std::optional<LinkCodeParts> readLinkCode(QStringView line)
{
    const QStringView code = line.trimmed();
    const qsizetype closeSize = kLinkClose.size();
    if (!code.endsWith(kLinkClose, Qt::CaseInsensitive))
        return std::nullopt;
    if (code.startsWith(kBareLinkOpen, Qt::CaseInsensitive) && code.size() >= kBareLinkOpen.size() + closeSize) {
        const QStringView address = code.sliced(kBareLinkOpen.size(), code.size() - kBareLinkOpen.size() - closeSize);
        return LinkCodeParts{trimSpaces(address.toString()), QString()};
    }
    if (!code.startsWith(kLinkOpen, Qt::CaseInsensitive))
        return std::nullopt;
    qsizetype bracket = code.indexOf(u']', kLinkOpen.size());
    if (code.sliced(kLinkOpen.size()).startsWith(u'"')) {
        const qsizetype quoteClose = code.indexOf(QStringView(u"\"]"), kLinkOpen.size() + 1);
        if (quoteClose >= 0)
            bracket = quoteClose + 1;
    }
    if (bracket < 0 || code.size() - (bracket + 1) < closeSize)
        return std::nullopt;
    const QStringView text = code.sliced(bracket + 1, code.size() - bracket - 1 - closeSize);
    return LinkCodeParts{unquotedAddress(code.sliced(kLinkOpen.size(), bracket - kLinkOpen.size())),
                         trimSpaces(text.toString())};
}

QString unquotedAddress(QStringView address)
{
    QStringView inner = address.trimmed();
    while (inner.size() >= 2 && (inner.front() == u'"' || inner.front() == u'\'') && inner.back() == inner.front())
        inner = inner.sliced(1, inner.size() - 2).trimmed();
    return inner.toString();
}

QString authorWords()
{
    return toQString(kAuthorOpen).mid(openingTag(kItalic).size());
}

bool mayOpenScheme(QStringView scheme)
{
    for (const QLatin1StringView allowed : {QLatin1StringView("http"), QLatin1StringView("https"),
                                            QLatin1StringView("ftp"), QLatin1StringView("mailto")}) {
        if (scheme.compare(allowed, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QStringView addressScheme(QStringView address)
{
    if (address.isEmpty() || !isAsciiLetter(address[0]))
        return {};
    qsizetype end = 1;
    while (end < address.size()
           && (isAsciiLetter(address[end]) || isAsciiDigit(address[end]) || address[end] == u'+'
               || address[end] == u'-'))
        ++end;
    if (end == address.size() || address[end] != u':')
        return {};
    return address.first(end);
}

QString linkTarget(const QString& url)
{
    const QString address = url.trimmed();
    if (address.isEmpty())
        return {};
    // A browser drops tabs and line ends from an address and reads a blank
    // or an invisible character otherwise than it shows: none may be there.
    for (const QChar c : address) {
        const QChar::Category category = c.category();
        if (c.isSpace() || category == QChar::Other_Control || category == QChar::Other_Format
            || category == QChar::Other_Surrogate || c.unicode() >= 0xFFFE)
            return {};
    }
    const QStringView scheme = addressScheme(address);
    QString candidate;
    if (!scheme.isEmpty()) {
        if (!mayOpenScheme(scheme))
            return {};
        candidate = address;
    } else if (address.startsWith(QLatin1StringView("//"))) {
        candidate = QStringLiteral("http:") + address;
    } else {
        candidate = QStringLiteral("http://") + address;
    }
    // QUrl reads it as a browser does and encodes what a URL must.
    const QUrl parsed(candidate);
    if (!parsed.isValid() || !mayOpenScheme(parsed.scheme()))
        return {};
    if (parsed.scheme() != QLatin1StringView("mailto") && parsed.host().isEmpty())
        return {};
    // "[" and "]" would end a [URL=...] code: encoded after the host; an
    // IPv6 host keeps its own.
    QString encoded = QString::fromLatin1(parsed.toEncoded());
    qsizetype from = 0;
    if (parsed.host().contains(u':')) {
        const QString host = QLatin1Char('[') + parsed.host(QUrl::FullyEncoded) + QLatin1Char(']');
        const qsizetype at = encoded.indexOf(host);
        if (at < 0)
            return {};
        from = at + host.size();
    }
    QString rest = encoded.sliced(from);
    rest.replace(QLatin1Char('['), QLatin1StringView("%5B")).replace(QLatin1Char(']'), QLatin1StringView("%5D"));
    return encoded.first(from) + rest;
}

QTextCharFormat runCharFormat(quint8 styles, const QString& link, const QBrush& linkColour)
{
    QTextCharFormat format;
    if (styles & kBold)
        format.setFontWeight(QFont::Bold);
    format.setFontItalic(styles & kItalic);
    format.setFontUnderline((styles & kUnderline) || !link.isEmpty());
    format.setFontStrikeOut(styles & kStrikeOut);
    if (styles & kSubscript)
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    else if (styles & kSuperscript)
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    if (!link.isEmpty()) {
        format.setAnchor(true);
        format.setAnchorHref(link);
        format.setForeground(linkColour);
    }
    return format;
}

ForumReading readForumText(QStringView text)
{
    return MarkupReader(text).read();
}

ForumPart readForumPart(QStringView text, qsizetype from, qsizetype to, const ForumCarry& carried)
{
    return MarkupReader(text, from, to, carried).readPart();
}

QString codeSafe(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == u'[' && i + 1 < text.size() && (text[i + 1] == u'/' || isAsciiLetter(text[i + 1])))
            out += QChar(0x2060);
    }
    return out;
}

}  // namespace vinkring

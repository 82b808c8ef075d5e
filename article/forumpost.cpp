#include "article/forumpost.h"

#include <array>

#include <QRegularExpression>

namespace vinkring {

namespace {

struct TagInfo {
    QLatin1StringView name;
    quint8 style;
};

constexpr std::array<TagInfo, 10> kTags{{
    {QLatin1StringView("b"), kBold},
    {QLatin1StringView("strong"), kBold},
    {QLatin1StringView("i"), kItalic},
    {QLatin1StringView("em"), kItalic},
    {QLatin1StringView("u"), kUnderline},
    {QLatin1StringView("s"), kStrikeOut},
    {QLatin1StringView("strike"), kStrikeOut},
    {QLatin1StringView("del"), kStrikeOut},
    {QLatin1StringView("sub"), kSubscript},
    {QLatin1StringView("sup"), kSuperscript},
}};
constexpr int kStyleCount = 6;

constexpr QLatin1StringView kUrlOpen("[url");
constexpr QLatin1StringView kUrlClose("[/url]");
// An address longer than this is taken for text, so that a line full of
// unclosed codes costs no more than a few passes over it.
constexpr qsizetype kLongestTarget = 4096;

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

int styleIndex(quint8 style)
{
    int index = 0;
    while ((1 << index) != style)
        ++index;
    return index;
}

// [URL="address"], as writers copy it from other forums: the quotes are no
// part of the address (nor single ones).
QStringView unquoted(QStringView address)
{
    const QStringView trimmed = address.trimmed();
    if (trimmed.size() >= 2 && (trimmed.front() == u'"' || trimmed.front() == u'\'') && trimmed.back() == trimmed.front())
        return trimmed.mid(1, trimmed.size() - 2);
    return address;
}

class PostParser {
public:
    explicit PostParser(const QString& text) : s_(text), n_(text.size()) {}

    QList<ForumLine> parse()
    {
        while (i_ < n_) {
            if (i_ == linkEnd_) {
                i_ += kUrlClose.size();
                link_.clear();
                linkEnd_ = -1;
                continue;
            }
            const QChar c = s_[i_];
            if (isLineEnd(c))
                takeLineEnd();
            else if (!(c == u'<' && takeTag()) && !(c == u'[' && linkEnd_ < 0 && takeUrlCode()))
                takeText();
        }
        lines_.push_back(std::move(line_));
        return std::move(lines_);
    }

private:
    QStringView mid(qsizetype from, qsizetype to) const { return QStringView(s_).mid(from, to - from); }

    quint8 styles() const
    {
        quint8 bits = 0;
        for (int i = 0; i < kStyleCount; ++i) {
            if (depth_[i] > 0)
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
    // [URL]address[/URL] or [URL=address]text[/URL].
    bool takeUrlCode();
    qsizetype findClose(qsizetype from);

    const QString& s_;
    const qsizetype n_;
    qsizetype i_ = 0;
    QList<ForumLine> lines_;
    ForumLine line_;
    std::array<int, kStyleCount> depth_{};
    QString link_;            // inside [URL=...]...[/URL]
    qsizetype linkEnd_ = -1;  // where its [/URL] stands
    qsizetype noCloseFrom_ = -1;  // no [/URL] stands at or after this place
};

bool PostParser::takeTag()
{
    qsizetype j = i_ + 1;
    const bool closing = j < n_ && s_[j] == u'/';
    if (closing)
        ++j;
    const qsizetype nameStart = j;
    while (j < n_ && j - nameStart < 8 && isAsciiLetter(s_[j]))
        ++j;
    const QStringView name = mid(nameStart, j);
    while (j < n_ && s_[j] == u' ')
        ++j;
    const bool selfClosing = j < n_ && s_[j] == u'/';
    if (selfClosing)
        ++j;
    if (name.isEmpty() || j >= n_ || s_[j] != u'>')
        return false;
    ++j;

    if (name.compare(QLatin1StringView("br"), Qt::CaseInsensitive) == 0) {
        i_ = j;
        endLine(j);
        return true;
    }
    if (selfClosing)
        return false;
    for (const TagInfo& tag : kTags) {
        if (name.compare(tag.name, Qt::CaseInsensitive) != 0)
            continue;
        int& depth = depth_[std::size_t(styleIndex(tag.style))];
        // A closing tag with nothing open is dropped, as a browser does.
        if (!closing)
            ++depth;
        else if (depth > 0)
            --depth;
        i_ = j;
        return true;
    }
    return false;
}

qsizetype PostParser::findClose(qsizetype from)
{
    if (noCloseFrom_ >= 0 && from >= noCloseFrom_)
        return -1;
    const qsizetype close = s_.indexOf(kUrlClose, from, Qt::CaseInsensitive);
    if (close < 0)
        noCloseFrom_ = from;
    return close;
}

bool PostParser::takeUrlCode()
{
    if (mid(i_, std::min(n_, i_ + kUrlOpen.size())).compare(kUrlOpen, Qt::CaseInsensitive) != 0)
        return false;
    const qsizetype j = i_ + kUrlOpen.size();
    if (j >= n_ || (s_[j] != u']' && s_[j] != u'='))
        return false;

    if (s_[j] == u']') {
        const qsizetype close = findClose(j + 1);
        if (close < 0)
            return false;
        const QStringView url = mid(j + 1, close);
        if (url.size() > kLongestTarget || url.contains(u'\r') || url.contains(u'\n'))
            return false;
        append(url, linkTarget(url.toString()));
        i_ = close + kUrlClose.size();
        return true;
    }

    qsizetype targetEnd = j + 1;
    while (targetEnd < n_ && targetEnd - j <= kLongestTarget && s_[targetEnd] != u']' && !isLineEnd(s_[targetEnd]))
        ++targetEnd;
    if (targetEnd >= n_ || s_[targetEnd] != u']')
        return false;
    const qsizetype close = findClose(targetEnd + 1);
    if (close < 0)
        return false;
    link_ = linkTarget(unquoted(mid(j + 1, targetEnd)).toString());
    linkEnd_ = close;
    i_ = targetEnd + 1;
    return true;
}

// What a browser skips when it reads the scheme: blanks, tabs, line ends and
// other invisible characters anywhere in it.
QString withoutInvisibles(const QString& url)
{
    QString compact;
    compact.reserve(url.size());
    for (const QChar c : url) {
        const QChar::Category category = c.category();
        if (!c.isSpace() && category != QChar::Other_Control && category != QChar::Other_Format)
            compact += c;
    }
    return compact;
}

}  // namespace

QList<ForumLine> parseForumPost(const QString& forumText)
{
    return PostParser(forumText).parse();
}

QString linkTarget(const QString& url)
{
    const QString trimmed = url.trimmed();
    if (trimmed.isEmpty())
        return {};
    const QString compact = withoutInvisibles(trimmed);
    static const QRegularExpression scheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.\\-]*):"));
    const QRegularExpressionMatch match = scheme.match(compact);
    // "www.vinkring.nl:80/forum" names a host, not a scheme.
    if (match.hasMatch() && !match.capturedView(1).contains(u'.')) {
        return mayOpenScheme(match.capturedView(1)) ? trimmed : QString();
    }
    if (compact.startsWith(QLatin1StringView("//")))
        return QStringLiteral("http:") + trimmed;
    return QStringLiteral("http://") + trimmed;
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

qsizetype countCharacters(const QString& forumText)
{
    qsizetype count = forumText.size();
    for (qsizetype i = 1; i < forumText.size(); ++i) {
        if (forumText[i].isLowSurrogate() && forumText[i - 1].isHighSurrogate())
            --count;
    }
    return count;
}

qsizetype countWords(const QList<ForumLine>& lines)
{
    qsizetype words = 0;
    bool inChunk = false;
    bool hasLetter = false;
    const auto endChunk = [&] {
        if (inChunk && hasLetter)
            ++words;
        inChunk = hasLetter = false;
    };
    for (const ForumLine& line : lines) {
        for (const ForumRun& run : line.runs) {
            for (const QChar c : run.text) {
                if (c.isSpace()) {
                    endChunk();
                    continue;
                }
                inChunk = true;
                hasLetter = hasLetter || c.isLetterOrNumber();
            }
        }
        endChunk();
    }
    return words;
}

}  // namespace vinkring

#include "article/forumimport.h"

#include <algorithm>

#include <QHash>
#include <QStringDecoder>
#include <QStringList>

#include "article/articleparts.h"
#include "article/forummarkup.h"
#include "document/documentfile.h"
#include "document/plainfile.h"
#include "document/windows1252.h"
#include "model/linkentry.h"
#include "model/texts.h"

namespace vinkring {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");
constexpr qsizetype kShownStart = 40;  // of a line named in a refusal
constexpr qsizetype kLinesPerCheck = 4096;

// A heading of the template, in the order the article has them.
struct Heading {
    QString key;        // its line as the article writes it, trimmed, in lower case
    QString name;       // as the writer reads it: "3. Gedrag"
    std::size_t field;  // the field whose text follows it
    bool chapter;
    bool ownsText;      // a section heading, or the chapter heading of the conclusion
};

struct HeadingTable {
    std::vector<Heading> list;
    QHash<QString, std::size_t> byKey;
    qsizetype longestKey = 0;
};

const HeadingTable& headings()
{
    static const HeadingTable table = [] {
        HeadingTable made;
        const auto add = [&](std::string_view line, std::size_t field, bool chapter, bool ownsText) {
            const QString text = toQString(line);
            const QString name = plainText(readForumText(text).lines.value(0)).trimmed();
            made.list.push_back({text.trimmed().toLower(), name, field, chapter, ownsText});
            made.longestKey = std::max(made.longestKey, made.list.back().key.size());
        };
        for (std::size_t i = kFirstSectionField; i < kFieldCount; ++i) {
            const FieldInfo& field = kFields[i];
            if (!field.chapterHeading.empty())
                add(field.chapterHeading, i, true, field.sectionHeading.empty());
            if (!field.sectionHeading.empty())
                add(field.sectionHeading, i, false, true);
        }
        add(kLinksChapterHeading, kFieldCount, true, false);
        for (std::size_t k = 0; k < made.list.size(); ++k)
            made.byKey.insert(made.list[k].key, k);
        return made;
    }();
    return table;
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QStringView withoutTrailingBlanks(QStringView line)
{
    qsizetype end = line.size();
    while (end > 0 && isBlank(line[end - 1]))
        --end;
    return line.first(end);
}

bool endsWithTag(QStringView line, std::string_view tag)
{
    return withoutTrailingBlanks(line).endsWith(toQString(tag), Qt::CaseInsensitive);
}

// One line of the text: where it starts and ends (before its line end) and
// its number from 0.
struct Line {
    qsizetype start = 0;
    qsizetype end = 0;
    qsizetype number = -1;
};

// The lines of a text from a place on, up to a limit, without copying them:
// a text of n line ends has n + 1 lines.
class Lines {
public:
    Lines(QStringView text, qsizetype from, qsizetype number, qsizetype limit)
        : text_(text), pos_(from), number_(number - 1), limit_(limit)
    {
    }

    bool next(Line& line)
    {
        if (done_ || pos_ >= limit_)
            return false;
        const qsizetype end = std::min(nextOf(u'\r', nextCr_), nextOf(u'\n', nextLf_));
        line = {pos_, end, ++number_};
        if (end == text_.size()) {
            done_ = true;
            pos_ = end;
        } else {
            pos_ = end + (text_[end] == u'\r' && end + 1 < text_.size() && text_[end + 1] == u'\n' ? 2 : 1);
        }
        return true;
    }

    // Where the line after the last one given starts.
    qsizetype position() const { return done_ ? text_.size() + 1 : pos_; }

private:
    // The next place of c at or after pos_, kept between lines: a text with
    // LF line ends is not searched to its end for a CR at every line.
    qsizetype nextOf(QChar c, qsizetype& cached) const
    {
        if (cached < pos_) {
            cached = text_.indexOf(c, pos_);
            if (cached < 0)
                cached = text_.size();
        }
        return cached;
    }

    QStringView text_;
    qsizetype pos_;
    qsizetype number_;
    qsizetype limit_;
    bool done_ = false;
    qsizetype nextCr_ = -1;
    qsizetype nextLf_ = -1;
};

class Importer {
public:
    Importer(QStringView text, const TaskControl& control) : text_(text), control_(control) {}

    ForumImport run();

private:
    // The line without the indentation every line of the text has.
    QStringView content(const Line& line) const
    {
        QStringView view = text_.mid(line.start, line.end - line.start);
        qsizetype cut = 0;
        while (cut < indent_ && cut < view.size() && isBlank(view[cut]))
            ++cut;
        return view.sliced(cut);
    }

    std::optional<std::size_t> headingAt(QStringView content) const
    {
        const QStringView line = content.trimmed();
        // The headings are ASCII: no other letter is taken for one of theirs.
        if (line.isEmpty() || line.front() != u'<' || line.size() > headings().longestKey
            || std::any_of(line.begin(), line.end(), [](QChar c) { return c.unicode() > 0x7F; }))
            return std::nullopt;
        const auto found = headings().byKey.constFind(line.toString().toLower());
        return found == headings().byKey.cend() ? std::nullopt : std::optional<std::size_t>(*found);
    }

    // Every so many lines: stopped, and how far.
    bool stopped(const Line& line) const
    {
        if (line.number % kLinesPerCheck != 0)
            return false;
        control_.report(line.start, text_.size());
        return control_.cancelled();
    }

    // The lines that start in [from, to), joined with CR LF; without the
    // paragraph break's empty line at their end when dropLastBlank.
    QString linesText(qsizetype from, qsizetype number, qsizetype to, bool dropLastBlank) const
    {
        QString out;
        out.reserve(std::max<qsizetype>(0, std::min(to, text_.size()) - from));
        Lines lines(text_, from, number, to);
        Line line;
        qsizetype beforeLast = 0;
        bool lastBlank = false;
        bool first = true;
        while (lines.next(line)) {
            beforeLast = out.size();
            if (!first)
                out += kLineEnd;
            first = false;
            const QStringView piece = content(line);
            out += piece;
            lastBlank = withoutTrailingBlanks(piece).isEmpty();
        }
        if (dropLastBlank && !first && lastBlank)
            out.truncate(beforeLast);
        return out;
    }

    static ForumImport refused(qsizetype line, const QString& expected, const QString& reason)
    {
        return {std::nullopt, toQString(messages::kImportRefusedBecause).arg(line + 1).arg(expected, reason), false};
    }

    static QString expectedTitle()
    {
        return toQString(messages::kImportExpectedTitle).arg(toQString(kTitleOpen), toQString(kTitleClose));
    }

    static QString expectedAuthor()
    {
        return toQString(messages::kImportExpectedAuthor).arg(toQString(kAuthorOpen), toQString(kAuthorClose));
    }

    static QString expectedHeading(std::size_t k)
    {
        return toQString(messages::kImportExpectedHeading).arg(headings().list[k].name);
    }

    static QString startOf(QStringView line)
    {
        QString shown = withoutControls(line.trimmed().first(std::min(line.trimmed().size(), kShownStart)));
        if (line.trimmed().size() > kShownStart)
            shown += QChar(0x2026);
        return toQString(messages::kImportLineStartsWith).arg(shown);
    }

    const QStringView text_;
    const TaskControl& control_;
    qsizetype indent_ = 0;
};

ForumImport Importer::run()
{
    const HeadingTable& table = headings();
    const QString authorStart = toQString(kAuthorOpen).trimmed();
    const ForumImport cancelled{std::nullopt, QString(), true};
    Lines lines(text_, 0, 0, text_.size() + 1);
    Line line;

    // The title line: the first that is not blank; its indentation is the
    // whole text's.
    bool found = false;
    while (!found && lines.next(line))
        found = !text_.mid(line.start, line.end - line.start).trimmed().isEmpty();
    if (!found)
        return refused(0, expectedTitle(), toQString(messages::kImportOnlyEmptyLines));
    const QStringView raw = text_.mid(line.start, line.end - line.start);
    while (indent_ < raw.size() && isBlank(raw[indent_]))
        ++indent_;
    const Line titleLine = line;
    if (!content(titleLine).startsWith(toQString(kTitleOpen), Qt::CaseInsensitive))
        return refused(titleLine.number, expectedTitle(), startOf(content(titleLine)));

    // Up to the first heading: the title's lines, then the author's. The
    // author line is the last that starts as one right after a line that
    // ends the title, so that a title or an author holding such lines
    // comes back as it was.
    Line previous = titleLine;  // the last line that is not blank
    std::optional<Line> authorLine;
    Line titleEnd;
    std::optional<Line> unclosedTitle;  // an author line after a line that does not end the title
    std::optional<std::size_t> heading;
    while (!heading && lines.next(line)) {
        if (stopped(line))
            return cancelled;
        const QStringView c = content(line);
        heading = headingAt(c);
        if (heading || c.trimmed().isEmpty())
            continue;
        if (c.startsWith(authorStart, Qt::CaseInsensitive)) {
            if (endsWithTag(content(previous), kTitleClose)) {
                authorLine = line;
                titleEnd = previous;
            } else if (!unclosedTitle) {
                unclosedTitle = line;
            }
        }
        previous = line;
    }
    if (!authorLine) {
        if (unclosedTitle) {
            return refused(unclosedTitle->number, expectedAuthor(),
                           toQString(messages::kImportTitleNotClosed).arg(toQString(kTitleClose)));
        }
        return refused(std::min(titleLine.number + 2, line.number), expectedAuthor(),
                       toQString(messages::kImportNoAuthorLine).arg(table.list.front().name, authorStart));
    }
    if (!heading)
        return refused(line.number, expectedHeading(0), toQString(messages::kImportTextEnds));
    if (!endsWithTag(content(previous), kAuthorClose))
        return refused(previous.number, expectedAuthor(),
                       toQString(messages::kImportLineNotClosed).arg(toQString(kAuthorClose)));

    ArticleDocument doc;
    QString title = linesText(titleLine.start, titleLine.number, titleEnd.start + 1, false);
    title.truncate(withoutTrailingBlanks(title).size() - qsizetype(kTitleClose.size()));
    doc.fields[kTitleField] = title.mid(qsizetype(kTitleOpen.size()));
    QString author = linesText(authorLine->start, authorLine->number, previous.start + 1, false);
    author.truncate(withoutTrailingBlanks(author).size() - qsizetype(kAuthorClose.size()));
    const qsizetype authorFrom = authorStart.size() + (author.size() > authorStart.size() && author[authorStart.size()] == u' ');
    doc.fields[kAuthorField] = author.mid(authorFrom);

    // The headings, in the order they stand; the links chapter ends the
    // search, as what follows it are link lines.
    struct Found {
        Line line;
        std::size_t heading;
    };
    std::vector<Found> headingsFound;
    QStringList missing;
    std::size_t next = 0;
    for (;;) {
        const std::size_t k = *heading;
        if (k < next)
            return refused(line.number, expectedHeading(next), toQString(messages::kImportOtherHeading).arg(table.list[k].name));
        for (; next < k; ++next) {
            if (table.list[next].chapter)
                return refused(line.number, expectedHeading(next),
                               toQString(messages::kImportOtherHeading).arg(table.list[k].name));
            missing << QStringLiteral("- ") + table.list[next].name;
        }
        headingsFound.push_back({line, k});
        if (++next == table.list.size())
            break;
        heading.reset();
        while (!heading && lines.next(line)) {
            if (stopped(line))
                return cancelled;
            heading = headingAt(content(line));
        }
        if (!heading)
            return refused(line.number, expectedHeading(next), toQString(messages::kImportTextEnds));
    }

    // Each text goes to the field of the heading above it; under a chapter
    // heading without text of its own, to the chapter's first section.
    for (std::size_t j = 0; j + 1 < headingsFound.size(); ++j) {
        if (control_.cancelled())
            return cancelled;
        const Found& at = headingsFound[j];
        const Found& below = headingsFound[j + 1];
        const Heading& h = table.list[at.heading];
        if (below.line.number == at.line.number + 1 && !h.ownsText)
            continue;
        Lines after(text_, at.line.start, at.line.number, at.line.start + 1);
        Line headingLine;
        after.next(headingLine);
        const QString piece = linesText(after.position(), at.line.number + 1, below.line.start, true);
        QString& field = doc.fields[h.field];
        field = field.isEmpty() ? piece : field + kLineEnd + piece;
    }

    while (lines.next(line)) {
        if (stopped(line))
            return cancelled;
        const QStringView c = content(line).trimmed();
        if (c.isEmpty())
            continue;
        if (const std::optional<LinkCodeParts> code = readLinkCode(c))
            doc.links << makeLinkLine(code->text, code->address);
        else
            doc.links << makeLinkLine(QString(), c.toString());
        if (doc.links.size() > kMaxLinkLines)
            break;
    }
    if (doc.links.size() > kMaxLinkLines) {
        return {std::nullopt,
                toQString(messages::kImportTooManyLinks).arg(dutchNumber(doc.links.size())).arg(dutchNumber(kMaxLinkLines)),
                false};
    }
    control_.report(1, 1);
    const QString message = missing.isEmpty()
        ? QString()
        : toQString(messages::kImportMissingHeadings).arg(missing.join(QLatin1Char('\n')));
    return {std::move(doc), message, false};
}

// lone, when given, tells whether a lone surrogate was there.
QString utf16Text(QByteArrayView bytes, QStringConverter::Encoding encoding, bool* lone = nullptr)
{
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    // A lone surrogate is no character: shown, and saved, as U+FFFD.
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
        } else if (text[i].isSurrogate()) {
            text[i] = QChar::ReplacementCharacter;
            if (lone)
                *lone = true;
        }
    }
    return text;
}

// UTF-16 without its mark, when the bytes read so give a plausible text:
// no lone surrogate, and hardly a character that is private or unassigned
// (bytes of any other kind, read in pairs, give many).
std::optional<QString> unmarkedUtf16Text(QByteArrayView bytes, QStringConverter::Encoding encoding)
{
    bool lone = false;
    QString text = utf16Text(bytes, encoding, &lone);
    if (lone)
        return std::nullopt;
    qsizetype odd = 0;
    for (const QChar c : text) {
        const QChar::Category category = c.category();
        if (category == QChar::Other_PrivateUse || category == QChar::Other_NotAssigned)
            ++odd;
    }
    if (odd * 100 > text.size())
        return std::nullopt;
    return text;
}

// A text of letters: no NUL, and hardly a control character besides tabs,
// line ends and page breaks.
bool looksLikeText(const QString& text)
{
    qsizetype controls = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == 0)
            return false;
        // C0 but tab, line ends and page breaks; DEL; C1.
        if ((u < 0x20 && (u < u'\t' || u > u'\r')) || (u >= 0x7F && u <= 0x9F))
            ++controls;
    }
    return controls * 100 <= text.size();
}

}  // namespace

ForumImport importForumText(const QString& text, const TaskControl& control)
{
    return Importer(text, control).run();
}

std::optional<QString> forumTextOfBytes(QByteArrayView bytes)
{
    std::optional<QString> text;
    if (bytes.startsWith(kUtf8ByteOrderMark)) {
        const QByteArrayView rest = bytes.sliced(kUtf8ByteOrderMark.size());
        text = decodeUtf8(rest);
        if (!text)
            text = decodeWindows1252(rest);
    } else if (bytes.startsWith("\xFF\xFE")) {
        text = utf16Text(bytes.sliced(2), QStringConverter::Utf16LE);
    } else if (bytes.startsWith("\xFE\xFF")) {
        text = utf16Text(bytes.sliced(2), QStringConverter::Utf16BE);
    } else if (bytes.contains('\0')) {
        // UTF-16 without its mark (Notepad's "Unicode" can write one): a
        // Latin text has its zero bytes all on one side of its units.
        qsizetype even = 0;
        qsizetype odd = 0;
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\0')
                ++(i % 2 == 0 ? even : odd);
        }
        if (bytes.size() % 2 == 0 && odd != even)
            text = unmarkedUtf16Text(bytes, odd > even ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
    } else {
        text = decodeUtf8(bytes);
        if (!text)
            text = decodeWindows1252(bytes);
    }
    if (!text || !looksLikeText(*text))
        return std::nullopt;
    return text;
}

ForumImport importForumFile(const QString& path, const TaskControl& control)
{
    const auto failed = [](const QString& message) {
        return ForumImport{std::nullopt, message + toQString(messages::kNothingChanged), false};
    };
    PlainFileRead read = ReadPlainFile(path, kMaxDocumentFileBytes);
    if (!read.ok())
        return failed(read.message(path));
    if (read.bytes.isEmpty())
        return failed(toQString(messages::kFileEmpty).arg(quotedPath(path)));
    std::optional<QString> text = forumTextOfBytes(read.bytes);
    read.bytes = QByteArray();  // the text alone from here on
    if (!text)
        return {std::nullopt, toQString(messages::kImportNoText).arg(quotedPath(path)), false};
    return importForumText(*text, control);
}

}  // namespace vinkring

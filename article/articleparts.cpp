#include "article/articleparts.h"

#include <algorithm>

#include "model/texts.h"

namespace vinkring {

namespace {

// A heading of the template as the forum shows it, without the blank the
// template puts after some of them.
ForumLine headingLine(std::string_view heading)
{
    ForumLine line = readForumText(toQString(heading)).lines.value(0);
    while (!line.runs.isEmpty() && line.runs.back().text.trimmed().isEmpty())
        line.runs.removeLast();
    return line;
}

// The lines with a style added to every run; runs that then look alike are
// one.
QList<ForumLine> withStyle(QList<ForumLine> lines, quint8 style)
{
    for (ForumLine& line : lines) {
        QList<ForumRun> runs;
        for (ForumRun& run : line.runs) {
            run.styles |= style;
            if (!runs.isEmpty() && runs.back().styles == run.styles && runs.back().link == run.link)
                runs.back().text += run.text;
            else
                runs.push_back(std::move(run));
        }
        line.runs = std::move(runs);
    }
    return lines;
}

bool hasText(const ArticlePart& part)
{
    return std::any_of(part.lines.cbegin(), part.lines.cend(),
                       [](const ForumLine& line) { return !plainText(line).trimmed().isEmpty(); });
}

bool hasRuns(const QList<ForumLine>& lines)
{
    return std::any_of(lines.cbegin(), lines.cend(), [](const ForumLine& line) { return !line.runs.isEmpty(); });
}

class ArticleReader {
public:
    ArticleReader(const ArticleDocument& doc, const TaskControl& control) : doc_(doc), control_(control) {}

    ArticleReading read()
    {
        // As the forum shows them: the title in bold, the author line in italics.
        add(PartKind::Title, withStyle(readField(kTitleField).lines, kBold), kTitleField);
        QList<ForumLine> author = readField(kAuthorField).lines;
        if (author.isEmpty())
            author.push_back({});
        author.front().runs.prepend({authorWords(), 0, QString()});
        add(PartKind::Author, withStyle(std::move(author), kItalic), kAuthorField);

        for (std::size_t i = kFirstSectionField; i < kFieldCount; ++i) {
            if (control_.cancelled())
                return {{}, {}, true};
            const FieldInfo& field = kFields[i];
            if (!field.chapterHeading.empty())
                add(PartKind::Chapter, {headingLine(field.chapterHeading)}, i);
            if (!field.sectionHeading.empty())
                add(PartKind::Section, {headingLine(field.sectionHeading)}, i);
            add(PartKind::Text, readField(i).lines, i);
        }

        add(PartKind::Chapter, {headingLine(kLinksChapterHeading)}, kFieldCount);
        for (qsizetype i = 0; i < doc_.links.size(); ++i)
            readLink(i);
        return std::move(reading_);
    }

private:
    void add(PartKind kind, QList<ForumLine> lines, std::size_t field, qsizetype link = -1)
    {
        reading_.parts.push_back({kind, std::move(lines), field, link});
    }

    ForumReading readField(std::size_t field)
    {
        ForumReading read = readForumText(doc_.fields[field]);
        for (const MarkupFinding& finding : read.findings)
            reading_.findings.push_back({{DocumentPlace::Kind::Field, qsizetype(field)}, finding});
        return read;
    }

    // The findings: the line's code as BuildArticle writes it, read as the
    // forum reads the post, with their places taken back to the line. The
    // part: the line's description read as forum text (its tags are the
    // forum's), linked to its address as a browser reads it; both taken
    // from the line, not from the code, which an address holding "]" cuts
    // short.
    void readLink(qsizetype index)
    {
        const QString& line = doc_.links.at(index);
        qsizetype descriptionAt = 0;
        qsizetype addressAt = 0;
        const std::optional<LinkCodeParts> link = linkOfLine(line, &descriptionAt, &addressAt);
        if (!link)
            return;
        const ForumReading posted = readForumText(linkCode(link->address, link->text));
        const qsizetype textStart = kLinkOpen.size() + link->address.size() + 1;
        for (MarkupFinding finding : posted.findings) {
            if (!link->text.isEmpty() && finding.offset >= textStart
                && finding.offset < textStart + link->text.size()) {
                finding.offset = descriptionAt + finding.offset - textStart;
            } else {
                finding.offset = addressAt;
                finding.length = link->address.size();
            }
            reading_.findings.push_back({{DocumentPlace::Kind::Link, index}, finding});
        }

        const QString target = linkTarget(link->address);
        QList<ForumLine> lines;
        if (link->text.isEmpty()) {
            if (!link->address.isEmpty())
                lines.push_back({0, {{link->address, 0, target}}});
        } else {
            lines = readForumText(link->text).lines;
            for (ForumLine& each : lines) {
                QList<ForumRun> runs;
                for (ForumRun& run : each.runs) {
                    run.link = target;
                    if (!runs.isEmpty() && runs.back().styles == run.styles)
                        runs.back().text += run.text;
                    else
                        runs.push_back(std::move(run));
                }
                each.runs = std::move(runs);
            }
        }
        if (hasRuns(lines))
            add(PartKind::Link, std::move(lines), kFieldCount, index);
    }

    const ArticleDocument& doc_;
    const TaskControl& control_;
    ArticleReading reading_;
};

// Leaves out each section without text, and each chapter left without a
// section, a text or a link.
QList<ArticlePart> withoutEmpty(const QList<ArticlePart>& parts)
{
    QList<ArticlePart> kept;
    qsizetype chapter = -1;  // where the open chapter's heading stands in kept
    bool chapterHasContent = false;
    const auto closeChapter = [&] {
        if (chapter >= 0 && !chapterHasContent)
            kept.remove(chapter, kept.size() - chapter);
    };
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const ArticlePart& part = parts[i];
        if (part.kind == PartKind::Chapter) {
            closeChapter();
            chapter = kept.size();
            chapterHasContent = false;
            kept.push_back(part);
        } else if (part.kind == PartKind::Section) {
            // A section and its text go together.
            if (i + 1 < parts.size() && hasText(parts[i + 1])) {
                kept.push_back(part);
                kept.push_back(parts[i + 1]);
                chapterHasContent = true;
            }
            ++i;
        } else if (part.kind == PartKind::Text || part.kind == PartKind::Link) {
            if (hasText(part)) {
                kept.push_back(part);
                chapterHasContent = true;
            }
        } else {
            kept.push_back(part);
        }
    }
    closeChapter();
    return kept;
}

}  // namespace

ArticleReading readArticle(const ArticleDocument& doc, EmptySections empty, const TaskControl& control)
{
    ArticleReading reading = ArticleReader(doc, control).read();
    if (reading.cancelled || empty == EmptySections::Kept)
        return reading;
    const bool anySection = std::any_of(reading.parts.cbegin(), reading.parts.cend(), [](const ArticlePart& part) {
        return part.kind == PartKind::Text && hasText(part);
    });
    if (anySection)
        reading.parts = withoutEmpty(reading.parts);
    return reading;
}

QList<ArticlePart> readArticleParts(const ArticleDocument& doc, EmptySections empty)
{
    return readArticle(doc, empty).parts;
}

QList<ArticlePart> withoutEmptyTitleAndAuthor(QList<ArticlePart> parts)
{
    parts.removeIf([](const ArticlePart& part) {
        if (part.kind == PartKind::Title)
            return !hasText(part);
        if (part.kind != PartKind::Author)
            return false;
        QString text;
        for (const ForumLine& line : part.lines)
            text += plainText(line);
        return text.sliced(std::min(text.size(), authorWords().size())).trimmed().isEmpty();
    });
    return parts;
}

QString plainText(const ForumLine& line)
{
    QString text;
    for (const ForumRun& run : line.runs)
        text += run.text;
    return text;
}

quint8 headingStyles(PartKind kind)
{
    switch (kind) {
    case PartKind::Title:
    case PartKind::Chapter:
        return kBold;
    case PartKind::Section:
        return kUnderline;
    default:
        return 0;
    }
}

QString documentTitle(const QList<ArticlePart>& parts)
{
    QStringList lines;
    for (const ArticlePart& part : parts) {
        if (part.kind != PartKind::Title)
            continue;
        for (const ForumLine& line : part.lines)
            lines << plainText(line).simplified();
    }
    return lines.join(QLatin1Char(' ')).simplified();
}

QString withoutControls(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += c;
            out += text[++i];
        } else if (c.isSurrogate() || (c.category() == QChar::Other_Control && c != u'\t') || c.unicode() == 0xFFFE
                   || c.unicode() == 0xFFFF) {
            out += QChar(QChar::ReplacementCharacter);
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace vinkring

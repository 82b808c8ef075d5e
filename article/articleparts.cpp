#include "article/articleparts.h"

#include <algorithm>

#include "article/articlebuilder.h"
#include "model/texts.h"

namespace vinkring {

namespace {

constexpr qsizetype kLineBreak = 2;  // CR LF in the Forum flavour

class PartReader {
public:
    explicit PartReader(const ArticleDocument& doc)
        : text_(BuildArticle(doc, ArticleFlavour::Forum, &at_)), lines_(parseForumPost(text_))
    {
    }

    QList<ArticlePart> read()
    {
        QList<ArticlePart> parts;
        parts.push_back({PartKind::Title, linesIn(0, at_.fieldStart[kAuthorField] - kLineBreak)});
        parts.push_back({PartKind::Author, linesIn(at_.fieldStart[kAuthorField], at_.fieldStart[kFirstSectionField] - kLineBreak)});
        for (std::size_t i = kFirstSectionField; i < kFieldCount; ++i) {
            const FieldInfo& field = kFields[i];
            qsizetype at = at_.fieldStart[i];
            if (!field.chapterHeading.empty()) {
                parts.push_back({PartKind::Chapter, headingLine(at)});
                at += qsizetype(toQString(field.chapterHeading).size()) + kLineBreak;
            }
            if (!field.sectionHeading.empty()) {
                parts.push_back({PartKind::Section, linesIn(at, at + 1)});
                at += qsizetype(toQString(field.sectionHeading).size()) + kLineBreak;
            }
            const qsizetype end = i + 1 < kFieldCount ? at_.fieldStart[i + 1] : at_.linksStart;
            parts.push_back({PartKind::Text, linesIn(at, end - kLineBreak)});
        }
        parts.push_back({PartKind::Chapter, headingLine(at_.linksStart)});
        for (const ForumLine& line : linesIn(at_.linksStart + 1, text_.size() + 1)) {
            if (!line.runs.isEmpty())
                parts.push_back({PartKind::Link, {line}});
        }
        return parts;
    }

private:
    // A chapter heading's line without the blank the template puts after
    // some of them.
    QList<ForumLine> headingLine(qsizetype at) const
    {
        QList<ForumLine> lines = linesIn(at, at + 1);
        for (ForumLine& line : lines) {
            while (!line.runs.isEmpty() && line.runs.back().text.trimmed().isEmpty())
                line.runs.removeLast();
        }
        return lines;
    }

    // The lines that start at or after from and before to.
    QList<ForumLine> linesIn(qsizetype from, qsizetype to) const
    {
        const auto bySource = [](const ForumLine& line, qsizetype at) { return line.source < at; };
        const auto first = std::lower_bound(lines_.cbegin(), lines_.cend(), from, bySource);
        const auto last = std::lower_bound(first, lines_.cend(), to, bySource);
        return QList<ForumLine>(first, last);
    }

    ArticleOutline at_;
    QString text_;
    QList<ForumLine> lines_;
};

bool hasText(const ArticlePart& part)
{
    for (const ForumLine& line : part.lines) {
        if (!plainText(line).trimmed().isEmpty())
            return true;
    }
    return false;
}

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

QList<ArticlePart> readArticleParts(const ArticleDocument& doc, EmptySections empty)
{
    QList<ArticlePart> parts = PartReader(doc).read();
    if (empty == EmptySections::Kept)
        return parts;
    const bool anySection = std::any_of(parts.cbegin(), parts.cend(), [](const ArticlePart& part) {
        return part.kind == PartKind::Text && hasText(part);
    });
    return anySection ? withoutEmpty(parts) : parts;
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

}  // namespace vinkring

#include "article/forumimport.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>

#include "document/documentfile.h"
#include "document/durablefile.h"
#include "document/windows1252.h"
#include "model/linkentry.h"
#include "model/texts.h"

namespace vinkring {

namespace {

const QString kTitleOpen = QStringLiteral("<b>");
const QString kTitleClose = QStringLiteral("</b>");
const QString kAuthorOpen = QStringLiteral("<i>Geschreven door: ");
const QString kAuthorClose = QStringLiteral("</i>");
const QString kLineEnd = QStringLiteral("\r\n");

// A heading of the template, in the order the article has them.
struct Heading {
    QString line;       // as the article writes it, without blanks at its end
    std::size_t field;  // the field whose text follows it
    bool chapter;
    bool ownsText;      // a section heading, or the chapter heading of the conclusion
};

QString withoutTrailingBlanks(QStringView line)
{
    qsizetype end = line.size();
    while (end > 0 && (line[end - 1] == u' ' || line[end - 1] == u'\t'))
        --end;
    return line.first(end).toString();
}

const std::vector<Heading>& headings()
{
    static const std::vector<Heading> list = [] {
        std::vector<Heading> made;
        for (std::size_t i = kFirstSectionField; i < kFieldCount; ++i) {
            const FieldInfo& field = kFields[i];
            if (!field.chapterHeading.empty())
                made.push_back({withoutTrailingBlanks(toQString(field.chapterHeading)), i, true, field.sectionHeading.empty()});
            if (!field.sectionHeading.empty())
                made.push_back({withoutTrailingBlanks(toQString(field.sectionHeading)), i, false, true});
        }
        made.push_back({withoutTrailingBlanks(toQString(kLinksChapterHeading)), kFieldCount, true, false});
        return made;
    }();
    return list;
}

// The heading as the writer reads it: "3. Gedrag".
QString headingName(const Heading& heading)
{
    static const QRegularExpression tags(QStringLiteral("</?[bu]>"));
    return QString(heading.line).remove(tags).trimmed();
}

ForumImport refused(qsizetype line, const QString& expected)
{
    return {std::nullopt, toQString(messages::kImportRefused).arg(line + 1).arg(expected)};
}

ForumImport refusedHeading(qsizetype line, const Heading& heading)
{
    return refused(line, toQString(messages::kImportExpectedHeading).arg(headingName(heading)));
}

// The text of lines [from, to): the paragraph break's empty line at its end
// is no part of it.
QString textOf(const QStringList& lines, qsizetype from, qsizetype to)
{
    if (to > from && withoutTrailingBlanks(lines[to - 1]).isEmpty())
        --to;
    return lines.mid(from, to - from).join(kLineEnd);
}

// "[URL=address]text[/URL]" or "[URL]address[/URL]" as the links editor's
// line; any other line as a link of that address.
QString linkLine(const QString& line)
{
    static const QRegularExpression described(QStringLiteral("^\\[url=([^\\]]*)\\](.*)\\[/url\\]$"),
                                              QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression bare(QStringLiteral("^\\[url\\](.*)\\[/url\\]$"),
                                         QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch match = described.match(line); match.hasMatch())
        return makeLinkLine(match.captured(2), match.captured(1));
    if (const QRegularExpressionMatch match = bare.match(line); match.hasMatch())
        return makeLinkLine(QString(), match.captured(1));
    return makeLinkLine(QString(), line.trimmed());
}

}  // namespace

ForumImport importForumText(const QString& text)
{
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    const QStringList lines = text.split(lineEnd);
    const std::vector<Heading>& expected = headings();
    QHash<QString, std::size_t> headingAt;
    for (std::size_t k = 0; k < expected.size(); ++k)
        headingAt.insert(expected[k].line, k);

    // The title line, its empty line, the author line and its empty line.
    qsizetype titleLine = 0;
    while (titleLine < lines.size() && lines[titleLine].trimmed().isEmpty())
        ++titleLine;
    if (titleLine == lines.size() || !lines[titleLine].startsWith(kTitleOpen))
        return refused(std::min(titleLine, lines.size() - 1), toQString(messages::kImportExpectedTitle));
    qsizetype authorLine = titleLine + 1;
    while (authorLine < lines.size() && !lines[authorLine].startsWith(kAuthorOpen.trimmed())
           && !headingAt.contains(withoutTrailingBlanks(lines[authorLine])))
        ++authorLine;
    if (authorLine == lines.size() || !lines[authorLine].startsWith(kAuthorOpen.trimmed()))
        return refused(std::min(titleLine + 2, lines.size() - 1), toQString(messages::kImportExpectedAuthor));

    // The headings found, in the order they stand; the links chapter ends
    // the search, as what follows it are link lines.
    std::vector<std::pair<qsizetype, std::size_t>> found;  // line, heading
    QStringList missing;
    std::size_t next = 0;
    qsizetype line = authorLine + 1;
    for (; line < lines.size() && next < expected.size(); ++line) {
        const auto it = headingAt.constFind(withoutTrailingBlanks(lines[line]));
        if (it == headingAt.cend())
            continue;
        const std::size_t k = *it;
        if (k < next)
            return refusedHeading(line, expected[next]);
        for (; next < k; ++next) {
            if (expected[next].chapter)
                return refusedHeading(line, expected[next]);
            missing << QStringLiteral("- ") + headingName(expected[next]);
        }
        found.push_back({line, k});
        ++next;
    }
    if (next < expected.size())
        return refusedHeading(lines.size() - 1, expected[next]);
    const qsizetype linksLine = line;  // after the links chapter's heading

    ArticleDocument doc;
    QString title = textOf(lines, titleLine, authorLine);
    if (!withoutTrailingBlanks(title).endsWith(kTitleClose))
        return refused(authorLine - 1, toQString(messages::kImportExpectedTitle));
    title = withoutTrailingBlanks(title);
    doc.fields[kTitleField] = title.mid(kTitleOpen.size(), title.size() - kTitleOpen.size() - kTitleClose.size());
    QString author = withoutTrailingBlanks(textOf(lines, authorLine, found.front().first));
    if (!author.endsWith(kAuthorClose))
        return refused(found.front().first - 1, toQString(messages::kImportExpectedAuthor));
    author.chop(kAuthorClose.size());
    doc.fields[kAuthorField] = author.mid(kAuthorOpen.size());

    // Each text goes to the field of the heading above it; under a chapter
    // heading without text of its own, to the chapter's first section.
    for (std::size_t j = 0; j + 1 < found.size(); ++j) {
        const auto [from, k] = found[j];
        const qsizetype to = found[j + 1].first;
        if (to == from + 1 && !expected[k].ownsText)
            continue;
        QString& field = doc.fields[expected[k].field];
        const QString piece = textOf(lines, from + 1, to);
        field = field.isEmpty() ? piece : field + kLineEnd + piece;
    }

    for (qsizetype i = linksLine; i < lines.size(); ++i) {
        if (!lines[i].trimmed().isEmpty())
            doc.links << linkLine(withoutTrailingBlanks(lines[i]));
    }
    if (doc.links.size() > kMaxLinkLines) {
        return {std::nullopt,
                toQString(messages::kImportTooManyLinks).arg(dutchNumber(doc.links.size())).arg(dutchNumber(kMaxLinkLines))};
    }
    const QString message = missing.isEmpty() ? QString() : toQString(messages::kImportMissingHeadings).arg(missing.join(QLatin1Char('\n')));
    return {std::move(doc), message};
}

ForumImport importForumFile(const QString& path)
{
    const auto failed = [](const QString& message) { return ForumImport{std::nullopt, message + toQString(messages::kNothingChanged)}; };
    const QFileInfo info(path);
    if (!info.exists())
        return failed(toQString(messages::kFileMissing).arg(quotedPath(path)));
    if (info.isDir())
        return failed(toQString(messages::kFileIsFolder).arg(quotedPath(path)));
    if (info.size() > kMaxDocumentFileBytes)
        return failed(toQString(messages::kFileTooLarge).arg(quotedPath(path)).arg(info.size() / (1024 * 1024)));
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly))
        return failed(toQString(messages::kFileUnreadable).arg(quotedPath(path), failureReason(file.error(), errno)));
    errno = 0;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failed(toQString(messages::kFileUnreadable).arg(quotedPath(path), failureReason(file.error(), errno)));
    if (bytes.isEmpty())
        return failed(toQString(messages::kFileEmpty).arg(quotedPath(path)));
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    const std::optional<QString> utf8 = decodeUtf8(bytes);
    return importForumText(utf8 ? *utf8 : decodeWindows1252(bytes));
}

}  // namespace vinkring

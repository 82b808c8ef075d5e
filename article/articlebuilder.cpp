#include "article/articlebuilder.h"

#include "model/linkentry.h"
#include "model/texts.h"

namespace vinkring {

namespace {

// One line of the links chapter: an anchor or [URL=] code with its
// description, the bare URL without one.
void appendLink(QString& out, const QString& line, bool html)
{
    const LinkPieces pieces = splitLinkLine(line);
    const QString description = trimSpaces(pieces.description);
    QString url = trimSpaces(pieces.url);
    QString text = description;
    if (!pieces.hasComma) {
        // Only a file written elsewhere holds such a line: a URL-only link
        // of its text, and nothing at all for a blank line.
        if (description.isEmpty())
            return;
        url = description;
        text.clear();
    }
    if (text.isEmpty())
        out += html ? url + QStringLiteral("<br/>") : QStringLiteral("[URL]") + url + QStringLiteral("[/URL]\r\n");
    else if (html)
        out += QStringLiteral("<a href=\"") + url + QStringLiteral("\">") + text + QStringLiteral("</a><br/>");
    else
        out += QStringLiteral("[URL=") + url + QLatin1Char(']') + text + QStringLiteral("[/URL]\r\n");
}

qsizetype expectedSize(const ArticleDocument& doc)
{
    qsizetype size = 4096;
    for (const QString& text : doc.fields)
        size += text.size();
    for (const QString& line : doc.links)
        size += line.size() + 32;
    return size;
}

}  // namespace

QString BuildArticle(const ArticleDocument& doc, ArticleFlavour flavour, ArticleOutline* outline)
{
    ArticleOutline ignored;
    ArticleOutline& at = outline ? *outline : ignored;
    const bool html = flavour == ArticleFlavour::Html;
    const QString lineBreak = html ? QStringLiteral("<br/>") : QStringLiteral("\r\n");
    const QString paragraphBreak = lineBreak + lineBreak;

    QString out;
    out.reserve(expectedSize(doc));

    at.fieldStart[kTitleField] = 0;
    out += QStringLiteral("<b>");
    at.textStart[kTitleField] = out.size();
    out += doc.fields[kTitleField] + QStringLiteral("</b>") + paragraphBreak;
    at.fieldStart[kAuthorField] = out.size();
    out += QStringLiteral("<i>Geschreven door: ");
    at.textStart[kAuthorField] = out.size();
    out += doc.fields[kAuthorField] + QStringLiteral("</i>") + paragraphBreak;

    for (std::size_t i = kFirstSectionField; i < kFields.size(); ++i) {
        const FieldInfo& entry = kFields[i];
        at.fieldStart[i] = out.size();
        if (!entry.chapterHeading.empty())
            out += toQString(entry.chapterHeading) + lineBreak;
        if (!entry.sectionHeading.empty())
            out += toQString(entry.sectionHeading) + lineBreak;
        at.textStart[i] = out.size();
        out += doc.fields[i];
        out += paragraphBreak;
    }

    at.linksStart = out.size();
    out += toQString(kLinksChapterHeading) + lineBreak;
    for (const QString& line : doc.links)
        appendLink(out, line, html);
    return out;
}

}  // namespace vinkring

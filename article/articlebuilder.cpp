#include "article/articlebuilder.h"

#include "model/linkentry.h"
#include "model/texts.h"

namespace vinkring {

QString BuildArticle(const ArticleDocument& doc, ArticleFlavour flavour, ArticleOutline* outline)
{
    ArticleOutline ignored;
    ArticleOutline& at = outline ? *outline : ignored;
    const bool html = flavour == ArticleFlavour::Html;
    const QString lineBreak = html ? QStringLiteral("<br/>") : QStringLiteral("\r\n");
    const QString paragraphBreak = lineBreak + lineBreak;

    qsizetype size = 4096;
    for (const QString& text : doc.fields)
        size += text.size();
    for (const QString& line : doc.links)
        size += line.size() + 32;
    QString out;
    out.reserve(size);

    at.fieldStart[kTitleField] = 0;
    out += QStringLiteral("<b>") + doc.fields[kTitleField] + QStringLiteral("</b>") + paragraphBreak;
    at.fieldStart[kAuthorField] = out.size();
    out += QStringLiteral("<i>Geschreven door: ") + doc.fields[kAuthorField] + QStringLiteral("</i>") + paragraphBreak;

    for (std::size_t i = kFirstSectionField; i < kFields.size(); ++i) {
        const FieldInfo& entry = kFields[i];
        at.fieldStart[i] = out.size();
        if (!entry.chapterHeading.empty()) {
            out += toQString(entry.chapterHeading);
            out += lineBreak;
        }
        if (!entry.sectionHeading.empty()) {
            out += toQString(entry.sectionHeading);
            out += lineBreak;
        }
        out += doc.fields[i];
        out += paragraphBreak;
    }

    at.linksStart = out.size();
    out += toQString(kLinksChapterHeading);
    out += lineBreak;

    for (const QString& line : doc.links) {
        const LinkPieces pieces = splitLinkLine(line);
        const QString description = trimSpaces(pieces.description);
        if (!pieces.hasComma) {
            // Only a file written elsewhere holds such a line: a URL-only link
            // of its text, and nothing at all for a blank line.
            if (description.isEmpty())
                continue;
            if (html)
                out += description + QStringLiteral("<br/>");
            else
                out += QStringLiteral("[URL]") + description + QStringLiteral("[/URL]\r\n");
            continue;
        }
        const QString url = trimSpaces(pieces.url);
        if (description.isEmpty()) {
            if (html)
                out += url + QStringLiteral("<br/>");
            else
                out += QStringLiteral("[URL]") + url + QStringLiteral("[/URL]\r\n");
        } else if (html) {
            out += QStringLiteral("<a href=\"") + url + QStringLiteral("\">") + description + QStringLiteral("</a><br/>");
        } else {
            out += QStringLiteral("[URL=") + url + QLatin1Char(']') + description + QStringLiteral("[/URL]\r\n");
        }
    }
    return out;
}

}  // namespace vinkring

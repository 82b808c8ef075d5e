#include "article/articlebuilder.h"

#include "article/forummarkup.h"
#include "model/texts.h"

namespace vinkring {

namespace {

// One line of the links chapter: an anchor or [URL=] code with its
// description, the bare URL without one.
void appendLink(QString& out, const QString& line, bool html)
{
    const std::optional<LinkCodeParts> link = linkOfLine(line);
    if (!link)
        return;
    if (!html)
        out += linkCode(link->address, link->text) + QStringLiteral("\r\n");
    else if (link->text.isEmpty())
        out += link->address + QStringLiteral("<br/>");
    else
        out += QStringLiteral("<a href=\"") + link->address + QStringLiteral("\">") + link->text + QStringLiteral("</a><br/>");
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
    out += toQString(kTitleOpen);
    at.textStart[kTitleField] = out.size();
    out += doc.fields[kTitleField] + toQString(kTitleClose) + paragraphBreak;
    at.fieldStart[kAuthorField] = out.size();
    out += toQString(kAuthorOpen);
    at.textStart[kAuthorField] = out.size();
    out += doc.fields[kAuthorField] + toQString(kAuthorClose) + paragraphBreak;

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
    at.linkStart.resize(doc.links.size());
    for (qsizetype i = 0; i < doc.links.size(); ++i) {
        const qsizetype before = out.size();
        appendLink(out, doc.links.at(i), html);
        at.linkStart[i] = out.size() > before ? before : -1;
    }
    return out;
}

}  // namespace vinkring

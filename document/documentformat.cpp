#include "document/documentformat.h"

namespace vinkring {

QString SerializeDocument(const ArticleDocument& doc)
{
    qsizetype size = qsizetype(kFieldCount) * kFieldMarker.size();
    for (const QString& text : doc.fields)
        size += text.size();
    for (const QString& line : doc.links)
        size += line.size() + kLinkMarker.size();

    QString out;
    out.reserve(size);
    for (const QString& text : doc.fields) {
        out += text;
        out += kFieldMarker;
    }
    for (qsizetype i = 0; i < doc.links.size(); ++i) {
        if (i > 0)
            out += kLinkMarker;
        out += doc.links.at(i);
    }
    return out;
}

std::optional<ArticleDocument> ParseDocument(const QString& text)
{
    const QStringView view(text);
    ArticleDocument doc;
    qsizetype from = 0;
    for (QString& field : doc.fields) {
        const qsizetype at = view.indexOf(kFieldMarker, from);
        if (at < 0)
            return std::nullopt;
        field = view.sliced(from, at - from).toString();
        from = at + kFieldMarker.size();
    }

    // The links part runs to the next field marker; anything after it is not used.
    qsizetype end = view.indexOf(kFieldMarker, from);
    if (end < 0)
        end = view.size();
    const QStringView links = view.sliced(from, end - from);
    if (links.isEmpty())
        return doc;
    qsizetype start = 0;
    for (;;) {
        const qsizetype at = links.indexOf(kLinkMarker, start);
        if (at < 0) {
            doc.links.append(links.sliced(start).toString());
            break;
        }
        doc.links.append(links.sliced(start, at - start).toString());
        start = at + kLinkMarker.size();
    }
    return doc;
}

}  // namespace vinkring

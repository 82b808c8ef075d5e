#include "document/documentformat.h"

#include "document/windows1252.h"

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

namespace {

// Takes a document apart at its markers. View is the text as characters
// (QStringView) or as the file's Windows-1252 bytes (QByteArrayView); piece
// turns a part of it into a text.
template <typename View, typename Piece>
std::optional<ArticleDocument> takeApart(View view, View fieldMarker, View linkMarker, Piece piece)
{
    ArticleDocument doc;
    qsizetype from = 0;
    for (QString& field : doc.fields) {
        const qsizetype at = view.indexOf(fieldMarker, from);
        if (at < 0)
            return std::nullopt;
        field = piece(view.sliced(from, at - from));
        from = at + fieldMarker.size();
    }

    // The links part runs to the next field marker; anything after it is not used.
    qsizetype end = view.indexOf(fieldMarker, from);
    if (end < 0)
        end = view.size();
    const View links = view.sliced(from, end - from);
    if (links.isEmpty())
        return doc;
    qsizetype start = 0;
    for (;;) {
        const qsizetype at = links.indexOf(linkMarker, start);
        if (at < 0) {
            doc.links.append(piece(links.sliced(start)));
            break;
        }
        doc.links.append(piece(links.sliced(start, at - start)));
        start = at + linkMarker.size();
    }
    return doc;
}

}  // namespace

std::optional<ArticleDocument> ParseDocument(const QString& text)
{
    return takeApart(QStringView(text), QStringView(kFieldMarker), QStringView(kLinkMarker),
                     [](QStringView part) { return part.toString(); });
}

std::optional<ArticleDocument> parseDocumentWindows1252(QByteArrayView bytes)
{
    return takeApart(bytes, kFieldMarkerBytes, kLinkMarkerBytes,
                     [](QByteArrayView part) { return decodeWindows1252(part); });
}

}  // namespace vinkring

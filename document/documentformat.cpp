#include "document/documentformat.h"

#include "document/windows1252.h"

#include <algorithm>

namespace vinkring {

namespace {

// The document's text, piece by piece, in order.
template <typename Piece>
void forEachPiece(const ArticleDocument& doc, Piece piece)
{
    for (const QString& text : doc.fields) {
        piece(QStringView(text));
        piece(QStringView(kFieldMarker));
    }
    for (qsizetype i = 0; i < doc.links.size(); ++i) {
        if (i > 0)
            piece(QStringView(kLinkMarker));
        piece(QStringView(doc.links.at(i)));
    }
}

qsizetype serializedSize(const ArticleDocument& doc)
{
    qsizetype size = 0;
    forEachPiece(doc, [&size](QStringView piece) { size += piece.size(); });
    return size;
}

}  // namespace

QString SerializeDocument(const ArticleDocument& doc)
{
    QString out;
    out.reserve(serializedSize(doc));
    forEachPiece(doc, [&out](QStringView piece) { out += piece; });
    return out;
}

void appendSerializedUtf8(QByteArray& out, const ArticleDocument& doc)
{
    // In short runs: the whole text at once would be held as characters and
    // as up to three bytes for each, six times the article.
    static constexpr qsizetype kRun = 64 * 1024;
    out.reserve(out.size() + serializedSize(doc));
    forEachPiece(doc, [&out](QStringView piece) {
        while (!piece.isEmpty()) {
            qsizetype run = std::min(piece.size(), kRun);
            // A pair of surrogates stays in one run.
            if (run < piece.size() && piece[run - 1].isHighSurrogate())
                --run;
            out += piece.first(run).toUtf8();
            piece = piece.sliced(run);
        }
    });
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

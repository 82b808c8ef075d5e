#pragma once
// The document string: the 27 field texts, each followed by the field
// marker, then the link lines joined by the link marker.

#include <optional>

#include <QByteArrayView>
#include <QString>

#include "model/articledocument.h"

namespace vinkring {

// The markers are ASCII: a file holds them as the same bytes in UTF-8 and in
// Windows-1252, so the bytes can be cut before they are decoded.
inline constexpr QByteArrayView kFieldMarkerBytes("<vbcrlf>");
inline constexpr QByteArrayView kLinkMarkerBytes("<ulrcrlf>");
inline const QString kFieldMarker = QString::fromLatin1(kFieldMarkerBytes);
inline const QString kLinkMarker = QString::fromLatin1(kLinkMarkerBytes);

QString SerializeDocument(const ArticleDocument& doc);
// Appends SerializeDocument(doc) in UTF-8 to out, without holding the text
// as characters first.
void appendSerializedUtf8(QByteArray& out, const ArticleDocument& doc);

// The document held by text, or nullopt when it holds fewer than 27 field
// markers and so is not a document.
std::optional<ArticleDocument> ParseDocument(const QString& text);

// ParseDocument on the text that bytes hold in Windows-1252, without decoding
// the whole text first: the markers are ASCII, which the code page keeps as
// it is, so the bytes are cut where the text would be and each piece is
// decoded on its own. Gives what ParseDocument(decodeWindows1252(bytes)) gives.
std::optional<ArticleDocument> parseDocumentWindows1252(QByteArrayView bytes);

}  // namespace vinkring

#pragma once
// The document string: the 27 field texts, each followed by the field
// marker, then the link lines joined by the link marker.

#include <optional>

#include <QString>

#include "app/articledocument.h"

namespace vinkring {

inline const QString kFieldMarker = QStringLiteral("<vbcrlf>");
inline const QString kLinkMarker = QStringLiteral("<ulrcrlf>");

QString SerializeDocument(const ArticleDocument& doc);

// The document held by text, or nullopt when it holds fewer than 27 field
// markers and so is not a document.
std::optional<ArticleDocument> ParseDocument(const QString& text);

}  // namespace vinkring

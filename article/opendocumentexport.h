#pragma once
// The export for word processors: an OpenDocument text package.

#include <optional>

#include <QByteArray>
#include <QList>
#include <QString>

#include "article/articleparts.h"

namespace vinkring {

// The package's bytes: the title as the document's title, the headings as
// real headings that keep with their next paragraph, the runs as character
// styles, the links as hyperlinks. nullopt, with the reason in failure, when
// the package could not be made.
std::optional<QByteArray> openDocumentBytes(const QList<ArticlePart>& parts, QString* failure);

}  // namespace vinkring

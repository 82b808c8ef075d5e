#pragma once
// Renders the article in the forum's fixed template.

#include <QString>

#include "model/articledocument.h"

namespace vinkring {

enum class ArticleFlavour : qint16 {
    Html = 0,   // lines end in "<br/>", links as anchors: the preview
    Forum = 1,  // lines end in CR LF, links as [URL] codes: the clipboard
};

// Reads only. Runs in time linear in the size of the document.
QString BuildArticle(const ArticleDocument& doc, ArticleFlavour flavour);

}  // namespace vinkring

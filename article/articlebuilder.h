#pragma once
// Renders the article in the forum's fixed template.

#include <array>

#include <QList>
#include <QString>

#include "model/articledocument.h"

namespace vinkring {

enum class ArticleFlavour : qint16 {
    Html = 0,   // lines end in "<br/>", links as anchors: the preview
    Forum = 1,  // lines end in CR LF, links as [URL] codes: the clipboard
};

// Where the parts of an article begin in its text: each field's part (its
// chapter heading, else its section heading; the title and author lines)
// and the links chapter.
struct ArticleOutline {
    std::array<qsizetype, kFieldCount> fieldStart{};
    std::array<qsizetype, kFieldCount> textStart{};  // where the field's own text begins
    qsizetype linksStart = 0;
    QList<qsizetype> linkStart;  // each link line's code; -1 for a line that makes none
};

// Reads only. Runs in time linear in the size of the document. Fills the
// outline when one is given.
QString BuildArticle(const ArticleDocument& doc, ArticleFlavour flavour, ArticleOutline* outline = nullptr);

}  // namespace vinkring

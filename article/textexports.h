#pragma once
// The exports written as text from the article's parts: a web page, a forum
// text with bracket codes only, and Markdown. Everything of the writer's
// that is no forum markup stays text in each.

#include <QList>
#include <QString>

#include "article/articleparts.h"

namespace vinkring {

// A whole HTML5 page, every character of the writer's escaped, links only
// to addresses a browser opens as typed.
QString webPage(const QList<ArticlePart>& parts);

// Markdown with every character it reads as markup escaped.
QString markdown(const QList<ArticlePart>& parts);

// The forum text's layout with the tags as [b] ... [/b] and the links as
// [URL=...]...[/URL], CR LF after each line; a "[b]" the writer typed is
// kept from being read as a code.
QString bracketCodes(const QList<ArticlePart>& parts);

}  // namespace vinkring

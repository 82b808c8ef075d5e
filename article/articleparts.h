#pragma once
// The article as the exports lay it out: its forum text read once, as the
// live view reads it, and cut into the title, the author line, the chapter
// and section headings, the section texts and the link lines.

#include <QList>
#include <QString>

#include "article/forumpost.h"
#include "model/articledocument.h"

namespace vinkring {

enum class PartKind { Title, Author, Chapter, Section, Text, Link };

struct ArticlePart {
    PartKind kind;
    QList<ForumLine> lines;  // a heading: its one line (the title: its lines)
};

// Whether the parts are a whole forum post (every heading, as the template
// has them) or a document to be read elsewhere, where sections without text
// are left out, and chapters left with nothing in them, unless every
// section is empty.
enum class EmptySections { Kept, LeftOut };

QList<ArticlePart> readArticleParts(const ArticleDocument& doc, EmptySections empty);

// The text a reader sees of a line, without its formatting.
QString plainText(const ForumLine& line);

// The styles a part's kind gives its heading line by itself (the <b> of a
// chapter heading), which a heading's own look replaces.
quint8 headingStyles(PartKind kind);

}  // namespace vinkring

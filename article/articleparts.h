#pragma once
// The article as the exports lay it out, read from the document's structure:
// the title, the author line, the chapter and section headings of the
// template, each section's text and each link line, every text read once
// and on its own (forummarkup.h), so that a tag left open ends with its
// section. The reading's findings say what the forum will show otherwise
// than the writer may think, with their places in the document.

#include <QList>
#include <QString>

#include "article/forummarkup.h"
#include "article/taskcontrol.h"
#include "document/documentfile.h"
#include "model/articledocument.h"

namespace vinkring {

enum class PartKind { Title, Author, Chapter, Section, Text, Link };

struct ArticlePart {
    PartKind kind;
    QList<ForumLine> lines;  // a heading: its one line (the title: its lines)
    // The field it is or heads (kFieldCount: the links chapter and its
    // lines); a link's line in the list.
    std::size_t field = kFieldCount;
    qsizetype link = -1;
};

// A finding at its place: the offset is in the field's text (CR LF line
// ends) or in the link line.
struct PlacedFinding {
    DocumentPlace place;
    MarkupFinding finding;
    friend bool operator==(const PlacedFinding&, const PlacedFinding&) = default;
};

struct ArticleReading {
    QList<ArticlePart> parts;
    QList<PlacedFinding> findings;  // in the document's order
    bool cancelled = false;         // the control asked to stop: no parts
};

// Whether the parts are a whole forum post (every heading, as the template
// has them) or a document to be read elsewhere, where sections without text
// are left out, and chapters left with nothing in them, unless every
// section is empty.
enum class EmptySections { Kept, LeftOut };

ArticleReading readArticle(const ArticleDocument& doc, EmptySections empty, const TaskControl& control = {});
QList<ArticlePart> readArticleParts(const ArticleDocument& doc, EmptySections empty);

// The parts without the title and the author line when they show nothing
// (the author line nothing after "Geschreven door:"), as an export for
// elsewhere leaves them out; the forum itself shows them.
QList<ArticlePart> withoutEmptyTitleAndAuthor(QList<ArticlePart> parts);

// The text a reader sees of a line, without its formatting.
QString plainText(const ForumLine& line);

// The styles a part's kind gives its heading line by itself (the <b> of a
// chapter heading), which a heading's own look replaces.
quint8 headingStyles(PartKind kind);

// The title as a document's title: its text on one line.
QString documentTitle(const QList<ArticlePart>& parts);

// text with each character that a web page or an XML file may not hold
// (control characters other than tab, lone surrogates, U+FFFE and U+FFFF)
// replaced by U+FFFD.
QString withoutControls(QStringView text);

}  // namespace vinkring

#pragma once
// The check of an article before it is posted, in the manner of a compiler's
// list of problems: what the forum will show otherwise than the writer may
// think, each finding at its place as the writer knows it, with what is
// wrong and what to do. The markup's findings are those of the one reading
// of forum text (articleparts.h); the rest is the template's and the links'.

#include <optional>

#include <QList>
#include <QString>

#include "document/documentfile.h"
#include "model/articledocument.h"

namespace vinkring {

enum class CheckKind : quint8 {
    // The markup, as the forum reads the post.
    TagNotClosed,
    TagNotOpened,
    TagsCrossed,
    LinkNotClosed,
    LinkNotOpenable,
    NotForumMarkup,
    // The template's parts.
    EmptySection,  // the post shows a bare heading
    EmptyTitle,
    EmptyAuthor,
    // A line of the links list.
    LinkWithoutDescription,
    LinkWithoutScheme,  // the forum makes a relative link of it
    LinkWithBlank,
    // The whole post.
    PostTooLong,
    UnknownWords,
};

struct CheckFinding {
    CheckKind kind;
    // The field or link line; none for the whole post and the spelling.
    std::optional<DocumentPlace> place;
    qsizetype offset = 0;  // in the field's text (CR LF line ends) or the link line
    qsizetype length = 0;
    QString where;  // "2.10 Nauw verwante soorten, varianten en kruisingen, regel 3"
    QString what;   // what is wrong, and what to do
    friend bool operator==(const CheckFinding&, const CheckFinding&) = default;
};

// What the check takes from beyond the document.
struct CheckContext {
    qsizetype postLimit = 0;     // of a forum post in characters; 0: none set
    qsizetype unknownWords = 0;  // that the spelling check does not know
};

// Of the article as a whole: an empty title or author, the post's size, the
// spelling.
bool isArticleWide(CheckKind kind);

// The findings of the article as a whole first (the title, the author, the
// post, the spelling), then the rest in the document's order: the sections,
// the links. The markup as the forum reads the whole post: a tag or link code
// left open in its section is told there, and what it does to the sections
// after it, at their places.
QList<CheckFinding> checkArticle(const ArticleDocument& doc, const CheckContext& context = {});

// While the markup has findings, what the note after "Klembord" or an export
// adds: "Let op: 2 open tags — Beeld > Artikel controleren"; else empty.
QString markupWarning(const ArticleDocument& doc);

}  // namespace vinkring

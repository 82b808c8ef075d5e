#pragma once
// Reading an article back in from its forum text, as "Klembord" makes it or
// as a writer copies it out of the forum's editor.

#include <optional>

#include <QByteArrayView>
#include <QString>

#include "article/taskcontrol.h"
#include "model/articledocument.h"

namespace vinkring {

struct ForumImport {
    std::optional<ArticleDocument> document;  // none: the text was refused, or the import cancelled
    QString message;  // refused: why, in Dutch; imported: the headings that were missing, or empty
    bool cancelled = false;
};

// The document whose Forum text this is. Line ends may be CR LF, LF or CR,
// blanks at line ends may be gone, every line may be indented as far as the
// title line is, and the template's tags may be in capitals. The title line,
// the author line and the seven chapter headings must stand in the
// template's order; a refusal names the line, what was expected there and
// why the line is not that. A missing section heading is named in the
// message, and the text under it stays with the section above it (under a
// chapter heading: with that chapter's first section). Texts come back with
// CR LF line ends; a link code comes back as the links editor makes its
// line. Importing BuildArticle's text of an imported document gives that
// document again. Runs in time linear in the text and in memory of a small
// multiple of it; safe on a thread of its own.
ForumImport importForumText(const QString& text, const TaskControl& control = {});

// The text bytes hold: UTF-8 or UTF-16 behind their byte-order marks, UTF-16
// without one when its zero bytes tell which, else UTF-8 when valid, else
// Windows-1252. nullopt when the bytes are no text (NUL characters, or
// control characters in more than one in a hundred).
std::optional<QString> forumTextOfBytes(QByteArrayView bytes);

// The forum text in a file, read through the one reader of plain files (no
// pipe or device, no file larger than a document file may be).
ForumImport importForumFile(const QString& path, const TaskControl& control = {});

}  // namespace vinkring

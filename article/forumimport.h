#pragma once
// Reading an article back in from its forum text, as "Klembord" makes it or
// as a writer copies it out of the forum's editor.

#include <optional>

#include <QByteArrayView>
#include <QString>

#include "model/articledocument.h"

namespace vinkring {

struct ForumImport {
    std::optional<ArticleDocument> document;  // none: the text was refused
    QString message;  // refused: why, in Dutch; imported: the headings that were missing, or empty
};

// The document whose Forum text this is. Line ends may be CR LF, LF or CR,
// and blanks at line ends may be gone. The title line, the author line and
// the seven chapter headings must stand in the template's order; a missing
// section heading is named in the message, and the text under it stays with
// the section above it (under a chapter heading: with that chapter's first
// section). Texts come back with CR LF line ends; a link code comes back as
// the links editor makes its line.
ForumImport importForumText(const QString& text);

// The forum text in a file: UTF-8 (with or without a byte-order mark), else
// Windows-1252. A file that cannot be read is refused with the reason.
ForumImport importForumFile(const QString& path);

}  // namespace vinkring

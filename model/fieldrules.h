#pragma once
// What the document's texts may hold, whatever route a text takes into them
// (typing, paste, drop, replace, import, restore, undo, a formatting command):
// the title, the author and a link line are one line each, so a line end
// there becomes one blank; the section fields take line ends as CR LF.

#include <cstddef>

#include <QString>

#include "model/articledocument.h"

namespace vinkring {

// The title and the author: the field table's single-line fields.
bool isOneLine(std::size_t field);

// CR LF, CR, LF and the other line breaks of Unicode (vertical tab, form
// feed, next line, the line and paragraph separators).
bool isLineBreak(QChar c);

// Each line end (CR LF counting as one) as one blank.
QString asOneLine(QString text);
// Each line end (CR LF counting as one) as CR LF, as a section field keeps it.
QString withCrLf(QString text);

// The text as the field may hold it.
QString fitToField(std::size_t field, QString text);
// A link line: one line.
inline QString fitToLinkLine(QString line) { return asOneLine(std::move(line)); }

// The document with its one-line texts made one line; section texts stay
// exactly as they are (a file written elsewhere keeps its line ends there).
ArticleDocument fitToRules(ArticleDocument doc);

}  // namespace vinkring

#pragma once
// The line form of one link: description, ", ", URL.

#include <QString>

namespace vinkring {

// The line built from the two input fields as typed, except that a ", "
// inside the URL is written ",%20" (the same address to a browser), so that
// the line's last ", " is always the one between description and URL.
QString makeLinkLine(const QString& description, const QString& url);

struct LinkPieces {
    QString description;  // text before the dividing comma; the whole line when it holds none
    QString url;          // text after the dividing comma; empty when there is none
    bool hasComma = false;
};

// Divides at the last ", " so that a description may hold commas; a line
// without ", " (written elsewhere) divides at its first comma. Nothing is
// trimmed or dropped: description, the comma and url make up the line.
LinkPieces splitLinkLine(const QString& line);

// Removes leading and trailing space characters only (not tabs, CR or LF).
QString trimSpaces(const QString& text);

}  // namespace vinkring

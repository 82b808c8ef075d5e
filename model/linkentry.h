#pragma once
// The line form of one link: description, ", ", URL.

#include <QString>

namespace vinkring {

// The line built from the two input fields, exactly as typed.
QString makeLinkLine(const QString& description, const QString& url);

struct LinkPieces {
    QString description;  // text before the first comma; the whole line when it holds none
    QString url;          // text between the first and second comma; empty when there is none
    bool hasComma = false;
};

// Splits at every comma; further pieces are ignored. Nothing is trimmed.
LinkPieces splitLinkLine(const QString& line);

// Removes leading and trailing space characters only (not tabs, CR or LF).
QString trimSpaces(const QString& text);

}  // namespace vinkring

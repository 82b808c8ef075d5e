#pragma once
// The whole forum post as the live view shows it, read as the forum reads
// it (forummarkup.h): a tag left open lasts to the post's end. And the
// post's size as a forum counts it.

#include <QList>
#include <QString>

#include "article/forummarkup.h"

namespace vinkring {

// The lines of the post, at least one. Line ends are CR LF, CR, LF and <br>.
QList<ForumLine> parseForumPost(const QString& forumText);

// The size of the post as a forum counts it: every character of the forum
// text (a line end CR LF is two, a letter outside the basic plane one), and
// the words a reader sees (tags and link targets are not words).
qsizetype countCharacters(QStringView forumText);
qsizetype countWords(const QList<ForumLine>& lines);

}  // namespace vinkring

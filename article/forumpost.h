#pragma once
// The forum text as the forum shows the post: its formatting tags as styles,
// its [URL] codes as links and its line ends as line breaks. Everything else
// is text and is shown as it stands, so no markup of the writer's ever runs.

#include <QList>
#include <QString>
#include <QStringView>

namespace vinkring {

// Styles of a run; a tag opened twice needs closing twice.
enum ForumStyle : quint8 {
    kBold = 1,         // <b>, <strong>
    kItalic = 2,       // <i>, <em>
    kUnderline = 4,    // <u>
    kStrikeOut = 8,    // <s>, <strike>, <del>
    kSubscript = 16,   // <sub>
    kSuperscript = 32, // <sup>
};

struct ForumRun {
    QString text;
    quint8 styles = 0;
    QString link;  // where the run links to; empty when it is no link
    friend bool operator==(const ForumRun&, const ForumRun&) = default;
};

struct ForumLine {
    qsizetype source = 0;  // where the line starts in the forum text
    QList<ForumRun> runs;  // none for an empty line
};

// The lines of the post, at least one. Line ends are CR LF, CR, LF and <br>.
QList<ForumLine> parseForumPost(const QString& forumText);

// The address a [URL] code links to: the URL without the blanks around it,
// with "http://" before it when it names no scheme, as forums do. Empty when
// it is no address the view may open: only http, https, ftp and mailto are.
QString linkTarget(const QString& url);

// Whether the view may open a link with this scheme (any case): http, https,
// ftp and mailto; nothing that runs or reads something on the writer's side.
bool mayOpenScheme(QStringView scheme);

// The size of the post as a forum counts it: every character of the forum
// text (a line end CR LF is two, a letter outside the basic plane one), and
// the words a reader sees (tags and link targets are not words).
qsizetype countCharacters(const QString& forumText);
qsizetype countWords(const QList<ForumLine>& lines);

}  // namespace vinkring

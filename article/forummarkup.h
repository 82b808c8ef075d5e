#pragma once
// The forum's markup, in one place: the formatting tags it shows, its link
// codes, the template's lines that hold markup, the addresses a link may
// open, the look of a styled run, and the one reading of a forum text that
// the live view, the exports, the import and the check of an article share.
// What the reading does not take for markup is text, shown as it stands.

#include <array>
#include <optional>
#include <string_view>

#include <QBrush>
#include <QLatin1StringView>
#include <QList>
#include <QString>
#include <QStringView>
#include <QTextCharFormat>

namespace vinkring {

// Styles of a run; a tag opened twice needs closing twice.
enum ForumStyle : quint8 {
    kBold = 1,          // <b>, <strong>
    kItalic = 2,        // <i>, <em>
    kUnderline = 4,     // <u>
    kStrikeOut = 8,     // <s>, <strike>, <del>
    kSubscript = 16,    // <sub>
    kSuperscript = 32,  // <sup>
};
inline constexpr int kStyleCount = 6;

struct ForumTagInfo {
    QLatin1StringView name;
    quint8 style;
};

// The tags the forum shows as formatting, in any case of letters. The first
// of each style is the one the program writes.
inline constexpr std::array<ForumTagInfo, 10> kForumTags{{
    {QLatin1StringView("b"), kBold},
    {QLatin1StringView("strong"), kBold},
    {QLatin1StringView("i"), kItalic},
    {QLatin1StringView("em"), kItalic},
    {QLatin1StringView("u"), kUnderline},
    {QLatin1StringView("s"), kStrikeOut},
    {QLatin1StringView("strike"), kStrikeOut},
    {QLatin1StringView("del"), kStrikeOut},
    {QLatin1StringView("sub"), kSubscript},
    {QLatin1StringView("sup"), kSuperscript},
}};

// The order in which writers open the styles of a run.
inline constexpr std::array<quint8, kStyleCount> kStyleOrder{kBold, kItalic, kUnderline, kStrikeOut, kSubscript,
                                                             kSuperscript};

// The name the program writes for one style: "b", "i", "u", "s", "sub", "sup".
QLatin1StringView tagName(quint8 style);
QString openingTag(quint8 style);  // "<b>"
QString closingTag(quint8 style);  // "</b>"

// ---------------------------------------------------------------- link codes

inline constexpr QLatin1StringView kLinkOpen("[URL=");    // [URL=address]text[/URL]
inline constexpr QLatin1StringView kBareLinkOpen("[URL]");  // [URL]address[/URL]
inline constexpr QLatin1StringView kLinkClose("[/URL]");

// [URL=address]text[/URL], or [URL]address[/URL] when text is empty.
QString linkCode(QStringView address, QStringView text);

// "[URL=target]" for a target (linkTarget) as an export writes it; quoted,
// [URL="target"], when it holds the "]" of an IPv6 host, so that the code
// stays whole.
QString targetOpening(const QString& target);

struct LinkCodeParts {
    QString address;
    QString text;  // empty: the code shows its address
};

// The link a line of the links list makes: the description and the URL on
// either side of its dividing comma, without the blanks around them; a line
// without a comma is the URL alone. nullopt for a line that makes none.
// descriptionAt and addressAt, when given, get where the two stand in line.
std::optional<LinkCodeParts> linkOfLine(const QString& line, qsizetype* descriptionAt = nullptr,
                                        qsizetype* addressAt = nullptr);

// A line that is one whole link code, read as the links chapter holds them
// (any case of letters, [URL="address"] as other forums write it, blanks
// around address and text left out); nullopt for any other line. The text
// runs to the line's last [/URL].
std::optional<LinkCodeParts> readLinkCode(QStringView line);

// The address of [URL=address] without the quotes other forums put around
// it and without the blanks around it.
QString unquotedAddress(QStringView address);

// ---------------------------------------------------------------- the template's lines

inline constexpr std::string_view kTitleOpen = "<b>";
inline constexpr std::string_view kTitleClose = "</b>";
inline constexpr std::string_view kAuthorOpen = "<i>Geschreven door: ";
inline constexpr std::string_view kAuthorClose = "</i>";
// The author line as a reader sees it begin: "Geschreven door: ".
QString authorWords();

// ---------------------------------------------------------------- addresses

// Whether a link may open this scheme (any case): http, https, ftp and
// mailto; nothing that runs or reads something on the writer's side.
bool mayOpenScheme(QStringView scheme);

// The scheme the address names before its colon ("http" of "http://a.nl"):
// a letter, then letters, digits, "+" and "-". Empty when it names none:
// "www.vinkring.nl", "//a.nl", and "www.vinkring.nl:80/forum", a host.
QStringView addressScheme(QStringView address);

// The address a link code opens, as a browser reads it: the code's address
// without the blanks around it, "http://" before it when it names no scheme
// (as forums do), percent-encoded where a URL must be ("ä" as "%C3%A4", a
// host in its ASCII form, "[" and "]" as "%5B" and "%5D"), so that every
// export writes the same and it stands whole in a link code. Empty when it
// is no address a browser opens as typed: one with a blank, a tab, a line
// end or another invisible character inside, one that QUrl does not take,
// one of another scheme, and a web address without a host. An IPv6 host
// keeps its brackets: a code that must hold it quotes it, [URL="..."].
QString linkTarget(const QString& url);

// ---------------------------------------------------------------- styled runs

struct ForumRun {
    QString text;
    quint8 styles = 0;
    QString link;  // the target (linkTarget) the run links to; empty when it is no link
    friend bool operator==(const ForumRun&, const ForumRun&) = default;
};

struct ForumLine {
    qsizetype source = 0;  // where the line starts in the text read
    QList<ForumRun> runs;  // none for an empty line
};

// The look of a run in a text document: the styles, and a link underlined
// in linkColour with the target as its anchor.
QTextCharFormat runCharFormat(quint8 styles, const QString& link, const QBrush& linkColour);

// ---------------------------------------------------------------- reading

// What a writer may have got wrong, as the forum will show it.
enum class MarkupProblem {
    TagNotClosed,     // a formatting tag opened and not closed before the text ends
    TagNotOpened,     // a closing tag with no such tag open: the forum drops it
    TagsCrossed,      // a closing tag while a tag opened after its own is still open
    LinkNotClosed,    // [URL=...] or [URL] without its [/URL] on the line: shown as text
    LinkNotOpenable,  // a link code whose address no browser opens (linkTarget): its text, no link
    NotForumMarkup,   // a tag or code outside the forum's set (<font>, [b], a tag with attributes,
                      // a [/URL] with nothing open): shown as text, as typed
};

struct MarkupFinding {
    MarkupProblem problem;
    qsizetype offset = 0;  // of the tag or code in the text read
    qsizetype length = 0;
    friend bool operator==(const MarkupFinding&, const MarkupFinding&) = default;
};

struct ForumReading {
    QList<ForumLine> lines;  // at least one; line ends are CR LF, CR, LF and <br>
    QList<MarkupFinding> findings;  // in the order of their offsets
};

// The text as the forum shows it: its tags as styles, its link codes as
// links, its line ends as line breaks, everything else as text. A tag left
// open lasts to the end of the text read: the live view reads the whole
// post, an export each section on its own.
ForumReading readForumText(QStringView text);

// What the reading carries from one part of a text into the next: the
// styles open, and the link it is inside.
struct ForumCarry {
    std::array<int, kStyleCount> depth{};  // how often each style is open
    QString link;
    qsizetype linkEnd = -1;  // where that link's [/URL] stands, from the next part's start
    friend bool operator==(const ForumCarry&, const ForumCarry&) = default;
};

struct ForumPart {
    QList<ForumLine> lines;  // those that start in the part, their sources in the whole text
    ForumCarry carried;      // into the part after it
    // The reading looked for a [/URL] beyond the part's end: a change after
    // it may change the part.
    bool readAhead = false;
};

// The part [from, to) of text, both at a line's start (to may be the end),
// read as readForumText reads it there, given what the text before it
// carried in: the parts' lines one after the other are the whole text's.
// So a part whose text and carry stayed the same need not be read again.
// The findings are left out.
ForumPart readForumPart(QStringView text, qsizetype from, qsizetype to, const ForumCarry& carried);

// text as a forum that reads bracket codes should show it: each "[" that
// could start a code there ("[b]", "[/i", "[quote") gets an invisible word
// joiner (U+2060) after it, so that the writer's text stays text.
QString codeSafe(QStringView text);

}  // namespace vinkring

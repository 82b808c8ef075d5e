#include "article/textexports.h"

#include "model/texts.h"

namespace vinkring {

namespace {

// The HTML page, the Markdown and the bracket codes are written here from
// the runs: Qt's toHtml() and toMarkdown() write Qt's own markup of a
// QTextDocument (inline CSS, no escaping of every character, no HTML for
// underline), and no kept library writes bracket codes.

// How a text format writes the formatting around the runs of one line.
struct InlineSyntax {
    QString (*open)(quint8 style);
    QString (*close)(quint8 style);
    QString (*openLink)(const QString& target);
    QString closeLink;
    // text of a run; lineStart when nothing visible stands before it
    QString (*escape)(QStringView text, bool lineStart);
};

// One line with its formatting opened and closed in good order (what a
// line leaves open is closed at its end). Blanks at either end of a run
// stand outside the formatting, as Markdown needs.
QString writeLine(const ForumLine& line, quint8 dropped, const InlineSyntax& syntax)
{
    QString out;
    QList<quint8> open;
    QString link;
    QString pendingSpace;
    bool lineStart = true;
    const auto closeFrom = [&](qsizetype from) {
        while (open.size() > from) {
            out += syntax.close(open.back());
            open.removeLast();
        }
    };
    for (const ForumRun& run : line.runs) {
        const quint8 styles = run.styles & ~dropped;
        const QStringView text(run.text);
        qsizetype begin = 0;
        qsizetype end = text.size();
        while (begin < end && text[begin].isSpace())
            ++begin;
        while (end > begin && text[end - 1].isSpace())
            --end;
        if (begin == end) {
            // A blank between two runs of their own keeps them apart:
            // what it does not have is closed before it.
            if (run.link == link) {
                qsizetype keep = 0;
                while (keep < open.size() && (styles & open[keep]))
                    ++keep;
                closeFrom(keep);
            }
            pendingSpace += text;
            continue;
        }
        if (run.link != link) {
            closeFrom(0);
            if (!link.isEmpty())
                out += syntax.closeLink;
        } else {
            qsizetype keep = 0;
            while (keep < open.size() && (styles & open[keep]))
                ++keep;
            closeFrom(keep);
        }
        out += syntax.escape(pendingSpace + text.first(begin).toString(), lineStart);
        pendingSpace.clear();
        if (run.link != link) {
            link = run.link;
            if (!link.isEmpty())
                out += syntax.openLink(link);
        }
        for (const quint8 style : kStyleOrder) {
            if ((styles & style) && !open.contains(style)) {
                out += syntax.open(style);
                open.push_back(style);
            }
        }
        out += syntax.escape(text.sliced(begin, end - begin), lineStart && begin == 0 && pendingSpace.isEmpty());
        lineStart = false;
        pendingSpace = text.sliced(end).toString();
    }
    closeFrom(0);
    if (!link.isEmpty())
        out += syntax.closeLink;
    out += syntax.escape(pendingSpace, lineStart);
    return out;
}

// ---------------------------------------------------------------- HTML

QString htmlEscape(QStringView text, bool = false)
{
    QString out;
    out.reserve(text.size() + 16);
    for (const QChar c : withoutControls(text)) {
        switch (c.unicode()) {
        case u'&': out += QLatin1StringView("&amp;"); break;
        case u'<': out += QLatin1StringView("&lt;"); break;
        case u'>': out += QLatin1StringView("&gt;"); break;
        case u'"': out += QLatin1StringView("&quot;"); break;
        case u'\'': out += QLatin1StringView("&#39;"); break;
        default: out += c;
        }
    }
    return out;
}

const InlineSyntax kHtml{
    [](quint8 style) { return openingTag(style); },
    [](quint8 style) { return closingTag(style); },
    [](const QString& target) { return QStringLiteral("<a href=\"") + htmlEscape(target) + QStringLiteral("\">"); },
    QStringLiteral("</a>"),
    htmlEscape,
};

QString htmlLines(const QList<ForumLine>& lines, quint8 dropped)
{
    QStringList written;
    for (const ForumLine& line : lines)
        written << writeLine(line, dropped, kHtml);
    // No line end beside the <br>: the text's own blanks are kept
    // (white-space: pre-wrap), and a line end would be one more break.
    return written.join(QStringLiteral("<br>"));
}

// ---------------------------------------------------------------- Markdown

QString markdownEscape(QStringView text, bool lineStart)
{
    QString out;
    qsizetype i = 0;
    if (lineStart) {
        // Blanks would make an indented code block; "#", "-", "+", "=", and
        // "1." or "1)" would start a heading, a list or a rule.
        while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) {
            out += text[i] == u' ' ? QStringLiteral("&#32;") : QStringLiteral("&#9;");
            ++i;
        }
        if (i < text.size() && QStringView(u"#-+=").contains(text[i])) {
            out += QLatin1Char('\\');
        } else {
            qsizetype digits = i;
            while (digits < text.size() && text[digits].isDigit())
                ++digits;
            if (digits > i && digits < text.size() && (text[digits] == u'.' || text[digits] == u')')) {
                out += text.sliced(i, digits - i);
                out += QLatin1Char('\\');
                i = digits;
            }
        }
    }
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (QStringView(u"\\`*_[]<>|~&!").contains(c))
            out += QLatin1Char('\\');
        out += c;
    }
    return withoutControls(out);
}

QString markdownOpen(quint8 style)
{
    if (style == kBold)
        return QStringLiteral("**");
    if (style == kItalic)
        return QStringLiteral("*");
    return openingTag(style);
}

QString markdownClose(quint8 style)
{
    if (style == kBold || style == kItalic)
        return markdownOpen(style);
    return closingTag(style);
}

QString markdownLinkOpen(const QString&)
{
    return QStringLiteral("[");
}

const InlineSyntax kMarkdownInline{markdownOpen, markdownClose, markdownLinkOpen, QString(), markdownEscape};

// A link's text, then its target in angle brackets.
QString markdownLine(const ForumLine& line, quint8 dropped)
{
    QString out;
    // The link's closing part names its target, so each link is written as
    // a line of its own runs.
    ForumLine piece;
    QString link;
    const auto flush = [&] {
        if (piece.runs.isEmpty())
            return;
        QString written = writeLine(piece, dropped, kMarkdownInline);
        if (!link.isEmpty()) {
            // An encoded target (linkTarget) holds no "<", ">", "\\" or blank.
            written += QStringLiteral("](<") + link + QStringLiteral(">)");
        }
        out += written;
        piece.runs.clear();
    };
    for (const ForumRun& run : line.runs) {
        if (run.link != link) {
            flush();
            link = run.link;
        }
        piece.runs.push_back(run);
    }
    flush();
    return out;
}

// ---------------------------------------------------------------- bracket codes

const InlineSyntax kBracketCodes{
    [](quint8 style) -> QString { return QLatin1Char('[') + tagName(style) + QLatin1Char(']'); },
    [](quint8 style) -> QString { return QStringLiteral("[/") + tagName(style) + QLatin1Char(']'); },
    targetOpening,
    QString(kLinkClose),
    // A "[b]" the writer typed is text, as the live view shows it; a
    // control character is U+FFFD, as in the other exports.
    [](QStringView text, bool) { return codeSafe(withoutControls(text)); },
};

}  // namespace

QString webPage(const QList<ArticlePart>& parts)
{
    QString title = documentTitle(parts);
    if (title.isEmpty())
        title = toQString(texts::kWindowCaption);
    QString out = QStringLiteral(
        "<!DOCTYPE html>\n<html lang=\"nl\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>");
    out += htmlEscape(title);
    out += QStringLiteral(
        "</title>\n<style>body { font-family: sans-serif; max-width: 42em; margin: 2em auto; padding: 0 1em; "
        "line-height: 1.5; }\nh1, h2, p { white-space: pre-wrap; }</style>\n</head>\n<body>\n");
    for (const ArticlePart& part : parts) {
        const QString inner = htmlLines(part.lines, headingStyles(part.kind));
        switch (part.kind) {
        case PartKind::Title:
        case PartKind::Chapter:
            out += QStringLiteral("<h1>") + inner + QStringLiteral("</h1>\n");
            break;
        case PartKind::Section:
            out += QStringLiteral("<h2>") + inner + QStringLiteral("</h2>\n");
            break;
        default:
            if (!inner.isEmpty())
                out += QStringLiteral("<p>") + inner + QStringLiteral("</p>\n");
            break;
        }
    }
    out += QStringLiteral("</body>\n</html>\n");
    return out;
}

QString markdown(const QList<ArticlePart>& parts)
{
    QString out;
    for (const ArticlePart& part : parts) {
        const quint8 dropped = headingStyles(part.kind);
        QStringList lines;
        for (const ForumLine& line : part.lines)
            lines << markdownLine(line, dropped);
        switch (part.kind) {
        case PartKind::Title:
        case PartKind::Chapter:
            out += QStringLiteral("# ") + lines.join(QLatin1Char(' ')) + QStringLiteral("\n\n");
            break;
        case PartKind::Section:
            out += QStringLiteral("## ") + lines.join(QLatin1Char(' ')) + QStringLiteral("\n\n");
            break;
        default: {
            // A line break inside a paragraph is a backslash at the line's
            // end; an empty line ends the paragraph.
            QString paragraph;
            for (qsizetype i = 0; i < lines.size(); ++i) {
                const bool empty = lines[i].trimmed().isEmpty();
                if (!empty)
                    paragraph += lines[i];
                if (i + 1 < lines.size())
                    paragraph += !empty && !lines[i + 1].trimmed().isEmpty() ? QStringLiteral("\\\n")
                                                                             : QStringLiteral("\n");
            }
            if (!paragraph.trimmed().isEmpty())
                out += paragraph.trimmed() + QStringLiteral("\n\n");
            break;
        }
        }
    }
    return out;
}

QString bracketCodes(const QList<ArticlePart>& parts)
{
    QString out;
    for (const ArticlePart& part : parts) {
        for (qsizetype i = 0; i < part.lines.size(); ++i) {
            if (i > 0)
                out += QStringLiteral("\r\n");
            out += writeLine(part.lines[i], 0, kBracketCodes);
        }
        // The forum text's own layout: a chapter heading keeps the blank
        // after it, a text the empty line below it.
        if (part.kind == PartKind::Chapter) {
            const std::string_view heading =
                part.field < kFieldCount ? kFields[part.field].chapterHeading : kLinksChapterHeading;
            if (heading.ends_with(' '))
                out += QLatin1Char(' ');
        }
        const bool paragraph = part.kind == PartKind::Title || part.kind == PartKind::Author || part.kind == PartKind::Text;
        out += paragraph ? QStringLiteral("\r\n\r\n") : QStringLiteral("\r\n");
    }
    return out;
}

}  // namespace vinkring

// libFuzzer target: link-line splitting and the links chapter of the article.
// The input is UTF-16LE text. As a whole it is one link line for the split
// and trim helpers; split at LF it is the links list of a document that is
// rendered in both flavours.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <QString>
#include <QStringList>

#include "model/articledocument.h"
#include "model/linkentry.h"
#include "article/articlebuilder.h"
#include "fuzz/fuzzcheck.h"

using namespace vinkring;

namespace {

QString utf16Text(const std::uint8_t* data, std::size_t size)
{
    std::vector<char16_t> units(size / 2);
    if (!units.empty())
        std::memcpy(units.data(), data, units.size() * 2);
    // Every 16-bit unit as it stands, lone surrogates included.
    return QString(reinterpret_cast<const QChar*>(units.data()), qsizetype(units.size()));
}

bool allSpaces(const QString& text)
{
    for (QChar c : text)
        if (c != QLatin1Char(' '))
            return false;
    return true;
}

void checkTrim(const QString& text)
{
    const QString trimmed = trimSpaces(text);
    FUZZ_CHECK(!trimmed.startsWith(QLatin1Char(' ')) && !trimmed.endsWith(QLatin1Char(' ')));
    const qsizetype at = text.indexOf(trimmed);
    FUZZ_CHECK(at >= 0);
    if (trimmed.isEmpty()) {
        FUZZ_CHECK(allSpaces(text));
        return;
    }
    // Only spaces were taken away, and only at the ends.
    qsizetype lead = 0;
    while (lead < text.size() && text.at(lead) == QLatin1Char(' '))
        ++lead;
    FUZZ_CHECK(text.mid(lead, trimmed.size()) == trimmed);
    FUZZ_CHECK(allSpaces(text.mid(lead + trimmed.size())));
    FUZZ_CHECK(trimSpaces(trimmed) == trimmed);
}

void checkSplit(const QString& line)
{
    const LinkPieces pieces = splitLinkLine(line);
    const qsizetype divider = line.lastIndexOf(QStringLiteral(", "));
    const qsizetype comma = divider >= 0 ? divider : line.indexOf(QLatin1Char(','));
    FUZZ_CHECK(pieces.hasComma == (comma >= 0));
    if (comma < 0) {
        FUZZ_CHECK(pieces.description == line);
        FUZZ_CHECK(pieces.url.isEmpty());
        return;
    }
    // Nothing is lost: description, comma and URL are the line.
    FUZZ_CHECK(pieces.description + QLatin1Char(',') + pieces.url == line);
    FUZZ_CHECK(pieces.description == line.left(comma));
    // The URL holds no ", " beyond the blank that follows the dividing comma.
    FUZZ_CHECK(!pieces.url.mid(1).contains(QStringLiteral(", ")));

    // A line built from the two pieces divides back into them; a ", " in
    // the URL is written ",%20".
    const LinkPieces again = splitLinkLine(makeLinkLine(pieces.description, pieces.url));
    FUZZ_CHECK(again.hasComma);
    FUZZ_CHECK(again.description == pieces.description);
    QString written = pieces.url;
    written.replace(QStringLiteral(", "), QStringLiteral(",%20"));
    FUZZ_CHECK(again.url == QLatin1Char(' ') + written);

    checkTrim(pieces.description);
    checkTrim(pieces.url);
}

// The text one link line adds to the article in the given flavour, for lines
// that hold a comma (the others are rendered as the generator chooses).
QString expectedLink(const QString& line, ArticleFlavour flavour)
{
    const LinkPieces pieces = splitLinkLine(line);
    const QString description = trimSpaces(pieces.description);
    const QString url = trimSpaces(pieces.url);
    if (flavour == ArticleFlavour::Html) {
        if (description.isEmpty())
            return url + QStringLiteral("<br/>");
        return QStringLiteral("<a href=\"") + url + QStringLiteral("\">") + description + QStringLiteral("</a><br/>");
    }
    if (description.isEmpty())
        return QStringLiteral("[URL]") + url + QStringLiteral("[/URL]\r\n");
    return QStringLiteral("[URL=") + url + QLatin1Char(']') + description + QStringLiteral("[/URL]\r\n");
}

void checkArticle(const QStringList& lines, ArticleFlavour flavour)
{
    ArticleDocument doc;
    doc.fields[kTitleField] = QStringLiteral("Titel");
    const QString base = BuildArticle(doc, flavour);
    doc.links = lines;
    const QString whole = BuildArticle(doc, flavour);

    // The article is the article without links followed by each line's own
    // rendering, in list order.
    FUZZ_CHECK(whole.startsWith(base));
    qsizetype at = base.size();
    for (const QString& line : lines) {
        ArticleDocument single;
        single.fields[kTitleField] = doc.fields[kTitleField];
        single.links = QStringList{line};
        const QString part = BuildArticle(single, flavour).mid(base.size());
        FUZZ_CHECK(whole.mid(at, part.size()) == part);
        if (line.contains(QLatin1Char(',')))
            FUZZ_CHECK(part == expectedLink(line, flavour));
        at += part.size();
    }
    FUZZ_CHECK(at == whole.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 64 * 1024)
        return 0;
    const QString text = utf16Text(data, size);
    checkSplit(text);
    checkTrim(text);

    // Each line is rendered on its own as well: a few hundred lines suffice.
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.size() > 256)
        lines.resize(256);
    for (const QString& line : lines)
        checkSplit(line);
    checkArticle(lines, ArticleFlavour::Html);
    checkArticle(lines, ArticleFlavour::Forum);
    return 0;
}

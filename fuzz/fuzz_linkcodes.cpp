// libFuzzer target: the forum's link codes and the addresses they open. The
// input is UTF-16LE text, read as a forum text, as one address, and split at
// LF as the links list of a document. Every link any of them gives is an
// address as a browser reads it: printable ASCII without a blank, a URL that
// QUrl takes in its strict mode, with an allowed scheme and, for the web
// schemes, a host; it is its own target again, and written into a link code
// it reads back as itself. The reading's findings stay inside the text.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include <QString>
#include <QStringList>
#include <QUrl>

#include "article/articleparts.h"
#include "article/forummarkup.h"
#include "fuzz/fuzzcheck.h"
#include "model/articledocument.h"

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

void checkTarget(const QString& target)
{
    FUZZ_CHECK(!target.isEmpty());
    for (const QChar c : target)
        FUZZ_CHECK(c.unicode() > 0x20 && c.unicode() < 0x7F);
    const QUrl url = QUrl::fromEncoded(target.toLatin1(), QUrl::StrictMode);
    FUZZ_CHECK(url.isValid());
    FUZZ_CHECK(mayOpenScheme(url.scheme()));
    FUZZ_CHECK(url.scheme() == QLatin1StringView("mailto") || !url.host().isEmpty());
    FUZZ_CHECK(linkTarget(target) == target);
    const ForumReading code = readForumText(targetOpening(target) + QStringLiteral("x") + kLinkClose);
    FUZZ_CHECK(code.lines.size() == 1 && code.lines[0].runs.size() == 1);
    FUZZ_CHECK(code.lines[0].runs[0].link == target);
}

void checkLines(const QList<ForumLine>& lines)
{
    for (const ForumLine& line : lines) {
        for (const ForumRun& run : line.runs) {
            if (!run.link.isEmpty())
                checkTarget(run.link);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 64 * 1024)
        return 0;
    const QString text = utf16Text(data, size);

    const ForumReading reading = readForumText(text);
    checkLines(reading.lines);
    qsizetype previous = 0;
    for (const MarkupFinding& finding : reading.findings) {
        FUZZ_CHECK(finding.offset >= previous && finding.length > 0 && finding.offset + finding.length <= text.size());
        previous = finding.offset;
    }

    if (const QString target = linkTarget(text); !target.isEmpty())
        checkTarget(target);

    ArticleDocument doc;
    doc.links = text.split(QLatin1Char('\n')).mid(0, 64);
    const ArticleReading article = readArticle(doc, EmptySections::Kept);
    for (const ArticlePart& part : article.parts) {
        if (part.kind == PartKind::Link)
            checkLines(part.lines);
    }
    for (const PlacedFinding& found : article.findings) {
        FUZZ_CHECK(found.place.kind == DocumentPlace::Kind::Link && found.place.index < doc.links.size());
        FUZZ_CHECK(found.finding.offset >= 0 && found.finding.offset <= doc.links.at(found.place.index).size());
    }
    return 0;
}

// The forum text as the forum shows the post: styles, links and lines, and
// nothing else taken for markup; and its size.
#include <gtest/gtest.h>

#include "article/articlebuilder.h"
#include "article/articleexport.h"
#include "article/forumpost.h"
#include "fakes/fakeplatform.h"

namespace vinkring {
namespace {

// A line as text, each run as [text|styles|link] when it has styles or a link.
QString shown(const ForumLine& line)
{
    QString out;
    for (const ForumRun& run : line.runs) {
        if (run.styles == 0 && run.link.isEmpty())
            out += run.text;
        else
            out += QStringLiteral("[%1|%2|%3]").arg(run.text).arg(run.styles).arg(run.link);
    }
    return out;
}

QStringList shownLines(const QString& forumText)
{
    QStringList out;
    for (const ForumLine& line : parseForumPost(forumText))
        out << shown(line);
    return out;
}

QString shownLine(const QString& forumText)
{
    const QStringList lines = shownLines(forumText);
    EXPECT_EQ(lines.size(), 1) << forumText.toStdString();
    return lines.value(0);
}

TEST(ForumPost, LineEndsOfEveryKindAndBrTagsBreakLines)
{
    EXPECT_EQ(shownLines(QStringLiteral("een\r\ntwee\ndrie\rvier<br>vijf<BR/>zes<br />zeven")),
              (QStringList{"een", "twee", "drie", "vier", "vijf", "zes", "zeven"}));
    EXPECT_EQ(shownLines(QStringLiteral("\r\n\r\n")), (QStringList{"", "", ""}));
    EXPECT_EQ(shownLines(QString()), QStringList{""});

    // Each line knows where it starts in the text.
    const QList<ForumLine> lines = parseForumPost(QStringLiteral("ab\r\ncd<br>e\nf"));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0].source, 0);
    EXPECT_EQ(lines[1].source, 4);
    EXPECT_EQ(lines[2].source, 10);
    EXPECT_EQ(lines[3].source, 12);
}

TEST(ForumPost, FormattingTagsBecomeStyles)
{
    EXPECT_EQ(shownLine(QStringLiteral("<b>vet</b> <I>schuin</I> <u>onder</u>")),
              QStringLiteral("[vet|1|] [schuin|2|] [onder|4|]"));
    EXPECT_EQ(shownLine(QStringLiteral("<strong>a</strong><em>b</em><s>c</s><strike>d</strike><del>e</del>")),
              QStringLiteral("[a|1|][b|2|][cde|8|]"));
    EXPECT_EQ(shownLine(QStringLiteral("H<sub>2</sub>O, m<sup>3</sup>")), QStringLiteral("H[2|16|]O, m[3|32|]"));
    // A blank before the closing bracket is allowed, as browsers allow it.
    EXPECT_EQ(shownLine(QStringLiteral("<b >x</b >")), QStringLiteral("[x|1|]"));
}

TEST(ForumPost, StylesNestOverlapAndLastAcrossLines)
{
    EXPECT_EQ(shownLine(QStringLiteral("<b>a<i>b</i>c</b>")), QStringLiteral("[a|1|][b|3|][c|1|]"));
    // Wrongly nested: each tag closes its own style, as in a browser.
    EXPECT_EQ(shownLine(QStringLiteral("<b>a<i>b</b>c</i>d")), QStringLiteral("[a|1|][b|3|][c|2|]d"));
    // Opened twice, closed twice.
    EXPECT_EQ(shownLine(QStringLiteral("<b><b>a</b>b</b>c")), QStringLiteral("[ab|1|]c"));
    // A closing tag with nothing open is dropped; an unclosed one lasts.
    EXPECT_EQ(shownLines(QStringLiteral("</u>a<u>b\r\nc")), (QStringList{"a[b|4|]", "[c|4|]"}));
}

TEST(ForumPost, EverythingElseIsTextAsItStands)
{
    const QString script = QStringLiteral("<script>alert('x')</script>");
    EXPECT_EQ(shownLine(script), script);
    for (const char* text : {"<a href=\"javascript:alert(1)\">x</a>",
                             "<img src=x onerror=alert(1)>", "<iframe src=\"http://x\"></iframe>",
                             "<style>body{}</style>", "<!-- x -->", "< b>x", "<b", "a < b > c", "<>", "</>",
                             "<b/>", "&lt;b&gt; &amp; &#60;", "<p>alinea</p>", "<font color=red>x</font>"}) {
        const QString t = QString::fromUtf8(text);
        EXPECT_EQ(shownLine(t), t) << text;
    }
    // An allowed tag with attributes is text; its closing tag, with nothing
    // open, is dropped.
    EXPECT_EQ(shownLine(QStringLiteral("<b onclick=\"alert(1)\">x</b>")), QStringLiteral("<b onclick=\"alert(1)\">x"));
}

TEST(ForumPost, UrlCodesBecomeLinks)
{
    EXPECT_EQ(shownLine(QStringLiteral("[URL=https://www.vinkring.nl/a?b=c&d=e]Forum[/URL]")),
              QStringLiteral("[Forum|0|https://www.vinkring.nl/a?b=c&d=e]"));
    EXPECT_EQ(shownLine(QStringLiteral("[url]http://x.nl[/Url]")), QStringLiteral("[http://x.nl|0|http://x.nl]"));
    // Without a scheme, as forums do.
    EXPECT_EQ(shownLine(QStringLiteral("[URL=zebravis.htm]Soort[/URL]")),
              QStringLiteral("[Soort|0|http://zebravis.htm]"));
    EXPECT_EQ(shownLine(QStringLiteral("[URL]www.vinkring.nl[/URL]")),
              QStringLiteral("[www.vinkring.nl|0|http://www.vinkring.nl]"));
    // A quoted address, as other forums write it, loses its quotes.
    EXPECT_EQ(shownLine(QStringLiteral("[URL=\"http://a.nl\"]een[/URL] [URL='b.nl']twee[/URL]")),
              QStringLiteral("[een|0|http://a.nl] [twee|0|http://b.nl]"));
    // The link text takes styles, also those opened before it.
    EXPECT_EQ(shownLine(QStringLiteral("<b>[URL=http://x.nl]a <i>b</i>[/URL]</b>")),
              QStringLiteral("[a |1|http://x.nl][b|3|http://x.nl]"));
    // And spans lines.
    EXPECT_EQ(shownLines(QStringLiteral("[URL=http://x.nl]a\r\nb[/URL]c")),
              (QStringList{"[a|0|http://x.nl]", "[b|0|http://x.nl]c"}));
}

TEST(ForumPost, UrlCodesThatAreNotWholeAreText)
{
    for (const char* text : {"[URL=http://x.nl]open", "[URL]http://x.nl", "[URL=http://x.nl", "[URLx]",
                             "[URL=http://x\r\n.nl]a[/URL]", "[/URL]", "[url", "[b]vet[/b]"}) {
        const QString t = QString::fromUtf8(text);
        EXPECT_EQ(shownLines(t).join(QStringLiteral("\r\n")), t) << text;
    }
    // A code inside a link's text is text.
    EXPECT_EQ(shownLine(QStringLiteral("[URL=http://a.nl]x [URL=http://b.nl]y[/URL]")),
              QStringLiteral("[x [URL=http://b.nl]y|0|http://a.nl]"));
}

TEST(ForumPost, OnlyWebAndMailAddressesLink)
{
    EXPECT_EQ(linkTarget(QStringLiteral("  https://x.nl/pad ")), QStringLiteral("https://x.nl/pad"));
    EXPECT_EQ(linkTarget(QStringLiteral("FTP://x.nl")), QStringLiteral("ftp://x.nl"));
    EXPECT_EQ(linkTarget(QStringLiteral("mailto:info@vinkring.nl")), QStringLiteral("mailto:info@vinkring.nl"));
    EXPECT_EQ(linkTarget(QStringLiteral("//cdn.x.nl/a")), QStringLiteral("http://cdn.x.nl/a"));
    EXPECT_EQ(linkTarget(QStringLiteral("www.x.nl:8080/a")), QStringLiteral("http://www.x.nl:8080/a"));
    EXPECT_EQ(linkTarget(QStringLiteral("   ")), QString());
    for (const char* url : {"javascript:alert(1)", "JavaScript:alert(1)", " javascript:alert(1)",
                            "java\tscript:alert(1)", "java\r\nscript:alert(1)", "\x01javascript:x",
                            "java\u200Bscript:x", "vbscript:msgbox(1)", "data:text/html,<script>x</script>",
                            "file:///etc/passwd", "about:blank", "x-unknown:y"}) {
        EXPECT_EQ(linkTarget(QString::fromUtf8(url)), QString()) << url;
    }
    // An encoded colon names no scheme: as a web address it has no valid host.
    EXPECT_EQ(linkTarget(QStringLiteral("javascript&#58;alert(1)")), QString());

    // A code whose address may not open shows its text, without a link.
    EXPECT_EQ(shownLine(QStringLiteral("[URL=javascript:alert(1)]klik[/URL] [URL]javascript:x[/URL]")),
              QStringLiteral("klik javascript:x"));
    EXPECT_EQ(shownLine(QStringLiteral("[URL=]Info[/URL][URL][/URL]")), QStringLiteral("Info"));
}

TEST(ForumPost, SizeAsAForumCountsIt)
{
    EXPECT_EQ(countCharacters(QString()), 0);
    EXPECT_EQ(countCharacters(QStringLiteral("ab\r\nc")), 5) << "CR LF is two";
    EXPECT_EQ(countCharacters(QStringLiteral("één")), 3);
    EXPECT_EQ(countCharacters(QStringLiteral("vis \U0001F41F!")), 6) << "a fish is one character";

    const auto words = [](const char* text) { return countWords(parseForumPost(QString::fromUtf8(text))); };
    EXPECT_EQ(words(""), 0);
    EXPECT_EQ(words("<b>Zebravis</b>\r\n\r\n<i>Geschreven door: Jan</i>"), 4);
    EXPECT_EQ(words("<b>Zebra</b>vis en  een - teken, 24 graden"), 6) << "a dash alone is no word";
    EXPECT_EQ(words("[URL=http://x.nl/lange/weg]Soort beschrijving[/URL]"), 2) << "the address is not shown";
    EXPECT_EQ(words("een\r\ntwee<br>drie"), 3);
}

TEST(ForumPost, ArticleOutlineFindsEachPart)
{
    ArticleDocument doc = defaultDocument();
    doc.field("txtTitel") = QStringLiteral("Zebravis");
    doc.field("txtInleiding") = QStringLiteral("Eerste.\r\nTweede.");
    doc.field("txtBeschrijver") = QStringLiteral("Hamilton");
    doc.links << QStringLiteral("Soort, zebravis.htm");
    ArticleOutline outline;
    const QString text = BuildArticle(doc, ArticleFlavour::Forum, &outline);
    EXPECT_EQ(text, BuildArticle(doc, ArticleFlavour::Forum)) << "the outline changes nothing";
    const auto startsWith = [&](const char* field, const char* start) {
        return text.mid(outline.fieldStart[*fieldIndex(field)]).startsWith(QString::fromUtf8(start));
    };
    EXPECT_TRUE(startsWith("txtTitel", "<b>Zebravis</b>\r\n\r\n<i>"));
    EXPECT_TRUE(startsWith("txtAuteur", "<i>Geschreven door: </i>\r\n"));
    EXPECT_TRUE(startsWith("txtInleiding", "<b>1. Inleiding</b>\r\n<u>1.1 "));
    EXPECT_TRUE(startsWith("txtUitlegNaam", "<b>2. Achtergrond</b>\r\n<u>2.1 "));
    EXPECT_TRUE(startsWith("txtBeschrijver", "<u>2.2 Beschrijver"));
    EXPECT_TRUE(startsWith("txtKweekNatuur", "<b>5. Kweek</b> \r\n<u>5.1 "));
    EXPECT_TRUE(startsWith("txtConclusie", "<b>6. Conclusie</b> \r\n\r\n"));
    EXPECT_EQ(text.mid(outline.linksStart), QStringLiteral("<b>7. Links</b> \r\n[URL=zebravis.htm]Soort[/URL]\r\n"));
}

TEST(ForumPost, KlembordTellsTheCharactersPlaced)
{
    test::FakePlatform platform;
    ArticleDocument doc;
    doc.field("txtTitel") = QStringLiteral("Vis \U0001F41F");
    const std::optional<qsizetype> placed = exportToClipboard(doc, platform.services);
    ASSERT_TRUE(placed);
    EXPECT_EQ(*placed, platform.clipboard.text.size() - 1) << "the fish is two UTF-16 units, one character";

    platform.clipboard.failSet = true;
    EXPECT_FALSE(exportToClipboard(doc, platform.services));
}

}  // namespace
}  // namespace vinkring

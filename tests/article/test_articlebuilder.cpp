// The article text in both flavours: the template, the headings and the links.
#include <gtest/gtest.h>

#include <QStringList>

#include "model/articledocument.h"
#include "model/texts.h"
#include "article/articlebuilder.h"
#include "samples.h"

namespace vinkring {
namespace {

const QString kCrLf = QStringLiteral("\r\n");

// The template rows below the author line, as the forum's template writes
// them: heading, and the field whose text follows (empty for a chapter).
struct Row {
    const char* heading;
    const char* field;
};
const Row kTemplate[] = {
    {"<b>1. Inleiding</b>", nullptr},
    {"<u>1.1 Aanleiding tot het schrijven van het artikel</u>", "txtInleiding"},
    {"<b>2. Achtergrond</b>", nullptr},
    {"<u>2.1 Uitleg van de wetenschappelijke naam</u>", "txtUitlegNaam"},
    {"<u>2.2 Beschrijver van de vis</u>", "txtBeschrijver"},
    {"<u>2.3 Familie, orde en klasse</u>", "txtFamilie"},
    {"<u>2.4 Vindplaats</u>", "txtVindPLaats"},
    {"<u>2.5 Waterwaarden</u>", "txtWaterwaarden"},
    {"<u>2.6 Temperatuur</u>", "txtTemperatuur"},
    {"<u>2.7 Grootte</u>", "txtGrootte"},
    {"<u>2.8 Uiterlijke kenmerken</u>", "txtUitKenmerken"},
    {"<u>2.9 Geslachtsonderscheid</u>", "txtGeslachtsonderscheid"},
    {"<u>2.10 Nauw verwante soorten, varianten en kruisingen</u>", "txtNauwVerwanten"},
    {"<u>2.11 Problemen in leefomgeving</u>", "txtProblemen"},
    {"<u>2.12 Bouw van de vis</u>", "txtBouw"},
    {"<u>2.13 Gevoeligheid voor bepaalde ziekten of stoffen</u>", "txtZiekten"},
    {"<b>3. Gedrag</b> ", nullptr},
    {"<u>3.1 Algemeen gedrag</u>", "txtAlgemeengedrag"},
    {"<u>3.2 Gedrag in relatie tot soortgenoten</u>", "txtGedragSoort"},
    {"<u>3.3 Gedrag in relatie tot andere soorten</u>", "txtGedragAndereSoorten"},
    {"<u>3.4 Gedrag in relatie tot leeftijd</u>", "txtGedragLeeftijd"},
    {"<u>3.5 Gedrag in relatie tot voedsel</u>", "txtGedragVoedsel"},
    {"<b>4. Voedsel</b> ", nullptr},
    {"<u>4.1 Voedselbehoefte van nature</u>", "txtVOedselNature"},
    {"<u>4.2 Voedsel in aquaria</u>", "txtVoedsel"},
    {"<b>5. Kweek</b> ", nullptr},
    {"<u>5.1 Alles over het kweken in de natuur</u>", "txtKweekNatuur"},
    {"<u>5.2 Alles over het kweken in het aquarium</u>", "txtKweekAqua"},
    {"<u>5.3 Opkweken van jongbroed</u>", "txtOpkweek"},
    {"<b>6. Conclusie</b> ", "txtConclusie"},
    {"<b>7. Links</b> ", nullptr},
};

ArticleDocument workedExample()
{
    ArticleDocument doc = test::zebravis();
    doc.field("txtAuteur") = QStringLiteral("Jan Jansen");
    doc.field("txtInleiding") = QStringLiteral("Mijn eerste artikel.\r\nVeel leesplezier.");
    return doc;
}

// What follows the links heading and its line break.
QString linksPart(const QString& article, ArticleFlavour flavour)
{
    const QString heading = QStringLiteral("<b>7. Links</b> ") +
                            (flavour == ArticleFlavour::Html ? QStringLiteral("<br/>") : kCrLf);
    const qsizetype at = article.lastIndexOf(heading);
    EXPECT_GE(at, 0);
    return at < 0 ? QString() : article.mid(at + heading.size());
}

QString links(const QStringList& lines, ArticleFlavour flavour)
{
    ArticleDocument doc;
    doc.links = lines;
    return linksPart(BuildArticle(doc, flavour), flavour);
}

TEST(BuildArticle, WorkedExampleForumIsEightyEightLines)
{
    QStringList lines{
        QStringLiteral("<b>Zebravis</b>"),
        QString(),
        QStringLiteral("<i>Geschreven door: Jan Jansen</i>"),
        QString(),
        QStringLiteral("<b>1. Inleiding</b>"),
        QStringLiteral("<u>1.1 Aanleiding tot het schrijven van het artikel</u>"),
        QStringLiteral("Mijn eerste artikel."),
        QStringLiteral("Veel leesplezier."),
        QString(),
        QStringLiteral("<b>2. Achtergrond</b>"),
    };
    const char* sections2[] = {
        "<u>2.1 Uitleg van de wetenschappelijke naam</u>",
        "<u>2.2 Beschrijver van de vis</u>",
        "<u>2.3 Familie, orde en klasse</u>",
        "<u>2.4 Vindplaats</u>",
        "<u>2.5 Waterwaarden</u>",
        "<u>2.6 Temperatuur</u>",
        "<u>2.7 Grootte</u>",
        "<u>2.8 Uiterlijke kenmerken</u>",
        "<u>2.9 Geslachtsonderscheid</u>",
        "<u>2.10 Nauw verwante soorten, varianten en kruisingen</u>",
        "<u>2.11 Problemen in leefomgeving</u>",
        "<u>2.12 Bouw van de vis</u>",
        "<u>2.13 Gevoeligheid voor bepaalde ziekten of stoffen</u>",
    };
    const auto emptySections = [&lines](std::initializer_list<const char*> headings) {
        for (const char* h : headings)
            lines << QString::fromUtf8(h) << QString() << QString();
    };
    for (const char* h : sections2)
        emptySections({h});
    lines << QStringLiteral("<b>3. Gedrag</b> ");
    emptySections({"<u>3.1 Algemeen gedrag</u>", "<u>3.2 Gedrag in relatie tot soortgenoten</u>",
                   "<u>3.3 Gedrag in relatie tot andere soorten</u>", "<u>3.4 Gedrag in relatie tot leeftijd</u>",
                   "<u>3.5 Gedrag in relatie tot voedsel</u>"});
    lines << QStringLiteral("<b>4. Voedsel</b> ");
    emptySections({"<u>4.1 Voedselbehoefte van nature</u>", "<u>4.2 Voedsel in aquaria</u>"});
    lines << QStringLiteral("<b>5. Kweek</b> ");
    emptySections({"<u>5.1 Alles over het kweken in de natuur</u>", "<u>5.2 Alles over het kweken in het aquarium</u>",
                   "<u>5.3 Opkweken van jongbroed</u>"});
    lines << QStringLiteral("<b>6. Conclusie</b> ") << QStringLiteral("Een fijne vis.") << QString()
          << QStringLiteral("<b>7. Links</b> ") << QStringLiteral("[URL=zebravis.htm]Soortbeschrijving[/URL]")
          << QStringLiteral("[URL]kweek.htm[/URL]");
    ASSERT_EQ(lines.size(), 88);
    // Spot checks against the numbered lines of the example.
    EXPECT_EQ(lines[49], QStringLiteral("<b>3. Gedrag</b> "));
    EXPECT_EQ(lines[65], QStringLiteral("<b>4. Voedsel</b> "));
    EXPECT_EQ(lines[72], QStringLiteral("<b>5. Kweek</b> "));
    EXPECT_EQ(lines[82], QStringLiteral("<b>6. Conclusie</b> "));

    const QString expected = lines.join(kCrLf) + kCrLf;
    const QString forum = BuildArticle(workedExample(), ArticleFlavour::Forum);
    EXPECT_EQ(forum, expected);
    EXPECT_EQ(forum.count(kCrLf), 88);
    EXPECT_TRUE(forum.endsWith(QStringLiteral("[URL]kweek.htm[/URL]\r\n")));
}

TEST(BuildArticle, WorkedExampleHtmlIs1602Characters)
{
    const QString empty = QStringLiteral("<br/><br/><br/>");
    QString expected = QStringLiteral(
        "<b>Zebravis</b><br/><br/><i>Geschreven door: Jan Jansen</i><br/><br/><b>1. Inleiding</b><br/>"
        "<u>1.1 Aanleiding tot het schrijven van het artikel</u><br/>Mijn eerste artikel.\r\nVeel leesplezier.<br/><br/>"
        "<b>2. Achtergrond</b><br/><u>2.1 Uitleg van de wetenschappelijke naam</u>");
    expected += empty;
    for (const char* h : {"<u>2.2 Beschrijver van de vis</u>", "<u>2.3 Familie, orde en klasse</u>",
                          "<u>2.4 Vindplaats</u>", "<u>2.5 Waterwaarden</u>", "<u>2.6 Temperatuur</u>",
                          "<u>2.7 Grootte</u>", "<u>2.8 Uiterlijke kenmerken</u>", "<u>2.9 Geslachtsonderscheid</u>",
                          "<u>2.10 Nauw verwante soorten, varianten en kruisingen</u>",
                          "<u>2.11 Problemen in leefomgeving</u>", "<u>2.12 Bouw van de vis</u>",
                          "<u>2.13 Gevoeligheid voor bepaalde ziekten of stoffen</u>"})
        expected += QString::fromUtf8(h) + empty;
    expected += QStringLiteral("<b>3. Gedrag</b> <br/>");
    for (const char* h : {"<u>3.1 Algemeen gedrag</u>", "<u>3.2 Gedrag in relatie tot soortgenoten</u>",
                          "<u>3.3 Gedrag in relatie tot andere soorten</u>", "<u>3.4 Gedrag in relatie tot leeftijd</u>",
                          "<u>3.5 Gedrag in relatie tot voedsel</u>"})
        expected += QString::fromUtf8(h) + empty;
    expected += QStringLiteral("<b>4. Voedsel</b> <br/>");
    for (const char* h : {"<u>4.1 Voedselbehoefte van nature</u>", "<u>4.2 Voedsel in aquaria</u>"})
        expected += QString::fromUtf8(h) + empty;
    expected += QStringLiteral("<b>5. Kweek</b> <br/>");
    for (const char* h : {"<u>5.1 Alles over het kweken in de natuur</u>",
                          "<u>5.2 Alles over het kweken in het aquarium</u>", "<u>5.3 Opkweken van jongbroed</u>"})
        expected += QString::fromUtf8(h) + empty;
    expected += QStringLiteral("<b>6. Conclusie</b> <br/>Een fijne vis.<br/><br/><b>7. Links</b> <br/>"
                               "<a href=\"zebravis.htm\">Soortbeschrijving</a><br/>kweek.htm<br/>");
    ASSERT_EQ(expected.size(), 1602);

    const QString html = BuildArticle(workedExample(), ArticleFlavour::Html);
    EXPECT_EQ(html, expected);
    EXPECT_EQ(html.size(), 1602);
    EXPECT_EQ(html.count(kCrLf), 1);
}

TEST(BuildArticle, EveryFieldFollowsItsHeadingInTemplateOrder)
{
    ArticleDocument doc;
    for (std::size_t i = 0; i < doc.fields.size(); ++i)
        doc.fields[i] = QStringLiteral("[%1]").arg(toQString(kFields[i].name));

    for (const ArticleFlavour flavour : {ArticleFlavour::Forum, ArticleFlavour::Html}) {
        const QString br = flavour == ArticleFlavour::Html ? QStringLiteral("<br/>") : kCrLf;
        QString expected = QStringLiteral("<b>[txtTitel]</b>") + br + br +
                           QStringLiteral("<i>Geschreven door: [txtAuteur]</i>") + br + br;
        for (const Row& row : kTemplate) {
            expected += QString::fromUtf8(row.heading) + br;
            if (row.field)
                expected += QStringLiteral("[%1]").arg(QString::fromUtf8(row.field)) + br + br;
        }
        EXPECT_EQ(BuildArticle(doc, flavour), expected) << int(flavour);
    }
}

TEST(BuildArticle, EmptyDocumentStillHasEveryHeading)
{
    const ArticleDocument doc;
    const QString forum = BuildArticle(doc, ArticleFlavour::Forum);
    EXPECT_TRUE(forum.startsWith(QStringLiteral("<b></b>\r\n\r\n<i>Geschreven door: </i>\r\n\r\n<b>1. Inleiding</b>\r\n")));
    EXPECT_TRUE(forum.endsWith(QStringLiteral("<u>5.3 Opkweken van jongbroed</u>\r\n\r\n\r\n"
                                              "<b>6. Conclusie</b> \r\n\r\n\r\n<b>7. Links</b> \r\n")));
    for (const Row& row : kTemplate)
        EXPECT_EQ(forum.count(QString::fromUtf8(row.heading) + kCrLf), 1) << row.heading;

    const QString html = BuildArticle(doc, ArticleFlavour::Html);
    EXPECT_TRUE(html.startsWith(QStringLiteral("<b></b><br/><br/><i>Geschreven door: </i><br/><br/>")));
    EXPECT_TRUE(html.endsWith(QStringLiteral("<b>7. Links</b> <br/>")));
    EXPECT_FALSE(html.contains(kCrLf));
}

TEST(BuildArticle, FieldTextsPassUnchanged)
{
    ArticleDocument doc;
    const QString tricky = QStringLiteral("  <b>vet</b> & \"zo\"\r\nregel 2 \t");
    doc.field("txtTitel") = tricky;
    doc.field("txtGrootte") = tricky;
    for (const ArticleFlavour flavour : {ArticleFlavour::Forum, ArticleFlavour::Html}) {
        const QString br = flavour == ArticleFlavour::Html ? QStringLiteral("<br/>") : kCrLf;
        const QString text = BuildArticle(doc, flavour);
        EXPECT_TRUE(text.startsWith(QStringLiteral("<b>") + tricky + QStringLiteral("</b>") + br + br));
        EXPECT_TRUE(text.contains(QStringLiteral("<u>2.7 Grootte</u>") + br + tricky + br + br));
        EXPECT_FALSE(text.contains(QStringLiteral("&amp;")));
        EXPECT_FALSE(text.contains(QStringLiteral("&lt;")));
    }
    // In Html a CR LF in a field stays a CR LF.
    EXPECT_EQ(BuildArticle(doc, ArticleFlavour::Html).count(kCrLf), 2);
}

// One link line and what each flavour makes of it.
struct LinkCase {
    const char16_t* line;
    const char16_t* forum;
    const char16_t* html;
};

constexpr LinkCase kLinkCases[] = {
    // Blanks around the pieces go; tabs and line ends stay.
    {u"  Info ,  http://vis.nl/a ", u"[URL=http://vis.nl/a]Info[/URL]\r\n", u"<a href=\"http://vis.nl/a\">Info</a><br/>"},
    {u"\tInfo\t, \thttp://x\t", u"[URL=\thttp://x\t]\tInfo\t[/URL]\r\n", u"<a href=\"\thttp://x\t\">\tInfo\t</a><br/>"},
    {u"\r\nInfo, url\r\n", u"[URL=url\r\n]\r\nInfo[/URL]\r\n", u"<a href=\"url\r\n\">\r\nInfo</a><br/>"},
    // A description may hold commas; a URL keeps its own.
    {u"Cichliden, verzorging en kweek, http://www.aquarium.nl/cichliden",
     u"[URL=http://www.aquarium.nl/cichliden]Cichliden, verzorging en kweek[/URL]\r\n",
     u"<a href=\"http://www.aquarium.nl/cichliden\">Cichliden, verzorging en kweek</a><br/>"},
    {u"Info, http://a.nl/x,y", u"[URL=http://a.nl/x,y]Info[/URL]\r\n", u"<a href=\"http://a.nl/x,y\">Info</a><br/>"},
    {u"Kaal,http://b.nl/p,q", u"[URL=http://b.nl/p,q]Kaal[/URL]\r\n", u"<a href=\"http://b.nl/p,q\">Kaal</a><br/>"},
    // No description: the URL alone.
    {u"   , kweek.htm", u"[URL]kweek.htm[/URL]\r\n", u"kweek.htm<br/>"},
    {u", a.htm ", u"[URL]a.htm[/URL]\r\n", u"a.htm<br/>"},
    // The URL is never tested, and nothing is escaped.
    {u"Info,", u"[URL=]Info[/URL]\r\n", u"<a href=\"\">Info</a><br/>"},
    {u",", u"[URL][/URL]\r\n", u"<br/>"},
    {u"<i>A&B</i>, x.htm?a=1&b=\"2\"", u"[URL=x.htm?a=1&b=\"2\"]<i>A&B</i>[/URL]\r\n",
     u"<a href=\"x.htm?a=1&b=\"2\"\"><i>A&B</i></a><br/>"},
    // Lines from files written elsewhere: without a comma a URL-only link of
    // the trimmed text; an empty or blank line gives nothing.
    {u"  zebravis.htm ", u"[URL]zebravis.htm[/URL]\r\n", u"zebravis.htm<br/>"},
    {u"", u"", u""},
    {u"   ", u"", u""},
};

TEST(BuildArticle, EachLinkLineInBothFlavours)
{
    for (const LinkCase& c : kLinkCases) {
        const QStringList line{QString::fromUtf16(c.line)};
        SCOPED_TRACE(line.front().toStdString());
        EXPECT_EQ(links(line, ArticleFlavour::Forum), QString::fromUtf16(c.forum));
        EXPECT_EQ(links(line, ArticleFlavour::Html), QString::fromUtf16(c.html));
    }
}

TEST(BuildArticle, LinksKeepListOrder)
{
    QStringList lines;
    QString expected;
    for (int i = 0; i < 50; ++i) {
        lines << QStringLiteral("d%1, u%1").arg(i);
        expected += QStringLiteral("[URL=u%1]d%1[/URL]\r\n").arg(i);
    }
    EXPECT_EQ(links(lines, ArticleFlavour::Forum), expected);
}

}  // namespace
}  // namespace vinkring

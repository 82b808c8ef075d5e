// The field and page tables that the window, generator, format and spelling check read.
#include <gtest/gtest.h>

#include <set>

#include "model/articledocument.h"
#include "model/fieldtable.h"
#include "model/linkentry.h"

using namespace vinkring;

TEST(FieldTable, NamesAreUniqueAndInPageOrder)
{
    std::set<std::string_view> names;
    int lastPage = 0;
    for (const FieldInfo& f : kFields) {
        EXPECT_TRUE(names.insert(f.name).second) << f.name;
        EXPECT_GE(f.page, lastPage) << f.name;
        lastPage = f.page;
    }
    EXPECT_EQ(kFields.front().name, "txtTitel");
    EXPECT_EQ(kFields[5].name, "txtFamilie");
    EXPECT_EQ(kFields[6].name, "txtVindPLaats");
    EXPECT_EQ(kFields[21].name, "txtVOedselNature");
    EXPECT_EQ(kFields.back().name, "txtConclusie");
}

TEST(FieldTable, OnlyTitleAndAuthorAreSingleLine)
{
    int multi = 0;
    for (const FieldInfo& f : kFields)
        multi += f.multiLine ? 1 : 0;
    EXPECT_EQ(multi, int(kSectionCount));
    EXPECT_FALSE(kFields[kTitleField].multiLine);
    EXPECT_FALSE(kFields[kAuthorField].multiLine);
}

TEST(FieldTable, FamilyDefaultIsItsTwentySevenCharacters)
{
    const ArticleDocument doc = defaultDocument();
    EXPECT_EQ(doc.field("txtFamilie"), QStringLiteral("Familie:\r\nOrde: \r\nKlasse:\r\n"));
    EXPECT_EQ(doc.field("txtFamilie").size(), 27);
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        if (kFields[i].name != "txtFamilie") {
            EXPECT_TRUE(doc.fields[i].isEmpty()) << kFields[i].name;
        }
    }
}

TEST(FieldTable, EveryFieldFitsInsideItsPage)
{
    // Pages are 11655 by 5535 twips.
    for (const FieldInfo& f : kFields) {
        EXPECT_GE(f.geometry.left, 0) << f.name;
        EXPECT_LE(f.geometry.left + f.geometry.width, 11655) << f.name;
        EXPECT_LE(f.geometry.top + f.geometry.height, 5535) << f.name;
    }
}

TEST(FieldTable, AccessKeyMarkerIsNotShown)
{
    EXPECT_EQ(stripAccessKey("&Titel van het artikel:"), "Titel van het artikel:");
    EXPECT_EQ(stripAccessKey("Be&waren"), "Bewaren");
    EXPECT_EQ(stripAccessKey("Vis && zo"), "Vis & zo");
    EXPECT_EQ(stripAccessKey("Vindplaats:"), "Vindplaats:");
}

TEST(FieldTable, SharedGuideTexts)
{
    EXPECT_EQ(kPages[2].guideText, kPages[6].guideText);
    EXPECT_EQ(kPages[7].guideText, kPages[8].guideText);
    EXPECT_NE(kPages[2].guideText, kPages[7].guideText);
    EXPECT_NE(kPages[9].guideText.find("'hoofdstuk'  behandeld"), std::string_view::npos);
    EXPECT_NE(kPages[11].guideText.find("'uw ' vis."), std::string_view::npos);
}

// A link line and the pieces it divides into.
struct SplitCase {
    const char16_t* line;
    bool hasComma;
    const char16_t* description;
    const char16_t* url;
};

constexpr SplitCase kSplitCases[] = {
    // A description may hold commas: the last ", " divides.
    {u"Cichliden, verzorging en kweek, http://www.aquarium.nl/cichliden", true, u"Cichliden, verzorging en kweek",
     u" http://www.aquarium.nl/cichliden"},
    {u", kweek.htm", true, u"", u" kweek.htm"},
    // A comma without a blank in the URL stays in it.
    {u"Info, http://a.nl/x,y", true, u"Info", u" http://a.nl/x,y"},
    // Without ", " the first comma divides.
    {u"Info,http://a.nl/x,y", true, u"Info", u"http://a.nl/x,y"},
    {u"geen komma", false, u"geen komma", u""},
    {u",", true, u"", u""},
};

TEST(LinkLine, DividesAtTheLastCommaAndBlankElseAtTheFirstComma)
{
    for (const SplitCase& c : kSplitCases) {
        const LinkPieces p = splitLinkLine(QString::fromUtf16(c.line));
        SCOPED_TRACE(QString::fromUtf16(c.line).toStdString());
        EXPECT_EQ(p.hasComma, c.hasComma);
        EXPECT_EQ(p.description, QString::fromUtf16(c.description));
        EXPECT_EQ(p.url, QString::fromUtf16(c.url));
    }
}

TEST(LinkLine, BuiltLinesDivideBackIntoTheirPieces)
{
    const QString descriptions[] = {QStringLiteral("Vis, soort"), QStringLiteral(", ,"), QString(),
                                    QStringLiteral("a,")};
    for (const QString& description : descriptions) {
        const LinkPieces p = splitLinkLine(makeLinkLine(description, QStringLiteral("page.htm")));
        EXPECT_EQ(p.description, description);
        EXPECT_EQ(p.url, QStringLiteral(" page.htm"));
    }
    // A ", " inside a URL is written so that it cannot divide the line.
    const QString line = makeLinkLine(QStringLiteral("Kaart, groot"), QStringLiteral("http://a.nl/?q=1, 2"));
    EXPECT_EQ(line, QStringLiteral("Kaart, groot, http://a.nl/?q=1,%202"));
    const LinkPieces p = splitLinkLine(line);
    EXPECT_EQ(p.description, QStringLiteral("Kaart, groot"));
    EXPECT_EQ(p.url, QStringLiteral(" http://a.nl/?q=1,%202"));
}

TEST(LinkLine, TrimsSpacesOnly)
{
    EXPECT_EQ(trimSpaces(QStringLiteral("  a b  ")), QStringLiteral("a b"));
    EXPECT_EQ(trimSpaces(QStringLiteral("\ta\t")), QStringLiteral("\ta\t"));
    EXPECT_EQ(trimSpaces(QStringLiteral(" \r\nx ")), QStringLiteral("\r\nx"));
    EXPECT_EQ(trimSpaces(QStringLiteral("   ")), QString());
    EXPECT_EQ(makeLinkLine(QStringLiteral(" Info "), QStringLiteral(" u ")), QStringLiteral(" Info ,  u "));
}

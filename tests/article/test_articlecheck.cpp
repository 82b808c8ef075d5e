// The check of an article: each kind of finding at its place as the writer
// counts it, none for a clean article, and the warning a passing note adds.
#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

#include "article/articlebuilder.h"
#include "article/articlecheck.h"
#include "article/forumpost.h"

namespace vinkring {
namespace {

// Every part written, and a link that opens.
ArticleDocument cleanArticle()
{
    ArticleDocument doc;
    for (QString& text : doc.fields)
        text = QStringLiteral("Een <b>goede</b> tekst.\r\nMet een tweede regel.");
    doc.field("txtTitel") = QStringLiteral("De neon");
    doc.field("txtAuteur") = QStringLiteral("Jan");
    doc.links = {QStringLiteral("Vinkring, http://www.vinkring.nl"), QStringLiteral("Post, mailto:jan@a.nl")};
    return doc;
}

struct Expected {
    CheckKind kind;
    QString where;
    qsizetype offset;
    qsizetype length;
    QString says = {};  // a part of what the finding says
};

struct Case {
    const char* name;
    std::function<void(ArticleDocument&)> change;
    QList<Expected> findings;
    QString warning;
    CheckContext context = {};
};

const QString kNauw = QStringLiteral("2.10 Nauw verwante soorten, varianten en kruisingen, regel %1");

TEST(ArticleCheck, FindsEachKindAtItsPlace)
{
    const QList<Case> cases{
        {"clean", [](ArticleDocument&) {}, {}, {}},
        {"tag not closed, third line",
         [](ArticleDocument& d) { d.field("txtNauwVerwanten") = QStringLiteral("een\r\ntwee\r\ndrie <b>vet"); },
         {{CheckKind::TagNotClosed, kNauw.arg(3), 16, 3}},
         QStringLiteral("Let op: 1 open tag — Beeld > Artikel controleren")},
        {"two open tags in two sections",
         [](ArticleDocument& d) {
             d.field("txtVindPLaats") = QStringLiteral("<i>Azië");
             d.field("txtConclusie") = QStringLiteral("Goed.\r\n\r\nMooi <U>vis");
         },
         {{CheckKind::TagNotClosed, QStringLiteral("2.4 Vindplaats, regel 1"), 0, 3},
          {CheckKind::TagNotClosed, QStringLiteral("6. Conclusie, regel 3"), 14, 3}},
         QStringLiteral("Let op: 2 open tags — Beeld > Artikel controleren")},
        {"closed without being opened",
         [](ArticleDocument& d) { d.field("txtNauwVerwanten") = QStringLiteral("rood</i>"); },
         {{CheckKind::TagNotOpened, kNauw.arg(1), 4, 4}},
         QStringLiteral("Let op: 1 losse sluittag — Beeld > Artikel controleren")},
        {"crossed",
         [](ArticleDocument& d) { d.field("txtNauwVerwanten") = QStringLiteral("a\r\n<b><i>x</b></i>"); },
         {{CheckKind::TagsCrossed, kNauw.arg(2), 10, 4}},
         QStringLiteral("Let op: 1 kruising van tags — Beeld > Artikel controleren")},
        {"link code not closed, and one no browser opens",
         [](ArticleDocument& d) {
             d.field("txtNauwVerwanten") = QStringLiteral("Zie\r\n[URL=javascript:x()]klik[/URL]");
             d.field("txtBouw") = QStringLiteral("zie [URL=http://a.nl]hier");
             d.links.clear();
         },
         {{CheckKind::LinkNotOpenable, kNauw.arg(2), 5, 20},
          {CheckKind::LinkNotClosed, QStringLiteral("2.12 Bouw van de vis, regel 1"), 4, 17, QStringLiteral("nergens")}},
         QStringLiteral("Let op: 1 link zonder [/URL], 1 dode link — Beeld > Artikel controleren")},
        {"link code closed in a later section: the codes between show as text",
         [](ArticleDocument& d) {
             d.field("txtZiekten") = QStringLiteral("[URL=http://a.nl]x[/URL");
             d.field("txtAlgemeengedrag") = QStringLiteral("[URL=www.vinkring.nl]zonder schema[/URL]");
         },
         {{CheckKind::LinkNotClosed, QStringLiteral("2.13 Gevoeligheid voor bepaalde ziekten of stoffen, regel 1"), 0,
           17, QStringLiteral("tot de [/URL] in 3.1 Algemeen gedrag, regel 1")},
          {CheckKind::NotForumMarkup, QStringLiteral("3.1 Algemeen gedrag, regel 1"), 0, 21,
           QStringLiteral("link die nog open is")}},
         QStringLiteral("Let op: 1 link zonder [/URL], 1 onbekende code — Beeld > Artikel controleren")},
        {"tag closed in a later section: told where it opens only",
         [](ArticleDocument& d) {
             d.field("txtWaterwaarden") = QStringLiteral("<b>over");
             d.field("txtTemperatuur") = QStringLiteral("sluit</b> hier");
         },
         {{CheckKind::TagNotClosed, QStringLiteral("2.5 Waterwaarden, regel 1"), 0, 3,
           QStringLiteral("ook de volgende onderdelen")}},
         QStringLiteral("Let op: 1 open tag — Beeld > Artikel controleren")},
        {"a [/URL] that closes nothing, a link inside a link",
         [](ArticleDocument& d) {
             d.field("txtNauwVerwanten") = QStringLiteral("[URL=http://a.nl]a [URL=http://b.nl]b[/URL][/URL]");
         },
         {{CheckKind::NotForumMarkup, kNauw.arg(1), 19, 17, QStringLiteral("link die nog open is")},
          {CheckKind::NotForumMarkup, kNauw.arg(1), 43, 6, QStringLiteral("[/URL] sluit niets")}},
         QStringLiteral("Let op: 2 onbekende codes — Beeld > Artikel controleren")},
        {"three kinds at once, in all",
         [](ArticleDocument& d) { d.field("txtNauwVerwanten") = QStringLiteral("<b>a</i>\r\n<center>"); },
         {{CheckKind::TagNotClosed, kNauw.arg(1), 0, 3},
          {CheckKind::TagNotOpened, kNauw.arg(1), 4, 4},
          {CheckKind::NotForumMarkup, kNauw.arg(2), 10, 8}},
         QStringLiteral("Let op: 3 fouten in tags en codes — Beeld > Artikel controleren")},
        {"markup the forum does not show",
         [](ArticleDocument& d) { d.field("txtNauwVerwanten") = QStringLiteral("<center>x"); },
         {{CheckKind::NotForumMarkup, kNauw.arg(1), 0, 8}},
         QStringLiteral("Let op: 1 onbekende code — Beeld > Artikel controleren")},
        {"empty section, title and author",
         [](ArticleDocument& d) {
             d.field("txtTitel").clear();
             d.field("txtAuteur") = QStringLiteral("  ");
             d.field("txtVindPLaats") = QStringLiteral("\r\n ");
         },
         {{CheckKind::EmptyTitle, QStringLiteral("Titel van het artikel"), 0, 0},
          {CheckKind::EmptyAuthor, QStringLiteral("Naam van de auteur(s)"), 0, 0},
          {CheckKind::EmptySection, QStringLiteral("2.4 Vindplaats"), 0, 0}},
         {}},
        {"doubtful link lines",
         [](ArticleDocument& d) {
             d.links = {QStringLiteral("Vinkring, http://www.vinkring.nl"), QStringLiteral("http://a.nl"),
                        QStringLiteral("Site, www.vinkring.nl"), QStringLiteral("Foto, http://a.nl/een foto.jpg")};
         },
         {{CheckKind::LinkWithoutDescription, QStringLiteral("Links, regel 2"), 0, 11},
          {CheckKind::LinkWithoutScheme, QStringLiteral("Links, regel 3"), 6, 15},
          {CheckKind::LinkWithBlank, QStringLiteral("Links, regel 4"), 21, 1}},
         QStringLiteral("Let op: 1 dode link — Beeld > Artikel controleren")},
        {"spelling", [](ArticleDocument&) {}, {{CheckKind::UnknownWords, QStringLiteral("Spelling"), 0, 0}}, {},
         {0, 3}},
        {"a link line without an address, an address with a tab, one with a bracket",
         [](ArticleDocument& d) {
             d.links = {QStringLiteral("Leeg adres, "), QStringLiteral("Tab, http://a.nl/\tb"),
                        QStringLiteral("Haak, http://a.nl/x]y")};
         },
         {{CheckKind::LinkNotOpenable, QStringLiteral("Links, regel 1"), 12, 0,
           QStringLiteral("Deze link heeft geen adres")},
          {CheckKind::LinkWithBlank, QStringLiteral("Links, regel 2"), 17, 1,
           QStringLiteral("http://a.nl/→b bevat een tab")},
          {CheckKind::LinkWithBlank, QStringLiteral("Links, regel 3"), 19, 1, QStringLiteral("bevat een ]")}},
         QStringLiteral("Let op: 2 dode links — Beeld > Artikel controleren")},
        {"the article as a whole first",
         [](ArticleDocument& d) {
             d.field("txtNauwVerwanten") = QStringLiteral("<b>x");
             d.field("txtTitel").clear();
         },
         {{CheckKind::EmptyTitle, QStringLiteral("Titel van het artikel"), 0, 0},
          {CheckKind::UnknownWords, QStringLiteral("Spelling"), 0, 0},
          {CheckKind::TagNotClosed, kNauw.arg(1), 0, 3}},
         QStringLiteral("Let op: 1 open tag — Beeld > Artikel controleren"),
         {0, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ArticleDocument doc = cleanArticle();
        c.change(doc);
        const QList<CheckFinding> found = checkArticle(doc, c.context);
        EXPECT_EQ(found.size(), c.findings.size());
        for (qsizetype i = 0; i < std::min(found.size(), c.findings.size()); ++i) {
            SCOPED_TRACE(found[i].where.toStdString() + ": " + found[i].what.toStdString());
            EXPECT_EQ(found[i].kind, c.findings[i].kind);
            EXPECT_EQ(found[i].where.toStdString(), c.findings[i].where.toStdString());
            EXPECT_EQ(found[i].offset, c.findings[i].offset);
            EXPECT_EQ(found[i].length, c.findings[i].length);
            EXPECT_FALSE(found[i].what.isEmpty());
            EXPECT_TRUE(found[i].what.contains(c.findings[i].says));
        }
        EXPECT_EQ(markupWarning(doc).toStdString(), c.warning.toStdString());
    }
}

// Over the limit, the finding gives the share; at the limit, none.
TEST(ArticleCheck, PostOverTheLimitWithItsShare)
{
    const ArticleDocument doc = cleanArticle();
    const qsizetype characters = countCharacters(BuildArticle(doc, ArticleFlavour::Forum));
    EXPECT_TRUE(checkArticle(doc, {characters, 0}).isEmpty());
    const QList<CheckFinding> found = checkArticle(doc, {characters / 2, 0});
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found[0].kind, CheckKind::PostTooLong);
    EXPECT_EQ(found[0].where, QStringLiteral("Het hele bericht"));
    EXPECT_TRUE(found[0].what.contains(QStringLiteral("200%"))) << found[0].what.toStdString();
}

}  // namespace
}  // namespace vinkring

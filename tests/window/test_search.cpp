// The search over the session's document: a line end in the search text
// finds one in the article, and the count hears every edit, the links' too.
#include "formfixture.h"

#include <QClipboard>
#include <QTest>

#include "eventually.h"
#include "window/aids/searchbar.h"
#include "window/form/linkseditor.h"

namespace vinkring::test {
namespace {

class Search : public FormTest {};

TEST_F(Search, FindsAcrossLineEndsAndCountsAfterEveryEdit)
{
    ArticleDocument doc = form().document();
    const std::size_t intro = *fieldIndex("txtInleiding");
    doc.fields[intro] = QStringLiteral("Dit is een kleine vis.\r\nHij zwemt snel.");
    doc.fields[kTitleField] = QStringLiteral("Zebravis");
    doc.links = {QStringLiteral("Zebravis wiki, https://nl.wikipedia.org/wiki/Zebravis")};
    form().setDocument(doc);
    form().show();
    SearchBar& bar = program().searchBar();
    bar.open(false);

    // Pasted with its line end, which the field shows as its mark.
    QGuiApplication::clipboard()->setText(QStringLiteral("vis.\nHij"));
    bar.findField()->clear();
    bar.findField()->paste();
    EXPECT_EQ(bar.findField()->text(), QStringLiteral("vis.↵Hij"));
    EXPECT_EVENTUALLY(bar.countText() == QStringLiteral("1 treffer"));
    ASSERT_TRUE(bar.findNext());
    const qsizetype at = doc.fields[intro].indexOf(QStringLiteral("vis."));
    EXPECT_EQ(form().fields().selection(intro), (TextSelection{at, at + 9}));
    EXPECT_EQ(form().currentPage(), 2);

    // Typing over a one-character selection, and a change of the links.
    bar.findField()->setText(QStringLiteral("Zebravis"));
    EXPECT_EVENTUALLY(bar.countText() == QStringLiteral("3 treffers"));
    form().Command1_Click(0);
    auto* title = child<QLineEdit>("txtTitel");
    title->setFocus();
    title->setSelection(0, 1);
    QTest::keyClick(title, Qt::Key_Q);
    EXPECT_EVENTUALLY(bar.countText() == QStringLiteral("2 treffers"));
    LinksEditor& links = form().linksEditor();
    links.findChild<QLineEdit*>(QStringLiteral("txtLinkOMS"))->setText(QStringLiteral("Zebravis op Vinkring"));
    links.findChild<QLineEdit*>(QStringLiteral("txtURL"))->setText(QStringLiteral("https://vinkring.nl"));
    links.Command2_Click();
    EXPECT_EVENTUALLY(bar.countText() == QStringLiteral("3 treffers"));
    form().history().undo();
    EXPECT_EVENTUALLY(bar.countText() == QStringLiteral("2 treffers"));
}

// Keys typed right after "Alles vervangen"'s access key go into the field,
// not into the replacement.
TEST_F(Search, AnAccessKeyReplacesWithTheTextAsItWasThen)
{
    ArticleDocument doc = form().document();
    const std::size_t intro = *fieldIndex("txtInleiding");
    doc.fields[intro] = QStringLiteral("vis en vis");
    form().setDocument(doc);
    form().show();
    QApplication::setActiveWindow(&form());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    SearchBar& bar = program().searchBar();
    bar.open(true);
    bar.findField()->setText(QStringLiteral("vis"));
    bar.replaceField()->setText(QStringLiteral("bak"));
    bar.replaceField()->setFocus();
    QTest::keyClick(bar.replaceField(), Qt::Key_A, Qt::AltModifier);
    QTest::keyClicks(bar.replaceField(), QStringLiteral("zz"));
    EXPECT_EQ(form().fields().text(intro), QStringLiteral("bak en bak"));
    EXPECT_EQ(bar.replaceField()->text(), QStringLiteral("bakzz"));
}

}  // namespace
}  // namespace vinkring::test

// The one history of the article's changes: a replace all and a formatting
// command are one step each, across fields and links, undone without moving
// the writer's place; typing is undone a word, or a stretch, at a time.
#include "formfixture.h"

#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>

#include "window/aids/searchbar.h"
#include "window/form/linkseditor.h"

namespace vinkring::test {
namespace {

class History : public FormTest {
protected:
    void SetUp() override
    {
        form().show();
        QApplication::setActiveWindow(&form());
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    }

    void key(QWidget* to, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
    {
        QTest::keyClick(to, key, modifiers);
    }
};

TEST_F(History, ACommandIsOneStepAcrossFieldsAndKeepsTheWritersPlace)
{
    ArticleDocument before = form().document();
    QStringList lines;
    for (int i = 0; i < 80; ++i)
        lines << QStringLiteral("Regel %1 over de zebravis in het aquarium.").arg(i);
    const std::size_t intro = *fieldIndex("txtInleiding");
    before.fields[intro] = lines.join(QStringLiteral("\r\n"));
    before.field("txtConclusie") = QStringLiteral("De zebravis is een mooie vis.");
    before.fields[kTitleField] = QStringLiteral("Zebravis");
    before.links = {QStringLiteral("Zebravis wiki, https://nl.wikipedia.org/wiki/Zebravis")};
    form().setDocument(before);
    form().Command1_Click(1);

    // The writer is at line 40, with the field scrolled there.
    ArticleFields& fields = form().fields();
    auto* field = child<QPlainTextEdit>("txtInleiding");
    const qsizetype at = before.fields[intro].indexOf(QStringLiteral("Regel 40"));
    fields.focus(intro);
    fields.select(intro, {at, at});
    const int scrolled = field->verticalScrollBar()->value();
    ASSERT_GT(scrolled, 0);

    SearchBar& bar = program().searchBar();
    bar.findField()->setText(QStringLiteral("zebravis"));
    bar.replaceField()->setText(QStringLiteral("danio"));
    bar.replaceAll();
    const ArticleDocument after = form().document();
    EXPECT_EQ(after.fields[kTitleField], QStringLiteral("danio"));
    EXPECT_EQ(after.links.front(), QStringLiteral("danio wiki, https://nl.wikipedia.org/wiki/danio"));
    // Replaced hit by hit: the cursor moved with the 40 lines before it, the view stayed.
    EXPECT_EQ(fields.cursor(intro), at - 40 * 3);
    EXPECT_EQ(field->verticalScrollBar()->value(), scrolled);

    // One Ctrl+Z takes all of it back, in four fields and a link, and the place stays.
    field->setFocus();
    key(field, Qt::Key_Z);
    EXPECT_EQ(form().document(), before);
    EXPECT_EQ(fields.cursor(intro), at);
    EXPECT_EQ(field->verticalScrollBar()->value(), scrolled);
    EXPECT_EQ(form().currentPage(), 2);
    // Ctrl+Y and Ctrl+Shift+Z redo it.
    key(field, Qt::Key_Y);
    EXPECT_EQ(form().document(), after);
    key(field, Qt::Key_Z);
    key(field, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(form().document(), after);

    // A formatting command on the selection: one step of its own.
    const qsizetype line40 = after.fields[intro].indexOf(QStringLiteral("Regel 40"));
    fields.select(intro, {line40, line40 + 8});
    key(field, Qt::Key_B);
    EXPECT_TRUE(form().document().fields[intro].contains(QStringLiteral("<b>Regel 40</b>")));
    key(field, Qt::Key_Z);
    EXPECT_EQ(form().document(), after);
    EXPECT_EQ(field->verticalScrollBar()->value(), scrolled);
}

TEST_F(History, TypingIsUndoneInTheStepsAWriterExpects)
{
    ArticleFields& fields = form().fields();
    ArticleHistory& history = form().history();
    auto* title = child<QLineEdit>("txtTitel");
    // In the title: End, Ctrl+B, then "é😀": the typing and the tags are two steps.
    title->setFocus();
    QTest::keyClicks(title, QStringLiteral("Guppy"));
    key(title, Qt::Key_End, Qt::NoModifier);
    key(title, Qt::Key_B);
    for (const QString& typed : {QStringLiteral("é"), QStringLiteral("😀")})
        QTest::sendKeyEvent(QTest::Click, title, Qt::Key_unknown, typed, Qt::NoModifier);
    EXPECT_EQ(fields.text(kTitleField), QStringLiteral("Guppy<b>é😀</b>"));
    key(title, Qt::Key_Z);
    EXPECT_EQ(fields.text(kTitleField), QStringLiteral("Guppy<b></b>"));
    key(title, Qt::Key_Z);
    EXPECT_EQ(fields.text(kTitleField), QStringLiteral("Guppy"));

    // Two sentences in a section field: a word (with what follows it) at a time.
    form().Command1_Click(1);
    const std::size_t intro = *fieldIndex("txtInleiding");
    auto* field = child<QPlainTextEdit>("txtInleiding");
    field->setFocus();
    QTest::keyClicks(field, QStringLiteral("Een vis. Hij zwemt."));
    key(field, Qt::Key_Z);
    EXPECT_EQ(fields.text(intro), QStringLiteral("Een vis. Hij "));
    key(field, Qt::Key_Z);
    EXPECT_EQ(fields.text(intro), QStringLiteral("Een vis. "));
    key(field, Qt::Key_Y);
    // Backspace likewise; a cursor move ends a step.
    for (int i = 0; i < 4; ++i)
        key(field, Qt::Key_Backspace, Qt::NoModifier);
    EXPECT_EQ(fields.text(intro), QStringLiteral("Een vis. "));
    key(field, Qt::Key_Left, Qt::NoModifier);
    QTest::keyClicks(field, QStringLiteral("!"));
    EXPECT_EQ(fields.text(intro), QStringLiteral("Een vis.! "));
    key(field, Qt::Key_Z);
    key(field, Qt::Key_Z);
    EXPECT_EQ(fields.text(intro), QStringLiteral("Een vis. Hij "));

    // The order is the article's, across fields and the links: undone from
    // elsewhere, a step shows where it was undone.
    LinksEditor& links = form().linksEditor();
    form().showPage(13);
    auto* url = links.findChild<QLineEdit*>(QStringLiteral("txtURL"));
    links.findChild<QLineEdit*>(QStringLiteral("txtLinkOMS"))->insert(QStringLiteral("Twee\r\nregels"));
    url->setFocus();
    QTest::keyClicks(url, QStringLiteral("https://vinkring.nl"));
    links.Command2_Click();
    ASSERT_EQ(form().document().links, QStringList{QStringLiteral("Twee regels, https://vinkring.nl")})
        << "a line end in an input is one blank, as shown";
    // In the links editor's inputs Ctrl+Z takes back their own typing first,
    // then the command just done ("Verwijder" too).
    key(url, Qt::Key_Z);
    EXPECT_TRUE(form().document().links.isEmpty());
    key(url, Qt::Key_Y);
    links.findChild<QListWidget*>(QStringLiteral("List1"))->setCurrentRow(0);
    links.Command3_Click();
    ASSERT_TRUE(form().document().links.isEmpty());
    QTest::keyClicks(url, QStringLiteral("x"));
    key(url, Qt::Key_Z);
    EXPECT_EQ(url->text(), QString());
    ASSERT_TRUE(form().document().links.isEmpty());
    key(url, Qt::Key_Z);
    ASSERT_EQ(form().document().links.size(), 1);
    history.undo();
    EXPECT_TRUE(form().document().links.isEmpty());
    history.undo();
    EXPECT_EQ(fields.text(intro), QStringLiteral("Een vis. "));
    EXPECT_EQ(form().currentPage(), 2);
    history.undo();
    history.undo();
    EXPECT_EQ(fields.text(intro), QString());
    history.undo();
    EXPECT_EQ(fields.text(kTitleField), QString());
    EXPECT_EQ(form().currentPage(), 1);
}

}  // namespace
}  // namespace vinkring::test

// The window as the writer sees it: texts, fields, layout, focus and names.
#include "formfixture.h"

#include "eventually.h"

#include <QAccessible>
#include <QMenuBar>
#include <QTest>
#include <QWindow>

#include "model/texts.h"
#include "eventually.h"

using namespace vinkring;
using namespace vinkring::test;

namespace {

class Window : public FormTest {};

TEST_F(Window, CaptionPagesAndGuideTexts)
{
    form().winId();
    EXPECT_EQ(form().windowHandle()->title(), QStringLiteral("Vinkring Artikel Template"));
    for (int i = 0; i < 14; ++i) {
        const PageInfo& entry = kPages[std::size_t(i)];
        EXPECT_EQ(page(i)->title(), toQString(entry.caption));
        auto* guide = page(i)->findChild<QLabel*>(toQString(entry.guideLabelName));
        ASSERT_NE(guide, nullptr) << i;
        EXPECT_EQ(guide->text(), toQString(entry.guideText));
    }
    EXPECT_EQ(page(0)->title(), QStringLiteral("Algemeen"));
    EXPECT_EQ(page(13)->title(), QStringLiteral("Op het klembord plaatsen"));
    EXPECT_EQ(child<QLabel>("Label31")->text(), QStringLiteral("Het vierde 'hoofdstuk'  behandeld het voedsel."));
}

TEST_F(Window, EveryFieldOnItsPageWithItsLabel)
{
    for (const FieldInfo& entry : kFields) {
        QWidget* field = page(entry.page)->findChild<QWidget*>(toQString(entry.name));
        ASSERT_NE(field, nullptr) << entry.name;
        if (entry.labelName.empty())
            continue;
        auto* label = page(entry.page)->findChild<QLabel*>(toQString(entry.labelName));
        ASSERT_NE(label, nullptr) << entry.labelName;
        EXPECT_EQ(label->text(), toQString(entry.labelCaption));
        EXPECT_EQ(label->buddy(), field) << entry.name;
    }
    EXPECT_EQ(child<QLabel>("Label30")->text(), QStringLiteral("Gedrag in relatie tot leeftijd"));
}

TEST_F(Window, ButtonsAndMenu)
{
    EXPECT_EQ(command1(0)->text(), QStringLiteral("<"));
    EXPECT_EQ(command1(1)->text(), QStringLiteral(">"));
    EXPECT_EQ(command1(2)->text(), QStringLiteral("Klembord"));
    EXPECT_EQ(command1(3)->text(), QStringLiteral(">|"));
    EXPECT_EQ(child<QPushButton>("Command5")->text(), QStringLiteral("Preview in IE"));
    EXPECT_EQ(child<QPushButton>("Command6")->text(), QStringLiteral("Spellingscontrole"));
    EXPECT_EQ(child<QPushButton>("Command2")->text(), QStringLiteral("Voeg toe"));
    EXPECT_EQ(child<QPushButton>("Command3")->text(), QStringLiteral("Verwijder"));
    EXPECT_EQ(child<QPushButton>("Command4")->text(), QStringLiteral("Wijzig"));
    EXPECT_EQ(command1(2)->parentWidget(), page(13));

    auto* menu = child<QMenu>("mnuBestand");
    EXPECT_EQ(menu->title(), QStringLiteral("&Bestand"));
    const QList<QAction*> items = menu->actions();
    ASSERT_GE(items.size(), 3);
    EXPECT_EQ(items[0]->objectName(), QStringLiteral("mnuBestandNieuw"));
    EXPECT_EQ(items[0]->text(), QStringLiteral("&Nieuw"));
    EXPECT_EQ(items[1]->text(), QStringLiteral("&Openen"));
    EXPECT_EQ(items[2]->text(), QStringLiteral("Be&waren"));
    EXPECT_TRUE(items[3]->isSeparator());
    EXPECT_EQ(items[4]->text(), QStringLiteral("&Exporteren..."));
    EXPECT_EQ(items[5]->text(), QStringLiteral("&Importeren uit forumtekst..."));
    for (QAction* a : items)
        EXPECT_TRUE(a->shortcut().isEmpty());
}

TEST_F(Window, FreshWindowHoldsOnlyTheFamilyDefault)
{
    const ArticleDocument doc = form().document();
    EXPECT_EQ(doc, defaultDocument());
    EXPECT_EQ(doc.field("txtFamilie").size(), 27);
    EXPECT_EQ(child<QPlainTextEdit>("txtFamilie")->toPlainText(), QStringLiteral("Familie:\nOrde: \nKlasse:\n"));
}

TEST_F(Window, TitleAndAuthorAreSingleLine)
{
    form().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form()));
    auto* title = child<QLineEdit>("txtTitel");
    title->setFocus();
    QTest::keyClicks(title, QStringLiteral("Zebra"));
    QTest::keyClick(title, Qt::Key_Return);
    QTest::keyClicks(title, QStringLiteral("vis"));
    EXPECT_EQ(form().document().field("txtTitel"), QStringLiteral("Zebravis"));
    EXPECT_NE(child<QLineEdit>("txtAuteur"), nullptr);
}

TEST_F(Window, SectionFieldsKeepLineEndsAsCrLf)
{
    form().show();
    form().Command1_Click(1);
    auto* intro = child<QPlainTextEdit>("txtInleiding");
    intro->setFocus();
    QTest::keyClicks(intro, QStringLiteral("Regel een"));
    QTest::keyClick(intro, Qt::Key_Return);
    QTest::keyClick(intro, Qt::Key_Return);
    QTest::keyClicks(intro, QStringLiteral("Regel twee"));
    EXPECT_EQ(form().document().field("txtInleiding"), QStringLiteral("Regel een\r\n\r\nRegel twee"));
    EXPECT_TRUE(intro->tabChangesFocus());
}

TEST_F(Window, TextsComeBackExactlyAsSet)
{
    // A file written elsewhere may hold lone line ends and no-break spaces.
    const QString odd = QStringLiteral("a\nb\rc\r\nd\u00a0e\u2028f\t ");
    const std::size_t intro = fieldIndex("txtInleiding").value();
    form().fields().setText(intro, odd);
    EXPECT_EQ(form().fields().text(intro), odd);
    form().fields().setText(intro, QStringLiteral("x\r\ny"));
    EXPECT_EQ(form().fields().text(intro), QStringLiteral("x\r\ny"));

    // Once the writer edits it, the widget's text counts, with CR LF line ends.
    form().fields().setText(intro, odd);
    auto* edit = child<QPlainTextEdit>("txtInleiding");
    edit->moveCursor(QTextCursor::End);
    edit->insertPlainText(QStringLiteral("!"));
    EXPECT_EQ(form().fields().text(intro), QStringLiteral("a\r\nb\r\nc\r\nd\u00a0e\r\nf\t !"));
}

TEST_F(Window, ClientSizeFromTheDesign)
{
    form().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form()));
    EXPECT_EQ(form().centralWidget()->size(), QSize(790, 541));
    EXPECT_EQ(form().centralWidget()->minimumSize(), QSize(790, 541));
    EXPECT_EQ(child<QWidget>("pageArea")->geometry(), QRect(8, 128, 777, 369));
    EXPECT_EQ(page(0)->size(), QSize(777, 369));
    EXPECT_EQ(child<QWidget>("Image1")->geometry(), QRect(64, 8, 625, 90));
    EXPECT_EQ(command1(3)->geometry(), QRect(728, 512, 57, 25));
    EXPECT_EQ(child<QWidget>("txtInleiding")->geometry(), QRect(24, 88, 737, 265));
}

TEST_F(Window, FocusStartsInTheTitleAndFollowsThePage)
{
    form().show();
    QApplication::setActiveWindow(&form());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    ASSERT_EVENTUALLY(QApplication::focusWidget() == child<QWidget>("txtTitel"));

    // Page 0: the title, the author, ">|", round to ">" and the title again.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), child<QWidget>("txtAuteur"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), command1(3));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), command1(1));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), child<QWidget>("txtTitel"));

    // The last page: "Preview in IE", "Klembord", "Spellingscontrole", ">|".
    provide(texts::kProgIdBrowser);
    provide(texts::kProgIdSpreadsheet);
    form().Command1_Click(3);
    command1(0)->setFocus();
    const char* order[] = {"Command5", nullptr, "Command6"};
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);  // "<" to ... ">" is disabled
    EXPECT_EQ(QApplication::focusWidget(), child<QWidget>(order[0]));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), command1(2));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), child<QWidget>(order[2]));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), command1(3));
}

TEST_F(Window, AccessKeysFocusTitleAndAuthor)
{
    form().show();
    QApplication::setActiveWindow(&form());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    QTest::keyClick(&form(), Qt::Key_N, Qt::AltModifier);
    ASSERT_EVENTUALLY(QApplication::focusWidget() == child<QWidget>("txtAuteur"));
    QTest::keyClick(&form(), Qt::Key_T, Qt::AltModifier);
    ASSERT_EVENTUALLY(QApplication::focusWidget() == child<QWidget>("txtTitel"));
}

TEST_F(Window, FieldsAreNamedByTheirLabelsForAssistiveTechnology)
{
    for (const FieldInfo& entry : kFields) {
        QWidget* field = child<QWidget>(std::string(entry.name).c_str());
        QAccessibleInterface* acc = QAccessible::queryAccessibleInterface(field);
        ASSERT_NE(acc, nullptr);
        const QString expected = entry.labelName.empty() ? toQString(kPages[std::size_t(entry.page)].caption)
                                                        : QString::fromStdString(stripAccessKey(entry.labelCaption));
        EXPECT_EQ(acc->text(QAccessible::Name), expected) << entry.name;
    }
    EXPECT_EQ(QAccessible::queryAccessibleInterface(child<QWidget>("txtTitel"))->text(QAccessible::Name),
              QStringLiteral("Titel van het artikel:"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(child<QWidget>("txtInleiding"))->text(QAccessible::Name),
              QStringLiteral("Stap 1: Inleiding"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(child<QWidget>("txtURL"))->text(QAccessible::Name),
              QStringLiteral("URL:"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(child<QWidget>("txtLinkOMS"))->text(QAccessible::Name),
              QStringLiteral("Beschrijving:"));
    // Labels keep their own text as their name.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(child<QWidget>("Label3"))->text(QAccessible::Name),
              QStringLiteral("Titel van het artikel:"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(child<QWidget>("lblCounter"))->text(QAccessible::Name),
              QStringLiteral("Formulier 1 van 14"));
}

TEST_F(Window, NewEmptiesEveryTextControl)
{
    ArticleDocument doc = form().document();
    doc.field("txtTitel") = QStringLiteral("Guppy");
    doc.links << QStringLiteral("a, b");
    form().setDocument(doc);
    child<QLineEdit>("txtURL")->setText(QStringLiteral("u"));
    child<QLineEdit>("txtLinkOMS")->setText(QStringLiteral("d"));
    form().mnuBestandNieuw_Click();
    const ArticleDocument empty = form().document();
    for (const QString& text : empty.fields)
        EXPECT_TRUE(text.isEmpty());
    EXPECT_TRUE(empty.links.isEmpty());
    EXPECT_TRUE(child<QLineEdit>("txtURL")->text().isEmpty());
    EXPECT_TRUE(child<QLineEdit>("txtLinkOMS")->text().isEmpty());
}

}  // namespace

// "Artikel controleren": a finding chosen in the list shows its page with the
// cursor on the spot, and a finding mended goes from the list.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "eventually.h"
#include "formfixture.h"
#include "window/aids/articlechecklist.h"
#include "window/form/articlefields.h"
#include "window/form/linkseditor.h"

namespace vinkring::test {
namespace {

class ArticleCheckTest : public FormTest {};

TEST_F(ArticleCheckTest, ChosenFindingGoesToItsPlace)
{
    ArticleDocument doc = defaultDocument();
    for (std::size_t i = 0; i < kFieldCount; ++i)
        doc.fields[i] = QStringLiteral("Tekst.");
    const std::size_t nauw = fieldIndex("txtNauwVerwanten").value();
    doc.fields[nauw] = QStringLiteral("een\r\ntwee\r\ndrie <b>vet");
    doc.links = {QStringLiteral("Vinkring, http://www.vinkring.nl"), QStringLiteral("Site, www.a.nl")};
    form().setDocument(doc);
    form().show();
    QApplication::setActiveWindow(&form());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));

    // F7 in the wizard opens the list beside it.
    QTest::keyClick(&form(), Qt::Key_F7);
    ArticleCheckList& check = program().articleCheck();
    ASSERT_TRUE(check.isVisible());
    QListWidget* list = check.list();
    ASSERT_EVENTUALLY(list->count() == 2);
    EXPECT_TRUE(list->item(0)->text().startsWith(
        QStringLiteral("2.10 Nauw verwante soorten, varianten en kruisingen, regel 3: ")));
    EXPECT_FALSE(check.geometry().intersects(form().geometry()));

    // Enter on the open tag: its page, the tag selected, the cursor in the field.
    QApplication::setActiveWindow(&check);
    list->setFocus();
    list->setCurrentRow(0);
    QTest::keyClick(list, Qt::Key_Return);
    ArticleFields& fields = form().fields();
    EXPECT_TRUE(fields.isShown(nauw));
    EXPECT_EQ(fields.selection(nauw), (TextSelection{16, 19}));
    EXPECT_EVENTUALLY(fields.focusedField() == nauw);

    // Chosen in the pause after typing, the finding is sought where it stands now.
    fields.replace(nauw, QStringLiteral("EKS een\r\ntwee\r\ndrie <b>vet"));
    QApplication::setActiveWindow(&check);
    list->setFocus();
    list->setCurrentRow(0);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(fields.selection(nauw), (TextSelection{20, 23}));

    // A double click on the link line without a scheme: the links page, that line.
    const QRect linkItem = list->visualItemRect(list->item(1));
    // As a mouse does it: a click, then the click that makes it double.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, linkItem.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, linkItem.center());
    EXPECT_FALSE(fields.isShown(nauw));
    EXPECT_EQ(form().linksEditor().selectedLine(), 1);
    // As a click on the line: its address to change, "Wijzig" and "Verwijder" on.
    EXPECT_EQ(form().findChild<QLineEdit*>(QStringLiteral("txtURL"))->text(), QStringLiteral("www.a.nl"));
    EXPECT_TRUE(form().findChild<QPushButton*>(QStringLiteral("Command3"))->isEnabled());
    EXPECT_TRUE(form().findChild<QPushButton*>(QStringLiteral("Command4"))->isEnabled());

    // Mended, the tag goes from the list; the list stays open.
    fields.replace(nauw, QStringLiteral("een\r\ntwee\r\ndrie <b>vet</b>"));
    EXPECT_EVENTUALLY(list->count() == 1);
    EXPECT_TRUE(list->item(0)->text().startsWith(QStringLiteral("Links, regel 2: ")));
    EXPECT_TRUE(check.isVisible());
    // Its menu item is checked while it is open; unchecked, it closes.
    QAction* item = check.openAction();
    EXPECT_TRUE(item->isChecked());
    item->setChecked(false);
    EXPECT_FALSE(check.isVisible());
}

}  // namespace
}  // namespace vinkring::test

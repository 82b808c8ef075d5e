// The writing mode: one section field over the window, with its heading and
// word count; Ctrl+S and the page keys work in it, and Escape or F11 go back
// to the page with the cursor where it was.
#include "formfixture.h"
#include "eventually.h"

#include <QAction>
#include <QTemporaryDir>
#include <QTest>

#include "document/documentfile.h"
#include "window/form/writingmode.h"

using namespace vinkring;
using namespace vinkring::test;

namespace {

TEST_F(FormTest, WritingModeHoldsOneSectionAndGivesItBack)
{
    QTemporaryDir dir;
    form().show();
    QApplication::setActiveWindow(&form());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    form().showPage(2);
    auto* field = child<QPlainTextEdit>("txtBeschrijver");
    field->setFocus();
    ASSERT_EVENTUALLY(QApplication::focusWidget() == field);
    QTest::keyClicks(field, QStringLiteral("Hamilton 1822"));
    QTextCursor cursor = field->textCursor();
    cursor.setPosition(8);
    field->setTextCursor(cursor);
    const QRect onPage = field->geometry();
    WritingMode& mode = form().writingMode();

    QTest::keyClick(field, Qt::Key_F11);
    ASSERT_TRUE(mode.field().has_value());
    EXPECT_TRUE(mode.action()->isChecked());
    EXPECT_EQ(mode.heading()->text(), QStringLiteral("2.2 Beschrijver van de vis"));
    EXPECT_EQ(mode.wordCount()->text(), QStringLiteral("2 woorden"));
    EXPECT_TRUE(field->isVisible());
    EXPECT_GT(field->height(), form().centralWidget()->height() * 3 / 4);
    EXPECT_GT(field->width(), form().centralWidget()->width() * 9 / 10);
    for (const char* gone : {"Image1", "lblCounter", "Label7", "txtUitlegNaam"})
        EXPECT_FALSE(child<QWidget>(gone)->isVisible()) << gone;

    // Typing goes on at the cursor, the count follows; Ctrl+S saves.
    EXPECT_EQ(QApplication::focusWidget(), field);
    QTest::keyClicks(field, QStringLiteral(" en Buchanan"));
    EXPECT_EVENTUALLY(mode.wordCount()->text() == QStringLiteral("4 woorden"));
    const QString path = dir.filePath(QStringLiteral("zebravis.vkv"));
    platform.fileDialog.answers.push_back(path);
    QTest::keyClick(field, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(platform.fileDialog.shown.size(), 1u);
    const DocumentReadResult saved = ReadDocumentFile(path);
    ASSERT_TRUE(saved.document);
    EXPECT_EQ(saved.document->field("txtBeschrijver"), QStringLiteral("Hamilton en Buchanan 1822"));

    // The page keys go from section to section, in the mode.
    QTest::keyClick(field, Qt::Key_Right, Qt::AltModifier);
    auto* next = child<QPlainTextEdit>("txtFamilie");
    EXPECT_EQ(QApplication::focusWidget(), next);
    EXPECT_EQ(mode.heading()->text(), QStringLiteral("2.3 Familie, orde en klasse"));
    QTest::keyClick(next, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), field);

    // Escape: the page as it was, the cursor where it was.
    const int at = field->textCursor().position();
    EXPECT_EQ(at, 20);
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_FALSE(mode.field().has_value());
    EXPECT_FALSE(mode.action()->isChecked());
    EXPECT_EQ(form().currentPage(), 3);
    EXPECT_EQ(QApplication::focusWidget(), field);
    EXPECT_EQ(field->textCursor().position(), at);
    EXPECT_EQ(field->geometry(), onPage);
    for (const char* back : {"Image1", "lblCounter", "Label7", "txtUitlegNaam"})
        EXPECT_TRUE(child<QWidget>(back)->isVisible()) << back;

    // F11 goes in and out as well.
    QTest::keyClick(field, Qt::Key_F11);
    EXPECT_TRUE(mode.field().has_value());
    QTest::keyClick(field, Qt::Key_F11);
    EXPECT_FALSE(mode.field().has_value());
    EXPECT_EQ(field->textCursor().position(), at);
}

// Offered only where the page has a section field; there F11 takes the
// page's first one when the focus is on another control.
TEST_F(FormTest, WritingModeOnlyWhereThePageHasASectionField)
{
    form().show();
    WritingMode& mode = form().writingMode();
    for (int index : {0, 12, 13}) {
        form().showPage(index);
        EXPECT_FALSE(mode.action()->isEnabled()) << index;
        mode.action()->trigger();
        QTest::keyClick(&form(), Qt::Key_F11);
        EXPECT_FALSE(mode.field().has_value()) << index;
    }
    form().showPage(3);
    EXPECT_TRUE(mode.action()->isEnabled());
    command1(1)->setFocus();
    QTest::keyClick(command1(1), Qt::Key_F11);
    ASSERT_TRUE(mode.field().has_value());
    EXPECT_EQ(mode.heading()->text(), QStringLiteral("2.4 Vindplaats"));
    EXPECT_TRUE(mode.action()->isEnabled());
}

}  // namespace

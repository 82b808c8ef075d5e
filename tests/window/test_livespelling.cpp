// Spelling as you type in the window: the underline, the context menu of a
// doubtful word, the menu item, and the word list the spelling dialog shares
// (the project's small test dictionary "vk").
#include <gtest/gtest.h>

#include <deque>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include "eventually.h"
#include "fakes/enchantfolder.h"
#include "fakes/fakeplatform.h"
#include "spelling/spellingdictionary.h"
#include "spelling/spellinghighlighter.h"
#include "spelling/spellingsheet.h"
#include "window/aids/articlechecklist.h"
#include "window/form/form1.h"
#include "window/programwindow.h"
#include "window/aids/articlechecklist.h"
#include "window/aids/livespelling.h"

namespace vinkring::test {
namespace {

// Answers every question of the spelling check alike, and notes the words.
class NotingPrompt final : public SpellingPrompt {
public:
    NotingPrompt(QStringList& asked, SpellingAction action) : asked_(asked), action_(action) {}
    SpellingDecision ask(const DoubtfulWord& word) override
    {
        asked_ << word.word;
        return {action_, QString()};
    }

private:
    QStringList& asked_;
    SpellingAction action_;
};

QStringList captions(const QMenu* menu)
{
    QStringList out;
    for (const QAction* action : menu->actions())
        out << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return out;
}

class LiveSpellingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        program = std::make_unique<ProgramWindow>(platform.services, &dictionary);
        form = &program->form();
        form->show();
        QApplication::setActiveWindow(form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
        form->Command1_Click(1);  // the page of txtInleiding
        field = section("txtInleiding");
        ASSERT_TRUE(field);
        ASSERT_TRUE(QTest::qWaitFor([this] { return dictionary.isReady(); }, 10000));
    }

    void TearDown() override
    {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        platform.messageBox.answers.clear();
        program.reset();
    }

    QPlainTextEdit* section(const char* name) const
    {
        return form->findChild<QPlainTextEdit*>(QString::fromLatin1(name));
    }

    // The passes of every section field are over.
    void settle()
    {
        for (QPlainTextEdit* f : form->findChildren<QPlainTextEdit*>()) {
            SpellingHighlighter* h = program->liveSpelling().highlighter(*fieldIndex(f->objectName().toStdString()));
            ASSERT_TRUE(h) << f->objectName().toStdString();
            ASSERT_TRUE(QTest::qWaitFor([h] { return !h->isChecking(); }, 10000));
        }
    }

    static QStringList underlined(const QPlainTextEdit* f)
    {
        QStringList words;
        for (QTextBlock block = f->document()->begin(); block.isValid(); block = block.next()) {
            for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
                if (range.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline)
                    words << block.text().mid(range.start, range.length);
            }
        }
        return words;
    }

    void type(QPlainTextEdit* f, const QString& text)
    {
        f->setFocus();
        QTest::keyClicks(f, text);
    }

    // The context menu opened with the mouse at this position of the field.
    QMenu* menuAt(QPlainTextEdit* f, int position)
    {
        QTextCursor cursor(f->document());
        cursor.setPosition(position);
        const QPoint at = f->cursorRect(cursor).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, f->viewport()->mapToGlobal(at));
        QApplication::sendEvent(f->viewport(), &event);
        return qobject_cast<QMenu*>(QApplication::activePopupWidget());
    }

    // Waits until the suggestions are in the menu.
    static QStringList suggestionsOf(QMenu* menu)
    {
        EXPECT_TRUE(QTest::qWaitFor([menu] { return captions(menu).first() != QStringLiteral("Suggesties zoeken\u2026"); },
                                    10000));
        QStringList found;
        for (const QAction* action : menu->actions()) {
            if (action->objectName() == QLatin1String("suggestion"))
                found << action->text();
        }
        return found;
    }

    static QAction* actionNamed(QMenu* menu, const char* name)
    {
        for (QAction* action : menu->actions()) {
            if (action->objectName() == QLatin1String(name))
                return action;
        }
        ADD_FAILURE() << name;
        return nullptr;
    }

    QStringList checkWithDialog(SpellingAction answer, const QString& text)
    {
        QStringList asked;
        FakeMessageBox box;
        SpellingSheet sheet(dictionary, std::make_unique<NotingPrompt>(asked, answer), box);
        sheet.workbooksAdd();
        sheet.setActiveCellValue(text);
        sheet.activeCellCheckSpelling();
        sheet.activeWorkbookClose(false);
        sheet.quit();
        return asked;
    }

    EnchantFolder folder;
    SpellingDictionary dictionary{QStringList{QStringLiteral("vk")}};
    FakePlatform platform;
    std::unique_ptr<ProgramWindow> program;
    Form1* form = nullptr;
    QPlainTextEdit* field = nullptr;
};

TEST_F(LiveSpellingTest, AMenuOfItsOwnNextToBestand)
{
    const QList<QAction*> menus = form->menuBar()->actions();
    ASSERT_GE(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), QStringLiteral("&Bestand"));
    EXPECT_EQ(menus[0]->menu()->actions().value(2)->text(), QStringLiteral("Be&waren")) << "Bestand keeps its three items";
    EXPECT_EQ(menus[1]->text(), QStringLiteral("Beel&d"));
    const QList<QAction*> items = menus[1]->menu()->actions();
    ASSERT_EQ(items.size(), 4);
    QAction* spelling = items[0];
    EXPECT_EQ(spelling->text(), QStringLiteral("&Spelling tijdens typen"));
    EXPECT_TRUE(spelling->isCheckable());
    EXPECT_TRUE(spelling->isChecked()) << "on at the start";
    EXPECT_TRUE(spelling->isEnabled());
    EXPECT_EQ(items[1]->text(), QStringLiteral("&Voorbeeld van het artikel"));
    EXPECT_EQ(items[2]->text(), QStringLiteral("Schrijf&modus\tF11"));
    EXPECT_EQ(items[3]->text(), QStringLiteral("Artikel &controleren\tF7")) << "its key shown in the menu";
}

TEST_F(LiveSpellingTest, TypedWordsAreUnderlinedAtOnce)
{
    type(field, QStringLiteral("de vis zwmt in het water, KH 7 op www.vinkring.nl en viss"));
    // Not the word still being typed, until the cursor leaves it.
    EXPECT_EQ(underlined(field), (QStringList{"zwmt", "op"}));
    QTest::keyClick(field, Qt::Key_Left);
    EXPECT_EQ(underlined(field), (QStringList{"zwmt", "op", "viss"}));
    EXPECT_TRUE(platform.messageBox.shown.empty());
}

TEST_F(LiveSpellingTest, AnOpenedDocumentIsCheckedWithoutBeingChanged)
{
    ArticleDocument doc = form->document();
    doc.field("txtTitel") = QStringLiteral("Een viss");
    doc.field("txtInleiding") = QStringLiteral("de viss\r\nhet watr");
    doc.field("txtConclusie") = QString(3000, u'x') + QStringLiteral(" zwmt");
    form->setDocument(doc);
    settle();
    EXPECT_EQ(underlined(field), (QStringList{"viss", "watr"}));
    EXPECT_EQ(underlined(section("txtConclusie")).size(), 2);
    EXPECT_EQ(form->document(), doc);
    EXPECT_FALSE(form->unsavedChanges()) << "underlining is no change";
}

TEST_F(LiveSpellingTest, ContextMenuReplacesTheWordUndoably)
{
    ArticleDocument doc = form->document();
    doc.field("txtInleiding") = QStringLiteral("de vis zwmt in het water");
    form->setDocument(doc);
    settle();
    ASSERT_FALSE(form->unsavedChanges());

    QMenu* menu = menuAt(field, 9);
    ASSERT_TRUE(menu);
    const QStringList atOnce = captions(menu);
    ASSERT_GE(atOnce.size(), 5);
    EXPECT_EQ(atOnce.mid(0, 4), (QStringList{"Suggesties zoeken\u2026", "Negeren", "Toevoegen aan woordenboek", "-"}));
    // Then the formatting items, then the field's usual ones.
    QMenu* usual = field->createStandardContextMenu();
    EXPECT_TRUE(atOnce.value(4).startsWith(QStringLiteral("&Vet\t"))) << atOnce.value(4).toStdString();
    EXPECT_EQ(atOnce.mid(atOnce.size() - captions(usual).size()), captions(usual));
    delete usual;

    const QStringList suggestions = suggestionsOf(menu);
    EXPECT_TRUE(suggestions.contains(QStringLiteral("zwemt"))) << suggestions.join(u',').toStdString();
    EXPECT_LE(suggestions.size(), 5);
    EXPECT_EQ(captions(menu).mid(suggestions.size(), 2), (QStringList{"Negeren", "Toevoegen aan woordenboek"}));
    for (QAction* action : menu->actions()) {
        if (action->text() == QLatin1String("zwemt"))
            action->trigger();
    }
    menu->close();

    EXPECT_EQ(field->toPlainText(), QStringLiteral("de vis zwemt in het water"));
    EXPECT_TRUE(underlined(field).isEmpty());
    EXPECT_TRUE(form->unsavedChanges()) << "a correction is a change";
    form->history().undo();
    EXPECT_EQ(field->toPlainText(), QStringLiteral("de vis zwmt in het water")) << "one step undoes it";
    EXPECT_EQ(underlined(field), QStringList{"zwmt"});
    form->history().redo();
    EXPECT_EQ(field->toPlainText(), QStringLiteral("de vis zwemt in het water"));
}

TEST_F(LiveSpellingTest, TheMenuKeyOpensItForTheWordAtTheCursor)
{
    type(field, QStringLiteral("een viss"));
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(1, 1), field->mapToGlobal(QPoint(1, 1)));
    QApplication::sendEvent(field, &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_TRUE(menu);
    EXPECT_EQ(captions(menu).value(1), QStringLiteral("Negeren"));
    menu->close();

    // On a known word only the usual items.
    menu = menuAt(field, 1);
    ASSERT_TRUE(menu);
    EXPECT_FALSE(captions(menu).contains(QStringLiteral("Negeren")));
    menu->close();
}

TEST_F(LiveSpellingTest, IgnoredForTheRunInEveryFieldAndInTheDialog)
{
    type(field, QStringLiteral("een viss"));
    QPlainTextEdit* other = section("txtConclusie");
    other->setPlainText(QStringLiteral("de viss"));
    settle();
    ASSERT_EQ(underlined(other), QStringList{"viss"});
    // The check's count of the underlined words follows them, without an edit.
    program->articleCheck().openAction()->trigger();
    const auto spellingFinding = [this] {
        const QListWidget* list = program->articleCheck().list();
        for (int i = 0; i < list->count(); ++i) {
            if (list->item(i)->text().contains(QStringLiteral("woordenboek")))
                return list->item(i)->text();
        }
        return QString();
    };
    ASSERT_EVENTUALLY(!spellingFinding().isEmpty());
    const QString counted = spellingFinding();

    QMenu* menu = menuAt(field, 6);
    ASSERT_TRUE(menu);
    actionNamed(menu, "ignore")->trigger();
    menu->close();
    settle();
    EXPECT_TRUE(underlined(field).isEmpty());
    EXPECT_TRUE(underlined(other).isEmpty());
    EXPECT_EVENTUALLY(spellingFinding() != counted);
    EXPECT_EQ(checkWithDialog(SpellingAction::Ignore, QStringLiteral("viss en zwmt")), QStringList{"zwmt"});
    QFile personal(folder.personalWordList(QStringLiteral("vk")));
    EXPECT_FALSE(personal.open(QIODevice::ReadOnly) && personal.readAll().contains("viss")) << "not for good";
}

TEST_F(LiveSpellingTest, TheWordListIsSharedWithTheDialog)
{
    type(field, QStringLiteral("een guppy en een platy "));
    QMenu* menu = menuAt(field, 6);
    ASSERT_TRUE(menu);
    actionNamed(menu, "addToDictionary")->trigger();
    menu->close();
    settle();
    EXPECT_EQ(underlined(field), QStringList{"platy"});
    QFile personal(folder.personalWordList(QStringLiteral("vk")));
    ASSERT_TRUE(personal.open(QIODevice::ReadOnly));
    EXPECT_TRUE(personal.readAll().contains("guppy"));
    EXPECT_EQ(checkWithDialog(SpellingAction::Ignore, QStringLiteral("guppy en platy")), QStringList{"platy"});

    // And the other way round: added in the dialog, no longer underlined.
    EXPECT_EQ(checkWithDialog(SpellingAction::AddToDictionary, QStringLiteral("platy")), QStringList{"platy"});
    settle();
    EXPECT_TRUE(underlined(field).isEmpty());
}

TEST_F(LiveSpellingTest, TurnedOffAndOnForTheRun)
{
    type(field, QStringLiteral("een viss"));
    QAction* item = program->liveSpelling().toggleAction();
    item->trigger();
    EXPECT_FALSE(item->isChecked());
    settle();
    EXPECT_TRUE(underlined(field).isEmpty());
    type(field, QStringLiteral(" zwmt "));
    EXPECT_TRUE(underlined(field).isEmpty());
    QMenu* menu = menuAt(field, 6);
    ASSERT_TRUE(menu);
    EXPECT_FALSE(captions(menu).contains(QStringLiteral("Negeren")));
    menu->close();

    item->trigger();
    settle();
    EXPECT_EQ(underlined(field), (QStringList{"viss", "zwmt"}));
}

TEST(LiveSpellingWithoutDictionary, NothingUnderlinedAndTheItemDisabled)
{
    EnchantFolder folder;
    SpellingDictionary none({QStringLiteral("xq")});
    FakePlatform platform;
    for (SpellingDictionary* dictionary : {&none, static_cast<SpellingDictionary*>(nullptr)}) {
        ProgramWindow program(platform.services, dictionary);
        Form1& form = program.form();
        form.show();
        QAction* item = program.liveSpelling().toggleAction();
        EXPECT_FALSE(item->isEnabled());
        EXPECT_FALSE(item->isChecked());
        auto* f = form.findChild<QPlainTextEdit*>(QStringLiteral("txtInleiding"));
        f->setPlainText(QStringLiteral("zwmt watr"));
        EXPECT_EQ(program.liveSpelling().highlighter(*fieldIndex("txtInleiding")), nullptr);
        QApplication::processEvents();
        for (QTextBlock block = f->document()->begin(); block.isValid(); block = block.next())
            EXPECT_TRUE(block.layout()->formats().isEmpty());
    }
    EXPECT_TRUE(platform.messageBox.shown.empty());
}

}  // namespace
}  // namespace vinkring::test

// The spelling dialog, without showing it.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextBrowser>

#include "window/dialogs/spellingdialog.h"

namespace vinkring::test {
namespace {

TEST(SpellingDialogTest, ButtonsAndDecisions)
{
    DoubtfulWord word;
    word.word = QStringLiteral("zwmt");
    word.sentence = QStringLiteral("De vis <zwmt> & zo.");
    word.position = 8;
    word.suggestions = QStringList{QStringLiteral("zwemt"), QStringLiteral("zwam")};

    SpellingDialog dialog(word);
    QStringList captions;
    for (QPushButton* b : dialog.findChildren<QPushButton*>())
        captions << b->text();
    EXPECT_EQ(captions, (QStringList{"Negeren", "Alles negeren", "Wijzigen", "Alles wijzigen",
                                     "Toevoegen aan woordenboek", "Stoppen"}));
    EXPECT_EQ(dialog.sentenceView()->toPlainText(), word.sentence);
    // Marked in the palette's colours of a selection.
    EXPECT_TRUE(dialog.sentenceView()->toHtml().contains(dialog.palette().color(QPalette::Highlight).name()));
    EXPECT_EQ(dialog.replacementEdit()->text(), QStringLiteral("zwemt"));
    EXPECT_EQ(dialog.suggestionList()->count(), 2);
    EXPECT_TRUE(dialog.button(SpellingAction::Change)->isDefault());

    dialog.suggestionList()->setCurrentRow(1);
    EXPECT_EQ(dialog.replacementEdit()->text(), QStringLiteral("zwam"));
    dialog.replacementEdit()->setText(QStringLiteral("zwom"));
    dialog.button(SpellingAction::ChangeAll)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.decision().action, SpellingAction::ChangeAll);
    EXPECT_EQ(dialog.decision().replacement, QStringLiteral("zwom"));

    for (const SpellingAction action : {SpellingAction::Ignore, SpellingAction::IgnoreAll, SpellingAction::Change,
                                        SpellingAction::AddToDictionary, SpellingAction::Stop}) {
        SpellingDialog other(word);
        other.button(action)->click();
        EXPECT_EQ(other.decision().action, action);
    }
}

TEST(SpellingDialogTest, ClosedWithoutAChoiceStopsAndNoSuggestions)
{
    DoubtfulWord word;
    word.word = QStringLiteral("Xyzzy");
    word.sentence = QStringLiteral("Xyzzy\r\nzegt hij.");
    SpellingDialog dialog(word);
    EXPECT_EQ(dialog.replacementEdit()->text(), QStringLiteral("Xyzzy"));
    EXPECT_FALSE(dialog.suggestionList()->item(0)->flags() & Qt::ItemIsEnabled);
    EXPECT_TRUE(dialog.button(SpellingAction::Ignore)->isDefault());
    dialog.reject();
    EXPECT_EQ(dialog.decision().action, SpellingAction::Stop);
}

TEST(SpellingDialogTest, NamesTheSection)
{
    DoubtfulWord word;
    word.word = QStringLiteral("zwmt");
    word.sentence = QStringLiteral("De vis zwmt.");
    word.position = 7;
    word.section = QStringLiteral("Vindplaats");
    SpellingDialog dialog(word);
    auto* section = dialog.findChild<QLabel*>(QStringLiteral("section"));
    ASSERT_TRUE(section);
    EXPECT_EQ(section->text(), QStringLiteral("Onderdeel: Vindplaats"));
    EXPECT_FALSE(section->isHidden());

    word.section.clear();
    SpellingDialog unnamed(word);
    EXPECT_TRUE(unnamed.findChild<QLabel*>(QStringLiteral("section"))->isHidden());
}

}  // namespace
}  // namespace vinkring::test

// The spelling component against Enchant: with the project's own small
// dictionary (language "vk") and once with the installed Dutch one.

#include <deque>

#include <gtest/gtest.h>

#include <QFile>

#include "fakes/enchantfolder.h"
#include "fakes/fakeplatform.h"
#include "spelling/enchantspeller.h"
#include "spelling/spellingcheck.h"
#include "spelling/spellingsheet.h"

namespace vinkring::test {
namespace {

const QString kComplete = QStringLiteral("De spellingscontrole is voltooid.");

// Answers the component's questions from a script; "Negeren" when it runs out.
struct PromptScript {
    std::vector<DoubtfulWord> asked;
    std::deque<SpellingDecision> answers;

    QStringList askedWords() const
    {
        QStringList words;
        for (const DoubtfulWord& w : asked)
            words << w.word;
        return words;
    }
};

class ScriptedPrompt final : public SpellingPrompt {
public:
    explicit ScriptedPrompt(PromptScript& script) : s_(script) {}
    SpellingDecision ask(const DoubtfulWord& word) override
    {
        s_.asked.push_back(word);
        if (s_.answers.empty())
            return {SpellingAction::Ignore, QString()};
        SpellingDecision d = s_.answers.front();
        s_.answers.pop_front();
        return d;
    }

private:
    PromptScript& s_;
};

class SpellingSheetTest : public ::testing::Test {
protected:
    std::unique_ptr<SpellingSheet> newSheet(const QStringList& languages = {QStringLiteral("vk")})
    {
        if (!factory_ || languages != languages_) {
            languages_ = languages;
            factory_ = std::make_unique<SpellingSheetFactory>(
                messageBox, [this] { return std::make_unique<ScriptedPrompt>(prompt); }, languages);
        }
        return factory_->create();
    }

    // One check of the texts as the check function drives the component.
    QStringList checkAll(SpellingSheet& sheet, const QStringList& texts)
    {
        EXPECT_TRUE(sheet.workbooksAdd());
        QStringList result;
        for (const QString& t : texts) {
            EXPECT_TRUE(sheet.setActiveCellValue(t));
            EXPECT_TRUE(sheet.activeCellCheckSpelling());
            result << sheet.activeCellText().value_or(QStringLiteral("(unreadable)"));
        }
        EXPECT_TRUE(sheet.activeWorkbookClose(false));
        EXPECT_TRUE(sheet.quit());
        return result;
    }
    QString checkOne(const QString& text)
    {
        auto sheet = newSheet();
        return checkAll(*sheet, {text}).front();
    }

    SpellingDictionary& factoryDictionary() { return factory_->dictionary(); }

    static SpellingDecision answer(SpellingAction action, const QString& replacement = QString())
    {
        return {action, replacement};
    }

    EnchantFolder folder;
    PromptScript prompt;
    FakeMessageBox messageBox;

private:
    QStringList languages_;
    std::unique_ptr<SpellingSheetFactory> factory_;
};

TEST_F(SpellingSheetTest, CreatedOnlyWithADictionary)
{
    EXPECT_EQ(newSheet({QStringLiteral("xq")}), nullptr);
    auto sheet = newSheet({QStringLiteral("xq"), QStringLiteral("vk")});
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->version(), QStringLiteral("11.0"));
}

TEST_F(SpellingSheetTest, OneWorkbookWithOneCell)
{
    auto sheet = newSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_FALSE(sheet->setActiveCellValue(QStringLiteral("vis"))) << "no workbook yet";
    EXPECT_FALSE(sheet->activeCellCheckSpelling());
    EXPECT_FALSE(sheet->activeCellText());
    EXPECT_FALSE(sheet->activeWorkbookClose(false));

    ASSERT_TRUE(sheet->workbooksAdd());
    EXPECT_FALSE(sheet->workbooksAdd()) << "one workbook at a time";
    EXPECT_EQ(sheet->activeCellText(), QString());
    EXPECT_TRUE(sheet->setActiveCellValue(QStringLiteral("vis\r\n")));
    EXPECT_EQ(sheet->activeCellText(), QStringLiteral("vis\r\n"));
    EXPECT_TRUE(sheet->activeWorkbookClose(false));
    EXPECT_FALSE(sheet->activeCellText());

    EXPECT_TRUE(sheet->quit());
    EXPECT_FALSE(sheet->quit());
    EXPECT_FALSE(sheet->version());
    EXPECT_FALSE(sheet->workbooksAdd());
    EXPECT_TRUE(messageBox.shown.empty()) << "nothing was checked";
}

TEST_F(SpellingSheetTest, NoDoubtfulWordNoDialogAndOneCompletionMessage)
{
    auto sheet = newSheet();
    const QStringList texts{QStringLiteral("De vis zwemt in het water."), QString(),
                            QStringLiteral("Één café, 25 vissen en www.vinkring.nl.\r\nKH 7")};
    EXPECT_EQ(checkAll(*sheet, texts), texts);
    EXPECT_TRUE(prompt.asked.empty());
    ASSERT_EQ(messageBox.shown.size(), 1u);
    EXPECT_EQ(messageBox.shown[0].text, kComplete);
    EXPECT_EQ(messageBox.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(messageBox.shown[0].buttons, MessageButtons::Ok);
}

TEST_F(SpellingSheetTest, TheDialogSeesTheWordInItsSentenceWithSuggestions)
{
    checkOne(QStringLiteral("Het water is warm. De vis zwmt in het water! Mooi."));
    ASSERT_EQ(prompt.asked.size(), 1u);
    const DoubtfulWord& w = prompt.asked[0];
    EXPECT_EQ(w.word, QStringLiteral("zwmt"));
    EXPECT_EQ(w.sentence, QStringLiteral("De vis zwmt in het water!"));
    EXPECT_EQ(w.sentence.mid(w.position, w.word.size()), w.word);
    EXPECT_TRUE(w.suggestions.contains(QStringLiteral("zwemt"))) << w.suggestions.join(u',').toStdString();
    EXPECT_EQ(w.section, QStringLiteral("Stap 1: Inleiding")) << "the first text is the introduction's";
    ASSERT_EQ(messageBox.shown.size(), 1u) << "also when a doubtful word was found";
    EXPECT_EQ(messageBox.shown[0].text, kComplete);
}

TEST_F(SpellingSheetTest, TheNthTextOfAWorkbookIsTheNthSection)
{
    QStringList texts(26, QStringLiteral("goed"));
    texts[1] = QStringLiteral("viss");   // txtUitlegNaam, labelled
    texts[4] = QStringLiteral("viss");   // txtVindPLaats
    texts[24] = QStringLiteral("viss");  // txtConclusie, no label: its page
    texts[25] = QStringLiteral("viss");  // none: the table has 25 sections
    auto sheet = newSheet();
    checkAll(*sheet, texts);
    QStringList sections;
    for (const DoubtfulWord& w : prompt.asked)
        sections << w.section;
    EXPECT_EQ(sections, (QStringList{"Uitleg van de wetenschappelijke naam", "Vindplaats", "Stap 11: Conclusie", ""}));

    // A new workbook starts at the first section again.
    prompt.asked.clear();
    auto next = newSheet();
    checkAll(*next, {QStringLiteral("viss")});
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].section, QStringLiteral("Stap 1: Inleiding"));
}

TEST_F(SpellingSheetTest, IgnoreLeavesThisPlaceAndAsksAgainLater)
{
    prompt.answers = {answer(SpellingAction::Ignore), answer(SpellingAction::Ignore)};
    EXPECT_EQ(checkOne(QStringLiteral("viss en viss")), QStringLiteral("viss en viss"));
    EXPECT_EQ(prompt.askedWords(), (QStringList{"viss", "viss"}));
}

TEST_F(SpellingSheetTest, IgnoreAllHoldsForTheRestOfTheCheckOnly)
{
    prompt.answers = {answer(SpellingAction::IgnoreAll)};
    {
        auto sheet = newSheet();
        const QStringList texts{QStringLiteral("viss en viss"), QStringLiteral("een mooi viss")};
        EXPECT_EQ(checkAll(*sheet, texts), texts);
        EXPECT_EQ(prompt.askedWords(), QStringList{"viss"});
    }

    checkOne(QStringLiteral("viss"));
    EXPECT_EQ(prompt.askedWords(), (QStringList{"viss", "viss"})) << "the next check asks again";
}

TEST_F(SpellingSheetTest, ChangeCorrectsThisPlaceOnly)
{
    prompt.answers = {answer(SpellingAction::Change, QStringLiteral("vis")), answer(SpellingAction::Ignore)};
    EXPECT_EQ(checkOne(QStringLiteral("De viss en de viss.")), QStringLiteral("De vis en de viss."));
    ASSERT_EQ(prompt.asked.size(), 2u);
    EXPECT_EQ(prompt.asked[1].sentence, QStringLiteral("De vis en de viss.")) << "earlier corrections shown";
    EXPECT_EQ(prompt.asked[1].position, 13);
}

TEST_F(SpellingSheetTest, ChangeAllCorrectsEveryPlaceOfTheCheck)
{
    prompt.answers = {answer(SpellingAction::ChangeAll, QStringLiteral("vissen"))};
    auto sheet = newSheet();
    const QStringList result =
        checkAll(*sheet, {QStringLiteral("De visen en de visen."), QStringLiteral("Mooi: visen!")});
    EXPECT_EQ(result, (QStringList{"De vissen en de vissen.", "Mooi: vissen!"}));
    EXPECT_EQ(prompt.askedWords(), QStringList{"visen"});
}

TEST_F(SpellingSheetTest, AddGoesIntoThePersonalWordListAndLasts)
{
    prompt.answers = {answer(SpellingAction::AddToDictionary)};
    EXPECT_EQ(checkOne(QStringLiteral("Een guppy en een guppy.")), QStringLiteral("Een guppy en een guppy."));
    EXPECT_EQ(prompt.askedWords(), QStringList{"guppy"});

    QFile list(folder.personalWordList(QStringLiteral("vk")));
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(list.readAll()).split(u'\n').contains(QStringLiteral("guppy")));

    checkOne(QStringLiteral("guppy"));
    EXPECT_EQ(prompt.askedWords(), QStringList{"guppy"}) << "a later check knows the word";

    // So does Enchant: a dictionary loaded afresh reads the personal list.
    auto fresh = newSheet({QStringLiteral("xq"), QStringLiteral("vk")});
    checkAll(*fresh, {QStringLiteral("guppy")});
    EXPECT_EQ(prompt.askedWords(), QStringList{"guppy"});
}

TEST_F(SpellingSheetTest, WordsIgnoredForTheRunAreNotAsked)
{
    auto sheet = newSheet();
    factoryDictionary().ignoreForRun(QStringLiteral("viss"));
    checkAll(*sheet, {QStringLiteral("viss en zwmt")});
    EXPECT_EQ(prompt.askedWords(), QStringList{"zwmt"});
}

TEST_F(SpellingSheetTest, StopKeepsCorrectionsAndAsksNothingMore)
{
    prompt.answers = {answer(SpellingAction::Change, QStringLiteral("vis")), answer(SpellingAction::Stop)};
    auto sheet = newSheet();
    const QStringList texts{QStringLiteral("viss zwmt watr"), QStringLiteral("nog meer foutn")};
    const QStringList result = checkAll(*sheet, texts);
    EXPECT_EQ(result, (QStringList{"vis zwmt watr", "nog meer foutn"}));
    EXPECT_EQ(prompt.askedWords(), (QStringList{"viss", "zwmt"}));
    EXPECT_TRUE(messageBox.shown.empty());
}

TEST_F(SpellingSheetTest, LineEndsAndAccentsComeBackUnchanged)
{
    prompt.answers = {answer(SpellingAction::Change, QStringLiteral("café")),
                      answer(SpellingAction::Change, QStringLiteral("één"))};
    const QString text = QStringLiteral("Één vis\r\nin het cafe,\r\n\r\nwarm water en een een vis's een.\r\neen");
    EXPECT_EQ(checkOne(text),
              QStringLiteral("Één vis\r\nin het café,\r\n\r\nwarm water en een een vis's een.\r\neen"));
    EXPECT_EQ(prompt.askedWords(), QStringList{"cafe"});
}

TEST_F(SpellingSheetTest, CompoundsAreRightWhenTheirPartsAre)
{
    checkOne(QStringLiteral("Een zee-aquarium, een zee-akwarium."));
    EXPECT_EQ(prompt.askedWords(), QStringList{"zee-akwarium"});
}

// Through the check itself, registered as the program registers it.
TEST_F(SpellingSheetTest, DrivenByTheCheck)
{
    RegistryAutomation automation;
    automation.registerClass(QStringLiteral("excel.application"), [this] { return newSheet(); });
    EXPECT_EQ(automation.getObject(QStringLiteral("excel.application")), nullptr) << "nothing runs to attach to";

    prompt.answers = {answer(SpellingAction::ChangeAll, QStringLiteral("vis"))};
    SectionTexts texts{};
    texts[0] = QStringLiteral("De viss zwemt.");
    texts[24] = QStringLiteral("Een viss.\r\n");
    const SectionTexts result = runSpellingCheck(texts, automation);
    EXPECT_EQ(result[0], QStringLiteral("De vis zwemt."));
    EXPECT_EQ(result[24], QStringLiteral("Een vis.\r\n"));
    EXPECT_EQ(result[1], QString());
    ASSERT_EQ(messageBox.shown.size(), 1u);

    texts = result;
    EXPECT_EQ(runSpellingCheck(texts, automation), texts);
    ASSERT_EQ(messageBox.shown.size(), 2u) << "once per check";
    EXPECT_EQ(messageBox.shown[1].text, kComplete);
}

TEST_F(SpellingSheetTest, InstalledDutchDictionary)
{
    auto sheet = newSheet(dutchLanguages());
    ASSERT_NE(sheet, nullptr) << "hunspell-nl is needed";
    prompt.answers = {answer(SpellingAction::Change, QStringLiteral("aquarium"))};
    const QString text = QStringLiteral(
        "De vissen zwemmen in het aquarim. Één mannetje bouwt ’s avonds een schuimnest in het zee-aquarium, "
        "o.a. tussen de planten, enz.\r\nIJsland is koud; dikwijls is het water 24 graden bij een pH van 6,5.");
    const QString result = checkAll(*sheet, {text}).front();
    EXPECT_EQ(prompt.askedWords(), QStringList{"aquarim"});
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_TRUE(prompt.asked[0].suggestions.contains(QStringLiteral("aquarium")));
    QString expected = text;
    expected.replace(QStringLiteral("aquarim"), QStringLiteral("aquarium"));
    EXPECT_EQ(result, expected);
}

}  // namespace
}  // namespace vinkring::test

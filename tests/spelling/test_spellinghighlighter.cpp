// The run's dictionary and the underline of doubtful words in a text
// document, with the project's small test dictionary "vk".

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QThread>

#include "fakes/enchantfolder.h"
#include "spelling/spellingdictionary.h"
#include "spelling/spellinghighlighter.h"
#include "eventually.h"

namespace vinkring::test {
namespace {

// The underlined words of the document, in order.
QStringList underlined(const QTextDocument& doc)
{
    QStringList words;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
            if (range.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline)
                words << block.text().mid(range.start, range.length);
        }
    }
    return words;
}

class DictionaryTest : public ::testing::Test {
protected:
    bool knownNow(const QString& text)
    {
        return dictionary->isKnownAt(text, {0, text.size()}, true).value();
    }

    EnchantFolder folder;
    std::unique_ptr<SpellingDictionary> dictionary =
        std::make_unique<SpellingDictionary>(QStringList{QStringLiteral("vk")});
};

TEST_F(DictionaryTest, LoadsInTheBackground)
{
    ASSERT_TRUE(dictionary->exists());
    QSignalSpy ready(dictionary.get(), &SpellingDictionary::ready);
    dictionary->load();
    // Until the news is in, nothing is told without waiting.
    EXPECT_FALSE(dictionary->isReady());
    EXPECT_EQ(dictionary->isKnownAt(QStringLiteral("vis"), {0, 3}, false), std::nullopt);
    ASSERT_TRUE(ready.wait(10000));
    EXPECT_TRUE(dictionary->isReady());
    EXPECT_EQ(dictionary->isKnownAt(QStringLiteral("vis"), {0, 3}, false), true);
    EXPECT_EQ(dictionary->isKnownAt(QStringLiteral("viss"), {0, 4}, false), false);
    EXPECT_EQ(ready.count(), 1);
}

TEST_F(DictionaryTest, TheRuleOfKnownWords)
{
    EXPECT_TRUE(knownNow(QStringLiteral("zee-aquarium"))) << "the parts are known";
    EXPECT_FALSE(knownNow(QStringLiteral("zee-akwarium")));
    EXPECT_FALSE(knownNow(QStringLiteral("zeeaquarium")));
    const QString text = QStringLiteral("Een vis zwmt");
    EXPECT_TRUE(dictionary->isKnownAt(text, {4, 3}, true).value());
    EXPECT_FALSE(dictionary->isKnownAt(text, {8, 4}, true).value());
}

TEST_F(DictionaryTest, WithoutADictionaryEveryWordPasses)
{
    SpellingDictionary missing({QStringLiteral("xq")});
    EXPECT_FALSE(missing.exists());
    EXPECT_FALSE(missing.waitUntilLoaded());
    EXPECT_EQ(missing.isKnownAt(QStringLiteral("zwmt"), {0, 4}, true), true);
    EXPECT_EQ(missing.isKnownAt(QStringLiteral("zwmt"), {0, 4}, false), std::nullopt);
    EXPECT_TRUE(missing.suggestions(QStringLiteral("zwmt")).isEmpty());
}

TEST_F(DictionaryTest, SuggestionsComeBackOnThisThread)
{
    QStringList found;
    bool called = false;
    QObject receiver;
    dictionary->findSuggestions(QStringLiteral("zwmt"), &receiver, [&](const QStringList& list) {
        EXPECT_EQ(QThread::currentThread(), receiver.thread());
        found = list;
        called = true;
    });
    EXPECT_FALSE(called) << "not before the event loop runs";
    ASSERT_EVENTUALLY_WITH_TIMEOUT(called, 10000);
    EXPECT_TRUE(found.contains(QStringLiteral("zwemt"))) << found.join(u',').toStdString();
    EXPECT_EQ(dictionary->suggestions(QStringLiteral("zwmt")), found) << "the same when waited for";
}

TEST_F(DictionaryTest, SuggestionsForAReceiverThatWentAreDropped)
{
    bool called = false;
    auto receiver = std::make_unique<QObject>();
    dictionary->findSuggestions(QStringLiteral("zwmt"), receiver.get(), [&](const QStringList&) { called = true; });
    receiver.reset();
    // A later search on the same thread is answered after the first.
    bool later = false;
    QObject other;
    dictionary->findSuggestions(QStringLiteral("viss"), &other, [&](const QStringList&) { later = true; });
    ASSERT_EVENTUALLY_WITH_TIMEOUT(later, 10000);
    EXPECT_FALSE(called);
}

TEST_F(DictionaryTest, WordsAddedForTheRunOrForGood)
{
    QSignalSpy added(dictionary.get(), &SpellingDictionary::wordsAdded);
    dictionary->ignoreForRun(QStringLiteral("guppy"));
    dictionary->addToPersonal(QStringLiteral("platy"));
    EXPECT_EQ(added.count(), 2);
    EXPECT_TRUE(knownNow(QStringLiteral("guppy")));
    EXPECT_TRUE(knownNow(QStringLiteral("platy")));

    // A new run knows only the word added for good.
    dictionary = std::make_unique<SpellingDictionary>(QStringList{QStringLiteral("vk")});
    EXPECT_FALSE(knownNow(QStringLiteral("guppy")));
    EXPECT_TRUE(knownNow(QStringLiteral("platy")));
}

class HighlighterTest : public DictionaryTest {
protected:
    void SetUp() override { highlighter = new SpellingHighlighter(*dictionary, &doc); }

    // Until the pass is over.
    void settle() { ASSERT_EVENTUALLY_WITH_TIMEOUT(!highlighter->isChecking(), 10000); }

    void type(int position, const QString& text)
    {
        QTextCursor cursor(&doc);
        cursor.setPosition(position);
        cursor.insertText(text);
    }

    QTextDocument doc;
    SpellingHighlighter* highlighter = nullptr;
};

TEST_F(HighlighterTest, UnderlinesWhatTheDictionaryDoesNotKnow)
{
    doc.setPlainText(QStringLiteral("De vis zwmt in het watr.\nEen zee-aquarium, een zee-akwarium."));
    settle();
    EXPECT_EQ(underlined(doc), (QStringList{"zwmt", "watr", "zee-akwarium"}));
}

TEST_F(HighlighterTest, LeavesWhatTheSpellingCheckLeaves)
{
    doc.setPlainText(QStringLiteral("Bij 25 graden en 10cm, KH 7, op www.vinkring.nl/forum en info@vinkring.nl "
                                    "of http://example.com/a?b=c zwemt de vis."));
    settle();
    // "Bij", "graden", "op" and "of" are not in the small dictionary; the rest is not checked.
    EXPECT_EQ(underlined(doc), (QStringList{"Bij", "graden", "op", "of"}));
}

TEST_F(HighlighterTest, AKeyPressChecksItsParagraphAtOnce)
{
    doc.setPlainText(QStringLiteral("de vis\nhet water"));
    settle();
    EXPECT_TRUE(underlined(doc).isEmpty());

    type(6, QStringLiteral(" zwmt"));
    EXPECT_FALSE(highlighter->isChecking()) << "no pass for a small change";
    EXPECT_EQ(underlined(doc), QStringList{"zwmt"});
    // The correction takes the underline away as it is typed.
    type(9, QStringLiteral("e"));
    EXPECT_EQ(doc.firstBlock().text(), QStringLiteral("de vis zwemt"));
    EXPECT_TRUE(underlined(doc).isEmpty());
}

// The underlined ranges of the first paragraph, as (start, length).
QList<std::pair<int, int>> underlineRanges(const QTextDocument& doc)
{
    QList<std::pair<int, int>> ranges;
    for (const QTextLayout::FormatRange& range : doc.firstBlock().layout()->formats()) {
        if (range.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline)
            ranges << std::make_pair(range.start, range.length);
    }
    return ranges;
}

TEST_F(HighlighterTest, InALongParagraphAKeyPressChecksTheWordsAroundIt)
{
    QString text;
    for (int i = 0; i < 150; ++i)
        text += QStringLiteral("de viss zwemt, een zee-akwarium. ");
    doc.setPlainText(text);
    settle();
    ASSERT_EQ(underlined(doc).size(), 300);

    // Each edit, then the same text checked afresh, as a whole.
    struct Edit {
        int at;
        int remove;
        const char* insert;
    };
    const Edit edits[] = {
        {0, 0, "zwmt "},         // a word before all others
        {40, 0, "x"},            // into a known word
        {45, 1, ""},             // a blank away: two words become one
        {100, 0, " "},           // a blank into a word: one becomes two
        {200, 4, "vis"},         // a doubtful word corrected
        {300, 0, "-akwarium"},   // a compound made doubtful
        {int(text.size()) - 3, 3, "enz."},
        {500, 300, ""},          // a stretch of words away
    };
    for (const Edit& edit : edits) {
        QTextCursor cursor(&doc);
        cursor.setPosition(edit.at);
        cursor.setPosition(edit.at + edit.remove, QTextCursor::KeepAnchor);
        cursor.insertText(QString::fromUtf8(edit.insert));
        EXPECT_FALSE(highlighter->isChecking());

        QTextDocument fresh;
        auto* whole = new SpellingHighlighter(*dictionary, &fresh);
        fresh.setPlainText(doc.toPlainText());
        ASSERT_EVENTUALLY_WITH_TIMEOUT(!whole->isChecking(), 10000);
        EXPECT_EQ(underlineRanges(doc), underlineRanges(fresh)) << edit.at << " " << edit.insert;
    }
}

TEST_F(HighlighterTest, ALargeTextIsCheckedInSlicesAfterwards)
{
    QString text;
    for (int i = 0; i < 400; ++i)
        text += QStringLiteral("De vis zwemt in het warm water, een viss %1.\n").arg(i);
    doc.setPlainText(text);
    EXPECT_TRUE(highlighter->isChecking());
    EXPECT_TRUE(underlined(doc).isEmpty()) << "nothing checked while the text was set";
    settle();
    EXPECT_EQ(underlined(doc), QStringList(400, QStringLiteral("viss")));
}

TEST_F(HighlighterTest, NewWordsTakeTheirUnderlinesAway)
{
    doc.setPlainText(QStringLiteral("De viss en de guppy."));
    settle();
    EXPECT_EQ(underlined(doc), (QStringList{"viss", "guppy"}));
    dictionary->ignoreForRun(QStringLiteral("viss"));
    settle();
    EXPECT_EQ(underlined(doc), QStringList{"guppy"});
    dictionary->addToPersonal(QStringLiteral("guppy"));
    settle();
    EXPECT_TRUE(underlined(doc).isEmpty());
}

TEST_F(HighlighterTest, TurnedOffAndOn)
{
    doc.setPlainText(QStringLiteral("een viss"));
    settle();
    highlighter->setActive(false);
    settle();
    EXPECT_TRUE(underlined(doc).isEmpty());
    EXPECT_TRUE(highlighter->doubtfulWordAt(6).isNull());
    type(0, QStringLiteral("zwmt "));
    EXPECT_TRUE(underlined(doc).isEmpty());
    highlighter->setActive(true);
    settle();
    EXPECT_EQ(underlined(doc), (QStringList{"zwmt", "viss"}));
}

TEST_F(HighlighterTest, TheDoubtfulWordAtAPosition)
{
    doc.setPlainText(QStringLiteral("een\nvis viss, vis"));
    settle();
    const int start = 8;  // "viss" in the second paragraph
    for (int position : {start, start + 2, start + 4}) {
        const QTextCursor word = highlighter->doubtfulWordAt(position);
        ASSERT_FALSE(word.isNull()) << position;
        EXPECT_EQ(word.selectedText(), QStringLiteral("viss"));
        EXPECT_EQ(word.selectionStart(), start);
    }
    EXPECT_TRUE(highlighter->doubtfulWordAt(5).isNull()) << "a known word";
    EXPECT_TRUE(highlighter->doubtfulWordAt(13).isNull()) << "between words";
}

TEST_F(HighlighterTest, ATextThereBeforeIsCheckedToo)
{
    QTextDocument other;
    other.setPlainText(QStringLiteral("de viss"));
    auto* late = new SpellingHighlighter(*dictionary, &other);
    ASSERT_EVENTUALLY_WITH_TIMEOUT(!late->isChecking(), 10000);
    EXPECT_EQ(underlined(other), QStringList{"viss"});
}

TEST(HighlighterWithoutDictionary, UnderlinesNothing)
{
    EnchantFolder folder;
    SpellingDictionary missing({QStringLiteral("xq")});
    QTextDocument doc;
    auto* highlighter = new SpellingHighlighter(missing, &doc);
    doc.setPlainText(QStringLiteral("zwmt watr"));
    EXPECT_EVENTUALLY(!highlighter->isChecking());
    EXPECT_TRUE(underlined(doc).isEmpty());
    EXPECT_TRUE(highlighter->doubtfulWordAt(1).isNull());
}

}  // namespace
}  // namespace vinkring::test

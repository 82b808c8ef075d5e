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

#include <algorithm>
#include <array>
#include <vector>

#include "fakes/enchantfolder.h"
#include "spelling/spellingdictionary.h"
#include "spelling/spellinghighlighter.h"
#include "eventually.h"

namespace vinkring::test {
namespace {

// The underlined words of a paragraph, in order.
QStringList underlined(const QTextBlock& block)
{
    QStringList words;
    for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
        if (range.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline)
            words << block.text().mid(range.start, range.length);
    }
    return words;
}

// Of the document.
QStringList underlined(const QTextDocument& doc)
{
    QStringList words;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        words << underlined(block);
    return words;
}

class DictionaryTest : public ::testing::Test {
protected:
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

TEST_F(DictionaryTest, SuggestionsComeBackOnThisThreadUnlessTheReceiverWent)
{
    bool toGone = false;
    auto gone = std::make_unique<QObject>();
    dictionary->findSuggestions(QStringLiteral("viss"), gone.get(), [&](const QStringList&) { toGone = true; });
    gone.reset();
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
    EXPECT_FALSE(toGone) << "answered in turn, the first one dropped";

    SpellingDictionary missing({QStringLiteral("xq")});
    EXPECT_FALSE(missing.exists());
    EXPECT_EQ(missing.isKnownAt(QStringLiteral("zwmt"), {0, 4}, true), true) << "no dictionary, no doubt";
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
    doc.setPlainText(QStringLiteral("De vis zwmt in het watr.\nEen zee-aquarium, een zee-akwarium.\n"
                                    "Bij 25 graden, 10cm, KH 7, www.vinkring.nl/forum, info@vinkring.nl"));
    settle();
    // Of the last line only "Bij" and "graden" are checked, and not in the small dictionary.
    EXPECT_EQ(underlined(doc), (QStringList{"zwmt", "watr", "zee-akwarium", "Bij", "graden"}));
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

    // A large edit over underlined paragraphs, as "Alles vervangen" makes:
    // meanwhile no underline stands where its word no longer is.
    QTextCursor edit(&doc);
    edit.beginEditBlock();
    for (int i = 0; i < 400; i += 2) {
        edit.setPosition(doc.findBlockByNumber(i).position());
        edit.insertText(QStringLiteral("De vis zwemt in het water, "));
    }
    edit.endEditBlock();
    EXPECT_TRUE(highlighter->isChecking());
    const QStringList meanwhile = underlined(doc);
    EXPECT_EQ(meanwhile.count(QStringLiteral("viss")), meanwhile.size()) << meanwhile.join(u',').toStdString();
    settle();
    EXPECT_EQ(underlined(doc), QStringList(400, QStringLiteral("viss")));
}

TEST_F(HighlighterTest, ATextThereBeforeIsCheckedToo)
{
    QTextDocument other;
    other.setPlainText(QStringLiteral("de viss"));
    auto* late = new SpellingHighlighter(*dictionary, &other);
    ASSERT_EVENTUALLY_WITH_TIMEOUT(!late->isChecking(), 10000);
    EXPECT_EQ(underlined(other), QStringList{"viss"});
}

// As in the window: the passes of several fields take turns, the writer
// types while they run, and later a word becomes known.
TEST_F(DictionaryTest, PassesTakingTurnsEndAsAFreshCheckWouldWithEveryKeyTypedOnce)
{
    QString text;
    for (int i = 0; i < 200; ++i)
        text += QStringLiteral("de vis zwemt in het warm water, een viss %1.\n").arg(i);
    std::array<QTextDocument, 4> fields;
    std::vector<SpellingHighlighter*> passes;
    for (QTextDocument& field : fields) {
        passes.push_back(new SpellingHighlighter(*dictionary, &field));
        field.setPlainText(text);
    }
    const auto checking = [&] { return std::ranges::any_of(passes, &SpellingHighlighter::isChecking); };
    ASSERT_EVENTUALLY(!underlined(fields[1]).isEmpty());

    QTextCursor cursor(fields[0].findBlockByNumber(100));
    cursor.movePosition(QTextCursor::EndOfBlock);
    QString typed = text;
    typed.insert(cursor.position(), QStringLiteral(" zwmt"));
    for (const QChar key : QStringLiteral(" zwmt")) {
        ASSERT_TRUE(checking()) << "typed while the passes run";
        passes[0]->keyTyped();
        cursor.insertText(QString(key));
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(underlined(cursor.block()), (QStringList{"viss", "zwmt"})) << "its paragraph checked at once";
    ASSERT_EVENTUALLY_WITH_TIMEOUT(!checking(), 30000);
    QStringList expected(200, QStringLiteral("viss"));
    EXPECT_EQ(underlined(fields[1]), expected);
    expected.insert(101, QStringLiteral("zwmt"));
    EXPECT_EQ(underlined(fields[0]), expected);
    EXPECT_EQ(fields[0].toPlainText(), typed);

    dictionary->ignoreForRun(QStringLiteral("viss"));
    ASSERT_TRUE(checking());
    ASSERT_EVENTUALLY_WITH_TIMEOUT(!checking(), 30000);
    EXPECT_EQ(underlined(fields[0]), QStringList{"zwmt"});
    EXPECT_TRUE(underlined(fields[3]).isEmpty());
}

}  // namespace
}  // namespace vinkring::test

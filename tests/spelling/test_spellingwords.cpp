// Which words of a text the dictionary is asked about.

#include <gtest/gtest.h>

#include "spelling/spellingwords.h"

namespace vinkring {
namespace {

QStringList wordsOf(const QString& text)
{
    QStringList words;
    for (const TextSpan& s : checkableWords(text))
        words << text.mid(s.start, s.length);
    return words;
}

TEST(SpellingWords, UnicodeWordsWithAccentsAndApostrophes)
{
    EXPECT_EQ(wordsOf(QStringLiteral("Één vis's, twee café’s.")),
              (QStringList{"Één", "vis's", "twee", QStringLiteral("café’s")}));
    EXPECT_EQ(wordsOf(QStringLiteral("(mooi!) \"goed\"?")), (QStringList{"mooi", "goed"}));
}

TEST(SpellingWords, HyphenatedCompoundIsOneWord)
{
    EXPECT_EQ(wordsOf(QStringLiteral("Een zee-aquarium en het Amazone-gebied")),
              (QStringList{"Een", "zee-aquarium", "en", "het", "Amazone-gebied"}));
    // A dangling hyphen joins nothing.
    EXPECT_EQ(wordsOf(QStringLiteral("zee- en zoetwater, -zout")),
              (QStringList{"zee", "en", "zoetwater", "zout"}));
}

TEST(SpellingWords, NumbersAddressesAndCapitalsAreLeftOut)
{
    EXPECT_EQ(wordsOf(QStringLiteral("Bij 25 graden en 10cm, KH 7 en pH 6,5 op www.vinkring.nl/forum, "
                                     "http://example.com/a?b=c, mail info@vinkring.nl of vinkring.nl.")),
              (QStringList{"Bij", "graden", "en", "en", "pH", "op", "mail", "of"}));
}

// The forum's codes and tags are no words; the text a link shows is.
TEST(SpellingWords, CodesAndTagsAreLeftOut)
{
    const struct {
        const char* text;
        QStringList words;
    } cases[] = {
        {"Zie [URL=http://www.vissn.nl]mijn site[/URL] en [URL]http://www.vissn.nl/bak[/URL] of www.vissn.nl.",
         {"Zie", "mijn", "site", "en", "of"}},
        {"[url=vissn.nl/bak]de bak[/url] [url]vissn.nl[/url]", {"de", "bak"}},
        {"[URL=\"http://www.vissn.nl/mijn bak\"]mijn bak[/URL]", {"mijn", "bak"}},
        {"[Url=www.vissn.nl/a]tekst[/uRL]", {"tekst"}},
        {"<b>vet</b>, <u>onder</u><br>regel<br />en <i>schuin</I>", {"vet", "onder", "regel", "en", "schuin"}},
        {"[b]vet[/b] [img]plaatje.jpg[/img]", {"vet"}},
        {"adres=www.vissn.nl of link:http://vissn.nl/bak", {"adres", "of", "link"}},
        // What only looks like a code is text.
        {"a < b en [noot 1] of <b", {"a", "b", "en", "noot", "of", "b"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(wordsOf(QString::fromUtf8(c.text)), c.words) << c.text;
}

TEST(SpellingWords, LineEndsSeparateWords)
{
    const QString text = QStringLiteral("eerste\r\ntweede\r\n\r\nderde");
    const QList<TextSpan> spans = checkableWords(text);
    ASSERT_EQ(spans.size(), 3);
    EXPECT_EQ(spans[1], (TextSpan{8, 6}));
    EXPECT_EQ(text.mid(spans[2].start, spans[2].length), QStringLiteral("derde"));
    EXPECT_TRUE(checkableWords(QString()).isEmpty());
}

TEST(SpellingWords, DictionaryFormsTakeAbbreviationPointAndApostrophe)
{
    const QString text = QStringLiteral("Vissen enz. en ’s avonds.");
    const QList<TextSpan> spans = checkableWords(text);
    ASSERT_EQ(spans.size(), 5);
    EXPECT_EQ(dictionaryForms(text, spans[1]), (QStringList{"enz", "enz."}));
    EXPECT_EQ(dictionaryForms(text, spans[3]), (QStringList{"s", QStringLiteral("’s")}));
    EXPECT_EQ(dictionaryForms(text, spans[0]), QStringList{"Vissen"});
    // An apostrophe inside a word is no leading apostrophe.
    const QString inside = QStringLiteral("vis'sen");
    EXPECT_EQ(dictionaryForms(inside, TextSpan{4, 3}), QStringList{"sen"});
}

TEST(SpellingWords, CompoundParts)
{
    EXPECT_EQ(compoundParts(QStringLiteral("zee-aquarium")), (QStringList{"zee", "aquarium"}));
    EXPECT_EQ(compoundParts(QStringLiteral("vis")), QStringList{"vis"});
}

TEST(SpellingWords, SentenceAroundAWord)
{
    const QString text = QStringLiteral("De vis zwemt. Het watr is warm!\r\nNieuwe regel");
    const TextSpan second = sentenceAround(text, text.indexOf(QStringLiteral("watr")));
    EXPECT_EQ(text.mid(second.start, second.length), QStringLiteral("Het watr is warm!"));
    const TextSpan first = sentenceAround(text, 0);
    EXPECT_EQ(text.mid(first.start, first.length), QStringLiteral("De vis zwemt."));
    const TextSpan last = sentenceAround(text, text.indexOf(QStringLiteral("regel")));
    EXPECT_EQ(text.mid(last.start, last.length), QStringLiteral("Nieuwe regel"));
}

}  // namespace
}  // namespace vinkring

// Finding in the whole article: hits in the fields in the document's order
// and in the link lines, the options, going round, and replacing them all.
#include <gtest/gtest.h>

#include "article/articlesearch.h"
#include "article/tagcommands.h"

using namespace vinkring;

namespace {

TEST(ArticleSearch, FindsCountsAndReplacesAcrossTheArticle)
{
    ArticleDocument doc;
    doc.field("txtTitel") = QStringLiteral("De Guppy");                                        // page 0
    doc.field("txtInleiding") = QStringLiteral("Een guppy is klein.\r\nGUPPY'S zijn levendbarend.");  // page 1
    doc.field("txtConclusie") = QStringLiteral("guppyvoer voor de guppy");                    // page 11
    doc.links = QStringList{QStringLiteral("Guppy info, http://guppy.nl"), QStringLiteral("Zalm, http://x.nl")};
    const DocumentTexts texts(doc);
    const std::size_t inleiding = fieldIndex("txtInleiding").value();
    const std::size_t conclusie = fieldIndex("txtConclusie").value();
    const std::size_t link = kFieldCount;

    const struct {
        SearchOptions options;
        std::vector<SearchHit> hits;  // in the document's order
    } cases[] = {
        {{}, {{0, 3, 5}, {inleiding, 4, 5}, {inleiding, 21, 5}, {conclusie, 0, 5}, {conclusie, 18, 5}, {link, 0, 5},
              {link, 19, 5}}},
        {{true, false}, {{inleiding, 4, 5}, {conclusie, 0, 5}, {conclusie, 18, 5}, {link, 19, 5}}},
        {{false, true}, {{0, 3, 5}, {inleiding, 4, 5}, {inleiding, 21, 5}, {conclusie, 18, 5}, {link, 0, 5}, {link, 19, 5}}},
        {{true, true}, {{inleiding, 4, 5}, {conclusie, 18, 5}, {link, 19, 5}}},
    };
    for (const auto& c : cases) {
        const ArticleSearch search(QStringLiteral("guppy"), c.options);
        const std::string options = std::to_string(c.options.matchCase) + std::to_string(c.options.wholeWords);
        EXPECT_EQ(search.count(texts), qsizetype(c.hits.size())) << options;

        // Forwards from the start of the title, each hit once, then round.
        std::vector<SearchHit> walked;
        SearchHit at{0, 0, 0};
        for (std::size_t i = 0; i <= c.hits.size(); ++i) {
            const std::optional<ArticleSearch::Found> found = search.find(texts, at, false);
            ASSERT_TRUE(found) << options;
            EXPECT_EQ(found->wrapped, i == c.hits.size()) << options << " hit " << i;
            walked.push_back(found->hit);
            at = found->hit;
        }
        EXPECT_EQ(walked.back(), c.hits.front()) << options;
        walked.pop_back();
        EXPECT_EQ(walked, c.hits) << options;

        // Backwards from the first hit: round to the last one, then the one before it.
        const std::optional<ArticleSearch::Found> last = search.find(texts, c.hits.front(), true);
        ASSERT_TRUE(last);
        EXPECT_TRUE(last->wrapped);
        EXPECT_EQ(last->hit, c.hits.back()) << options;
        if (c.hits.size() > 1) {
            EXPECT_EQ(search.find(texts, c.hits.back(), true)->hit, c.hits[c.hits.size() - 2]) << options;
            EXPECT_FALSE(search.find(texts, c.hits.back(), true)->wrapped) << options;
        }
    }
    EXPECT_FALSE(ArticleSearch(QStringLiteral("karper"), {}).find(texts, {}, false));
    EXPECT_FALSE(ArticleSearch(QString(), {}).find(texts, {}, false));
    EXPECT_EQ(ArticleSearch(QString(), {}).count(texts), 0);

    // Replacing every whole word, with any capitals: four parts, six hits.
    const ArticleSearch words(QStringLiteral("guppy"), {false, true});
    const QList<PartReplacement> changes = words.replaceAll(texts, QStringLiteral("zalm"));
    ASSERT_EQ(changes.size(), 4);
    qsizetype replaced = 0;
    ArticleDocument after = doc;
    for (const PartReplacement& change : changes) {
        replaced += change.count;
        QString& text = change.part < kFieldCount ? after.fields[change.part] : after.links[qsizetype(change.part - link)];
        text = applied(text, {change.from, change.to, change.insert, {}});
    }
    EXPECT_EQ(replaced, 6);
    EXPECT_EQ(after.field("txtTitel"), QStringLiteral("De zalm"));
    EXPECT_EQ(after.field("txtInleiding"), QStringLiteral("Een zalm is klein.\r\nzalm'S zijn levendbarend."));
    EXPECT_EQ(after.field("txtConclusie"), QStringLiteral("guppyvoer voor de zalm"));
    EXPECT_EQ(after.links, (QStringList{QStringLiteral("zalm info, http://zalm.nl"), QStringLiteral("Zalm, http://x.nl")}));
    EXPECT_EQ(words.count(DocumentTexts(after)), 0);
    EXPECT_EQ(ArticleSearch(QStringLiteral("guppy"), {}).count(DocumentTexts(after)), 1);
}

}  // namespace

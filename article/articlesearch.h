#pragma once
// Finding a text in the whole article: the 27 fields in the document's order,
// then the link lines, from a place onwards or backwards, wrapping at the
// end; counting the hits and replacing them.

#include <cstddef>
#include <optional>

#include <QList>
#include <QString>
#include <QStringMatcher>

#include "model/articledocument.h"

namespace vinkring {

struct SearchOptions {
    bool matchCase = false;
    bool wholeWords = false;
};

// The texts searched, as parts: 0 to 26 the fields, 27 and on the link lines.
class SearchTexts {
public:
    virtual ~SearchTexts() = default;
    virtual std::size_t partCount() const = 0;
    virtual QString partText(std::size_t part) const = 0;
};

// A document's texts as parts.
class DocumentTexts final : public SearchTexts {
public:
    explicit DocumentTexts(const ArticleDocument& doc) : doc_(doc) {}
    std::size_t partCount() const override { return kFieldCount + std::size_t(doc_.links.size()); }
    QString partText(std::size_t part) const override
    {
        return part < kFieldCount ? doc_.fields[part] : doc_.links.value(qsizetype(part - kFieldCount));
    }

private:
    const ArticleDocument& doc_;
};

// A place in the article, or a hit there.
struct SearchHit {
    std::size_t part = 0;
    qsizetype start = 0;
    qsizetype length = 0;
    friend bool operator==(const SearchHit&, const SearchHit&) = default;
};

// One part's text after "Alles vervangen": from `from` to `to` becomes
// `insert`, with `count` hits replaced in it.
struct PartReplacement {
    std::size_t part = 0;
    qsizetype from = 0;
    qsizetype to = 0;
    QString insert;
    qsizetype count = 0;
};

class ArticleSearch {
public:
    ArticleSearch(const QString& text, SearchOptions options);

    bool isEmpty() const { return text_.isEmpty(); }
    qsizetype length() const { return text_.size(); }

    // In one text: the first hit starting at or after `from`; the last one
    // starting before `before`; -1 when there is none.
    qsizetype nextIn(QStringView text, qsizetype from) const;
    qsizetype previousIn(QStringView text, qsizetype before) const;
    qsizetype countIn(QStringView text) const;
    bool isHitAt(QStringView text, qsizetype at, qsizetype length) const;

    struct Found {
        SearchHit hit;
        bool wrapped = false;  // past the article's end (or its start, backwards)
    };
    // The next hit after `from` (its start and length: a selection), or the
    // one before it; once round the article at most.
    std::optional<Found> find(const SearchTexts& texts, const SearchHit& from, bool backward) const;
    qsizetype count(const SearchTexts& texts) const;
    // Every hit replaced by `by`, part by part.
    QList<PartReplacement> replaceAll(const SearchTexts& texts, const QString& by) const;

private:
    bool wordAt(QStringView text, qsizetype at) const;

    QString text_;
    SearchOptions options_;
    QStringMatcher matcher_;
};

}  // namespace vinkring

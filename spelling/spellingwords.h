#pragma once
// Finding the words of a cell's text that the dictionary is asked about.

#include <QList>
#include <QString>
#include <QStringList>

namespace vinkring {

struct TextSpan {
    qsizetype start = 0;
    qsizetype length = 0;
    qsizetype end() const { return start + length; }
    friend bool operator==(const TextSpan&, const TextSpan&) = default;
};

// The words to check, in text order. Words end at Unicode word boundaries,
// so "één" and "vis's" are one word each; a compound joined by hyphens
// ("zee-aquarium") is one word too. Left out: numbers and words with digits,
// words written all in capitals (KH, GH), internet and e-mail addresses,
// and the forum's codes and tags: the address of a link code, the codes
// themselves ([URL=...], [/URL], [b]) and tags (<b>, </u>, <br>). The text a
// link shows is checked as text.
QList<TextSpan> checkableWords(const QString& text);

// The ways the dictionary may know the word at this place: as it stands,
// with the full stop that follows it ("enz."), with the apostrophe that
// precedes it ("'s"). The first is the word itself.
QStringList dictionaryForms(const QString& text, TextSpan word);

// The forms a word the writer ignores also covers, as the dictionary's own
// check would: the word, with a capital at a sentence's start ("IJ" for
// "ij"), and each of those with 's after it.
QStringList ignoredForms(const QString& word);

// The parts of a hyphenated compound; the word itself when it has none.
QStringList compoundParts(const QString& word);

// The sentence around a position, without the blanks and line ends around it.
TextSpan sentenceAround(const QString& text, qsizetype position);

}  // namespace vinkring

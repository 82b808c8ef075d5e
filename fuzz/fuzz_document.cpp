// libFuzzer target: reading a document file. Arbitrary bytes go through the
// reader's decoding (UTF-8 or Windows-1252) and ParseDocument; every document that parses is
// rendered in both flavours, applied as the reader applies it, and written
// back, which must give the same texts and lines again. The same bytes, cut
// into texts, are also written as a document and read back.

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringList>

#include "model/articledocument.h"
#include "article/articlebuilder.h"
#include "document/documentfile.h"
#include "document/documentformat.h"
#include "document/windows1252.h"
#include "fuzz/fuzzcheck.h"

using namespace vinkring;

namespace {

const QString kPath = QStringLiteral("fuzz.vkv");

// The reader's application of a parsed document to the open one: every field
// replaced in order, the links list emptied, then filled.
void apply(ArticleDocument& target, const ArticleDocument& parsed)
{
    for (std::size_t i = 0; i < kFieldCount; ++i)
        target.fields[i] = parsed.fields[i];
    target.links.clear();
    for (const QString& line : parsed.links)
        target.links.append(line);
}

// The text of a file's bytes (line end and byte-order mark still on them) as
// the reader takes it: UTF-8 when they start with its byte-order mark or hold
// characters beyond ASCII that are all valid UTF-8, otherwise Windows-1252.
QString fileText(QByteArray bytes, bool& utf8)
{
    const bool mark = bytes.startsWith("\xEF\xBB\xBF");
    if (mark)
        bytes.remove(0, 3);
    utf8 = false;
    const bool beyondAscii = std::any_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) >= 0x80; });
    if (mark || beyondAscii) {
        QStringDecoder decoder(QStringConverter::Utf8,
                               QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
        const QString text = decoder.decode(bytes);
        utf8 = !decoder.hasError();
        if (utf8)
            return text;
    }
    return decodeWindows1252(bytes);
}

// Parts taken apart at the markers hold no marker, so every parsed document
// can be written and read back unchanged (one read as UTF-8 when it holds
// only characters the file's code page has).
void checkRoundTrip(const ArticleDocument& parsed, bool utf8)
{
    FUZZ_CHECK(placesWithMarkers(parsed).empty());
    FUZZ_CHECK(utf8 || placesWithUnencodable(parsed).empty());
    FUZZ_CHECK(parsed.links.size() != 1 || !parsed.links.first().isEmpty());

    const QString written = SerializeDocument(parsed);
    FUZZ_CHECK(written.count(kFieldMarker) == 27);
    const std::optional<ArticleDocument> reread = ParseDocument(written);
    FUZZ_CHECK(reread.has_value());
    FUZZ_CHECK(reread->fields == parsed.fields);
    FUZZ_CHECK(reread->links == parsed.links);

    const std::optional<QByteArray> file = documentFileBytes(parsed);
    FUZZ_CHECK(file.has_value() == placesWithUnencodable(parsed).empty());
    if (!file)
        return;
    const DocumentReadResult again = parseDocumentFile(*file, kPath);
    FUZZ_CHECK(again.document.has_value());
    FUZZ_CHECK(*again.document == parsed);
}

void checkArticles(const ArticleDocument& doc)
{
    for (const ArticleFlavour flavour : {ArticleFlavour::Html, ArticleFlavour::Forum}) {
        const QString article = BuildArticle(doc, flavour);
        const QString paragraph = flavour == ArticleFlavour::Html ? QStringLiteral("<br/><br/>") : QStringLiteral("\r\n\r\n");
        FUZZ_CHECK(article.startsWith(QStringLiteral("<b>") + doc.fields[kTitleField] + QStringLiteral("</b>") + paragraph));
        for (const QString& field : doc.fields)
            FUZZ_CHECK(article.contains(field));
    }
}

// The bytes as a file to read.
void checkFile(const QByteArray& bytes)
{
    const QString decoded = decodeWindows1252(bytes);
    FUZZ_CHECK(decoded.size() == bytes.size());
    FUZZ_CHECK(unencodableCharacters(decoded).isEmpty());
    const std::optional<QByteArray> encoded = encodeWindows1252(decoded);
    FUZZ_CHECK(encoded.has_value() && *encoded == bytes);

    bool utf8 = false;
    QString text = fileText(bytes, utf8);
    if (text.endsWith(QStringLiteral("\r\n")))
        text.chop(2);
    else if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    const qsizetype markers = text.count(kFieldMarker);

    const std::optional<ArticleDocument> parsed = ParseDocument(text);
    FUZZ_CHECK(parsed.has_value() == (markers >= 27));
    const DocumentReadResult read = parseDocumentFile(bytes, kPath);
    FUZZ_CHECK(read.document.has_value() == read.reason.isEmpty());
    FUZZ_CHECK(read.document.has_value() == (!text.isEmpty() && parsed && parsed->links.size() <= kMaxLinkLines));
    if (!read.document)
        return;
    FUZZ_CHECK(*read.document == *parsed);
    // Texts after the links part are left out, and the reader says so.
    FUZZ_CHECK(read.notice.isEmpty() == (markers == 27));
    checkRoundTrip(*read.document, utf8);

    // A file with exactly 27 field markers and the final CR LF, in the code
    // page (without a byte-order mark, which is dropped), is written back byte
    // for byte.
    if (!utf8 && !bytes.startsWith("\xEF\xBB\xBF") && markers == 27 && bytes.endsWith("\r\n"))
        FUZZ_CHECK(documentFileBytes(*read.document) == bytes);

    ArticleDocument open = defaultDocument();
    open.links = QStringList{QStringLiteral("Oud, oud.htm"), QStringLiteral("Ouder, ouder.htm")};
    apply(open, *read.document);
    FUZZ_CHECK(open == *read.document);
    checkArticles(open);
}

// The bytes as the texts of a document to write: pieces between record
// separators (0x1E) are the 27 fields, then the link lines.
void checkWrite(const QByteArray& bytes)
{
    const QStringList pieces = decodeWindows1252(bytes).split(QChar(0x1E));
    ArticleDocument doc;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i < qsizetype(kFieldCount))
            doc.fields[std::size_t(i)] = pieces.at(i);
        else
            doc.links.append(pieces.at(i));
    }
    const std::optional<QByteArray> file = documentFileBytes(doc);
    // Only a marker keeps a document out of the file: every character came
    // from a byte, so every character has one.
    FUZZ_CHECK(file.has_value() == placesWithMarkers(doc).empty());
    if (!file)
        return;
    FUZZ_CHECK(file->endsWith("\r\n"));
    const DocumentReadResult read = parseDocumentFile(*file, kPath);
    FUZZ_CHECK(read.document.has_value() == (doc.links.size() <= kMaxLinkLines));
    if (!read.document)
        return;
    // One empty link line is written as no links part at all.
    if (doc.links == QStringList{QString()})
        doc.links.clear();
    FUZZ_CHECK(*read.document == doc);
    checkArticles(doc);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    checkFile(bytes);
    checkWrite(bytes);
    return 0;
}

// The document string and its bytes: worked examples, round trips, parsing.
#include <gtest/gtest.h>

#include <QStringDecoder>
#include <QStringEncoder>

#include "model/articledocument.h"
#include "document/documentfile.h"
#include "document/documentformat.h"
#include "document/windows1252.h"
#include "samples.h"

using namespace vinkring;

namespace {

const QString kMarker = QStringLiteral("<vbcrlf>");
const QString kLink = QStringLiteral("<ulrcrlf>");

using test::guppy;

// Bytes -> document -> bytes, checking both directions.
ArticleDocument roundTrip(const ArticleDocument& doc)
{
    const std::optional<QByteArray> bytes = documentFileBytes(doc);
    EXPECT_TRUE(bytes.has_value());
    if (!bytes)
        return {};
    const DocumentReadResult read = parseDocumentFile(*bytes, QStringLiteral("x.vkv"));
    EXPECT_TRUE(read.document.has_value()) << read.reason.toStdString();
    if (!read.document)
        return {};
    EXPECT_EQ(documentFileBytes(*read.document), bytes);
    return *read.document;
}

QString allCodePageCharacters()
{
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes.append(char(i));
    return decodeWindows1252(bytes);
}

// In UTF-8 without the text first: the same bytes, a pair of surrogates at
// any place a run of the writing may end, and a lone one at the very end.
TEST(DocumentString, Utf8AsTheWholeTextEncoded)
{
    ArticleDocument doc;
    const QString pair = QStringLiteral("\U0001F41F");
    QString field;
    for (int i = 0; i < 4; ++i)
        field += QString(64 * 1024 - 1 + i, u'\u00e9') + pair;
    doc.field("txtInleiding") = field;
    doc.field("txtTitel") = QStringLiteral("Vis ") + pair;
    doc.links << QStringLiteral("Foto, f.jpg") << QString(QChar(0xd83d));
    QByteArray bytes("head\n");
    appendSerializedUtf8(bytes, doc);
    EXPECT_EQ(bytes, "head\n" + SerializeDocument(doc).toUtf8());
}

}  // namespace

TEST(DocumentString, EmptyDocumentIs27FieldMarkers)
{
    const ArticleDocument empty;
    const QString text = SerializeDocument(empty);
    EXPECT_EQ(text.size(), 216);
    EXPECT_EQ(text, kMarker.repeated(27));

    const std::optional<QByteArray> bytes = documentFileBytes(empty);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), 218);
    EXPECT_EQ(*bytes, QByteArray("<vbcrlf>").repeated(27) + "\r\n");

    const std::optional<ArticleDocument> parsed = ParseDocument(text);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(*parsed, empty);
    EXPECT_TRUE(parsed->links.isEmpty());
}

TEST(DocumentString, GuppyWorkedExample)
{
    const QString expected = QStringLiteral("Guppy") + kMarker + QStringLiteral("Jan") + kMarker +
                             QStringLiteral("Regel een\r\nRegel twee") + kMarker + kMarker.repeated(23) +
                             QStringLiteral("Mooi.") + kMarker + QStringLiteral("Kweekverslag, kweek.htm") + kLink +
                             QStringLiteral("Foto, foto.jpg");
    const QString text = SerializeDocument(guppy());
    EXPECT_EQ(text.size(), 296);
    EXPECT_EQ(text, expected);

    const std::optional<QByteArray> bytes = documentFileBytes(guppy());
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), 298);
    EXPECT_EQ(*bytes, expected.toLatin1() + "\r\n");

    const DocumentReadResult read = parseDocumentFile(*bytes, QStringLiteral("guppy.vkv"));
    ASSERT_TRUE(read.document) << read.reason.toStdString();
    EXPECT_EQ(*read.document, guppy());
}

TEST(DocumentString, LinksPart)
{
    ArticleDocument one;
    one.links << QStringLiteral("Foto, foto.jpg");
    const QString text = SerializeDocument(one);
    EXPECT_TRUE(text.endsWith(kMarker + QStringLiteral("Foto, foto.jpg")));
    EXPECT_FALSE(text.contains(kLink));
    EXPECT_EQ(roundTrip(one), one);

    // Empty pieces between link markers are lines of their own.
    const std::optional<ArticleDocument> pieces = ParseDocument(kMarker.repeated(27) + kLink + QStringLiteral("b") + kLink);
    ASSERT_TRUE(pieces);
    EXPECT_EQ(pieces->links, QStringList({QString(), QStringLiteral("b"), QString()}));

    // Parts after the links part are not used.
    const std::optional<ArticleDocument> extra =
        ParseDocument(kMarker.repeated(27) + QStringLiteral("a, b") + kMarker + QStringLiteral("rest"));
    ASSERT_TRUE(extra);
    EXPECT_EQ(extra->links, QStringList{QStringLiteral("a, b")});
}

TEST(DocumentString, FewerThan27MarkersIsNoDocument)
{
    EXPECT_FALSE(ParseDocument(QString()));
    EXPECT_FALSE(ParseDocument(kMarker.repeated(26) + QStringLiteral("tekst")));
    // Case and spelling count: these are not markers.
    EXPECT_FALSE(ParseDocument(kMarker.repeated(26) + QStringLiteral("<VBCRLF>")));
    EXPECT_TRUE(ParseDocument(kMarker.repeated(27)));
}

TEST(DocumentString, TextsPassUnchanged)
{
    ArticleDocument doc;
    doc.field("txtTitel") = QStringLiteral("  spaties voor en achter  ");
    doc.field("txtAuteur") = QStringLiteral("\tTab\tin\tde naam\t");
    doc.field("txtInleiding") = QStringLiteral("\r\n\r\nEerste\r\n  tweede  \r\n\r\n");
    doc.field("txtFamilie") = QStringLiteral("Familie:\r\nOrde: \r\nKlasse:\r\n");
    doc.field("txtVindPLaats") = allCodePageCharacters();
    doc.field("txtConclusie") = QStringLiteral("<vbcrl f> <vbcrlf <ulrcrlf> bijna");  // not a field marker
    doc.links << QStringLiteral(" Kweek, verslag , kweek.htm ") << QStringLiteral("Foto, \xe9\xe8.jpg\r");
    EXPECT_EQ(roundTrip(doc), doc);

    ArticleDocument lastEmpty;
    lastEmpty.links << QStringLiteral("a, b") << QString();
    EXPECT_EQ(roundTrip(lastEmpty), lastEmpty);
}

TEST(DocumentString, ManyLinks)
{
    ArticleDocument doc;
    for (int i = 0; i < kMaxLinkLines; ++i)
        doc.links << QStringLiteral("Link %1, http://example.org/%1").arg(i);
    EXPECT_EQ(roundTrip(doc), doc);

    doc.links << QStringLiteral("een te veel, x.htm");
    const DocumentReadResult read = parseDocumentFile(*documentFileBytes(doc), QStringLiteral("/tmp/veel.vkv"));
    EXPECT_FALSE(read.document);
    EXPECT_TRUE(read.reason.contains(QStringLiteral("\"/tmp/veel.vkv\""))) << read.reason.toStdString();
    EXPECT_TRUE(read.reason.contains(QStringLiteral("32768"))) << read.reason.toStdString();
    EXPECT_TRUE(read.reason.contains(QStringLiteral("32767"))) << read.reason.toStdString();
}

TEST(DocumentBytes, FinalLineEnd)
{
    const QByteArray body = SerializeDocument(guppy()).toLatin1();
    for (const QByteArray& ending : {QByteArray("\r\n"), QByteArray("\n"), QByteArray()}) {
        const DocumentReadResult read = parseDocumentFile(body + ending, QStringLiteral("g.vkv"));
        ASSERT_TRUE(read.document) << read.reason.toStdString();
        EXPECT_EQ(*read.document, guppy()) << ending.toHex().toStdString();
    }
    // Only one line end goes; a lone CR stays with the last link.
    const DocumentReadResult twice = parseDocumentFile(body + "\r\n\r\n", QStringLiteral("g.vkv"));
    ASSERT_TRUE(twice.document);
    EXPECT_EQ(twice.document->links.last(), QStringLiteral("Foto, foto.jpg\r\n"));
    const DocumentReadResult cr = parseDocumentFile(body + "\r", QStringLiteral("g.vkv"));
    ASSERT_TRUE(cr.document);
    EXPECT_EQ(cr.document->links.last(), QStringLiteral("Foto, foto.jpg\r"));
}

TEST(DocumentBytes, NotADocument)
{
    const QString path = QStringLiteral("/map/artikel.vkv");
    const DocumentReadResult empty = parseDocumentFile(QByteArray(), path);
    EXPECT_FALSE(empty.document);
    EXPECT_TRUE(empty.reason.contains(QStringLiteral("\"/map/artikel.vkv\" is leeg"))) << empty.reason.toStdString();

    const DocumentReadResult few =
        parseDocumentFile(QByteArray("<vbcrlf>").repeated(26) + "Guppy\r\n", path);
    EXPECT_FALSE(few.document);
    EXPECT_TRUE(few.reason.contains(QStringLiteral("\"/map/artikel.vkv\""))) << few.reason.toStdString();
    EXPECT_TRUE(few.reason.contains(QStringLiteral("26 van de 27"))) << few.reason.toStdString();

    const DocumentReadResult text = parseDocumentFile("Gewoon een brief.\r\n", path);
    EXPECT_FALSE(text.document);
    EXPECT_TRUE(text.reason.contains(QStringLiteral("0 van de 27"))) << text.reason.toStdString();
}

TEST(Windows1252, EveryByteDecodesAndEncodesBack)
{
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes.append(char(i));
    const QString text = decodeWindows1252(bytes);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(text.at(0x80), QChar(0x20AC));  // euro sign
    EXPECT_EQ(text.at(0x8A), QChar(0x0160));  // S with caron
    EXPECT_EQ(text.at(0xE9), QChar(0x00E9));  // e acute
    EXPECT_EQ(encodeWindows1252(text), bytes);
    EXPECT_TRUE(unencodableCharacters(text).isEmpty());
}

TEST(Windows1252, CharactersWithoutAByte)
{
    const QString emoji = QString::fromUtf8("\xF0\x9F\x90\x9F");  // a fish
    const QString text = QString::fromUtf8("Łódź ł ") + emoji + QStringLiteral(" \u200B\uFEFF é") + emoji;
    EXPECT_FALSE(encodeWindows1252(text));
    // U+FEFF would vanish without an error from the converter: it must be found.
    EXPECT_FALSE(encodeWindows1252(QStringLiteral("a\uFEFFb")));
    EXPECT_EQ(unencodableCharacters(text),
              QStringList({QString::fromUtf8("Ł"), QString::fromUtf8("ź"), QString::fromUtf8("ł"), emoji,
                           QStringLiteral("\u200B"), QStringLiteral("\uFEFF")}));
    EXPECT_EQ(replaceUnencodable(text), QString::fromUtf8("?ód? ? ? ?? é?"));

    QString lone = QStringLiteral("a");
    lone.append(QChar(0xD83D));
    lone.append(QLatin1Char('b'));
    EXPECT_EQ(unencodableCharacters(lone).size(), 1);
    EXPECT_EQ(replaceUnencodable(lone), QStringLiteral("a?b"));
}

TEST(Windows1252, AgreesWithQtsConverter)
{
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes.append(char(i));
    QStringDecoder decoder("windows-1252");
    ASSERT_TRUE(decoder.isValid());
    const QString qtText = decoder.decode(bytes);
    EXPECT_FALSE(decoder.hasError());
    EXPECT_EQ(decodeWindows1252(bytes), qtText);

    // Every character of the Basic Multilingual Plane: held exactly when Qt's
    // encoder gives one byte without error, and then as that byte.
    for (char32_t c = 1; c < 0x10000; ++c) {
        if (QChar::isSurrogate(c))
            continue;
        const QString one{QChar(char16_t(c))};
        QStringEncoder encoder("windows-1252");
        const QByteArray qtBytes = encoder.encode(one);
        const bool qtHolds = !encoder.hasError() && qtBytes.size() == 1;
        const std::optional<QByteArray> ours = encodeWindows1252(one);
        ASSERT_EQ(ours.has_value(), qtHolds) << std::hex << unsigned(c);
        if (ours) {
            ASSERT_EQ(*ours, qtBytes) << std::hex << unsigned(c);
        }
    }
}

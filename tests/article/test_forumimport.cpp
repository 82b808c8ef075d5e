// Importing the forum text that "Klembord" makes gives the document back,
// over many generated documents, also when a forum's editor has changed the
// line ends or dropped blanks at line ends; a heading taken out is named.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "article/articlebuilder.h"
#include "article/forumimport.h"
#include "model/linkentry.h"
#include "model/texts.h"
#include "samples.h"

namespace vinkring {
namespace {

// Pieces of text: words, commas, tags, link codes, file markers, Dutch
// letters, an emoji, blanks, tabs and line ends; and heading lines with more
// on the line, which are no headings.
const QStringList kPieces{
    QStringLiteral("vis"), QStringLiteral("Zebravis"), QStringLiteral(", "), QStringLiteral(","),
    QStringLiteral("<b>"), QStringLiteral("</i>"), QStringLiteral("<u>2.4 Vindplaats</u> en meer"),
    QStringLiteral("[URL=kweek.htm]kweek[/URL]"), QStringLiteral("[/URL]"), QStringLiteral("<vbcrlf>"),
    QStringLiteral("<ulrcrlf>"), QStringLiteral("één"), QStringLiteral("🐟"), QStringLiteral(" "),
    QStringLiteral("  "), QStringLiteral("\t"), QStringLiteral("\r\n"), QStringLiteral("\r\n\r\n"),
    QStringLiteral("<i>Geschreven door: x</i>"), QStringLiteral("#"), QStringLiteral("&amp;"),
    QStringLiteral("x <b>1. Inleiding</b>"), QStringLiteral("]"),
};

QString generatedText(QRandomGenerator& random, bool lineEnds)
{
    QString text;
    const int count = random.bounded(0, 12);
    for (int i = 0; i < count; ++i) {
        const QString& piece = kPieces[random.bounded(kPieces.size())];
        if (lineEnds || !piece.contains(u'\r'))
            text += piece;
    }
    return text;
}

ArticleDocument generatedDocument(QRandomGenerator& random)
{
    ArticleDocument doc;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        // Empty fields often; the title and the author are single lines.
        doc.fields[i] = random.bounded(3) == 0 ? QString() : generatedText(random, i >= kFirstSectionField);
    }
    const int links = random.bounded(0, 5);
    for (int i = 0; i < links; ++i) {
        // As the links editor makes them: no blanks around either, the URL
        // one line without "]".
        const QString description = generatedText(random, false).trimmed().remove(u'\t');
        const QString url = generatedText(random, false).remove(u']').remove(u' ').remove(u'\t');
        doc.links << makeLinkLine(description, url);
    }
    return doc;
}

// What a forum's editor may do to the text.
QString withLineEnds(QString text, const QString& lineEnd)
{
    return text.replace(QStringLiteral("\r\n"), lineEnd);
}

QString withoutBlanksAtLineEnds(const QString& text)
{
    static const QRegularExpression blanks(QStringLiteral("[ \\t]+(?=\\r\\n|$)"));
    return QString(text).remove(blanks);
}

std::string describe(const ArticleDocument& doc)
{
    QStringList out;
    for (std::size_t i = 0; i < kFieldCount; ++i)
        out << QString::fromUtf8(kFields[i].name.data(), qsizetype(kFields[i].name.size())) + QStringLiteral(": [")
                + doc.fields[i] + QLatin1Char(']');
    out << doc.links;
    return out.join(QLatin1Char('\n')).toStdString();
}

TEST(ForumImportProperty, TheForumTextGivesTheDocumentBack)
{
    QRandomGenerator random(20);
    for (int round = 0; round < 400; ++round) {
        const ArticleDocument doc = generatedDocument(random);
        const QString forum = BuildArticle(doc, ArticleFlavour::Forum);
        SCOPED_TRACE("document " + std::to_string(round) + ":\n" + describe(doc));

        for (const QString& lineEnd : {QStringLiteral("\r\n"), QStringLiteral("\n"), QStringLiteral("\r")}) {
            const ForumImport back = importForumText(withLineEnds(forum, lineEnd));
            ASSERT_TRUE(back.document) << back.message.toStdString();
            EXPECT_EQ(*back.document, doc) << "line ends " << lineEnd.toUtf8().toHex().toStdString() << ":\n"
                                           << describe(*back.document);
            EXPECT_TRUE(back.message.isEmpty());
        }

        // Blanks at line ends gone: each text comes back without them.
        ArticleDocument trimmed = doc;
        for (std::size_t i = kFirstSectionField; i < kFieldCount; ++i)
            trimmed.fields[i] = withoutBlanksAtLineEnds(doc.fields[i]);
        const ForumImport back = importForumText(withoutBlanksAtLineEnds(forum));
        ASSERT_TRUE(back.document) << back.message.toStdString();
        EXPECT_EQ(*back.document, trimmed) << describe(*back.document);

        // One heading line taken out: a section's is named and the rest
        // comes in; a chapter's (or two headings swapped) is refused, naming
        // the heading that was expected first.
        static const QRegularExpression headingLine(QStringLiteral("^<([bu])>\\d\\.(\\d+)? [^<]*</\\1> ?$"));
        QStringList lines = forum.split(QStringLiteral("\r\n"));
        QList<qsizetype> headingLines;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (headingLine.match(lines[i]).hasMatch())
                headingLines << i;
        }
        const qsizetype taken = headingLines[random.bounded(headingLines.size())];
        const QString heading = QString(lines[taken]).remove(QRegularExpression(QStringLiteral("</?[bu]>"))).trimmed();
        const bool chapter = lines[taken].startsWith(QLatin1StringView("<b>"));
        lines.removeAt(taken);
        const ForumImport missing = importForumText(lines.join(QStringLiteral("\r\n")));
        EXPECT_EQ(bool(missing.document), !chapter) << missing.message.toStdString();
        EXPECT_TRUE(missing.message.contains(heading)) << heading.toStdString() << "\n" << missing.message.toStdString();
        if (!chapter) {
            EXPECT_TRUE(missing.message.startsWith(QLatin1StringView("Het artikel is ingelezen")));
        } else {
            EXPECT_TRUE(missing.message.contains(QStringLiteral("de kop \"%1\" verwacht").arg(heading)));
        }
    }

    // Two chapters swapped, or no article at all.
    const QString forum = BuildArticle(ArticleDocument{}, ArticleFlavour::Forum);
    QString swapped = forum;
    swapped.replace(QStringLiteral("<b>3. Gedrag</b>"), QStringLiteral("@"))
        .replace(QStringLiteral("<b>4. Voedsel</b>"), QStringLiteral("<b>3. Gedrag</b>"))
        .replace(QStringLiteral("@"), QStringLiteral("<b>4. Voedsel</b>"));
    const ForumImport back = importForumText(swapped);
    EXPECT_FALSE(back.document);
    EXPECT_TRUE(back.message.contains(QStringLiteral("de kop \"3. Gedrag\" verwacht"))) << back.message.toStdString();
    EXPECT_FALSE(importForumText(QStringLiteral("Gewoon een bericht.")).document);
}

QByteArray utf16(const QString& text, bool bigEndian)
{
    QByteArray bytes;
    for (const QChar c : text) {
        const char high = char(c.unicode() >> 8);
        const char low = char(c.unicode() & 0xFF);
        bytes += bigEndian ? QByteArray{&high, 1} + low : QByteArray{&low, 1} + high;
    }
    return bytes;
}

// The forms a forum text arrives in, each from a file: every one the import
// takes gives its document, and gives it again from the program's own forum
// text of it (the fixed point); every one it refuses says why.
TEST(ForumImportForms, EachFormComesInOrIsRefusedWithItsReason)
{
    ArticleDocument doc = test::zebravis();
    doc.field("txtFamilie") = QStringLiteral("Cyprinidae\r\n  ingesprongen");
    doc.links << makeLinkLine(QStringLiteral("Wiki"), QStringLiteral("https://nl.wikipedia.org/wiki/Zebrabärbling"));
    const QString forum = BuildArticle(doc, ArticleFlavour::Forum);
    QString indented;
    for (const QString& line : forum.split(QStringLiteral("\r\n")))
        indented += QStringLiteral("    ") + line + QLatin1Char('\n');
    // A forum's editor writes every tag back in capitals, the writer's too.
    ArticleDocument capitals = doc;
    capitals.field("txtInleiding").replace(QStringLiteral("<b>"), QStringLiteral("<B>")).replace(QStringLiteral("</b>"), QStringLiteral("</B>"));
    // A title that holds an author line, as a document file may.
    ArticleDocument odd = doc;
    odd.field("txtTitel") = QStringLiteral("Vis\r\n<i>Geschreven door: niemand</i>\r\n</b>");
    odd.field("txtAuteur") = QStringLiteral("\r\nJan");

    const struct {
        const char* form;
        QByteArray bytes;
        std::optional<ArticleDocument> expected;
        QString message;  // a part of the refusal
    } cases[] = {
        {"UTF-8", forum.toUtf8(), doc, {}},
        {"UTF-16 LE with its mark", "\xFF\xFE" + utf16(forum, false), doc, {}},
        {"UTF-16 BE with its mark", "\xFE\xFF" + utf16(forum, true), doc, {}},
        {"UTF-16 LE without a mark", utf16(forum, false), doc, {}},
        {"every line indented, LF", indented.toUtf8(), doc, {}},
        {"tags in capitals", QString(forum).replace(QStringLiteral("<b>"), QStringLiteral("<B>"))
                                 .replace(QStringLiteral("</b>"), QStringLiteral("</B>"))
                                 .replace(QStringLiteral("<i>"), QStringLiteral("<I>"))
                                 .replace(QStringLiteral("</u>"), QStringLiteral("</U>")).toUtf8(), capitals, {}},
        {"quoted addresses, blanks in codes",
         QString(forum).replace(QStringLiteral("[URL=zebravis.htm]"), QStringLiteral("[URL=\" 'zebravis.htm' \" ]"))
             .replace(QStringLiteral("[URL]kweek.htm[/URL]"), QStringLiteral("[url]  kweek.htm [/url]"))
             .replace(QStringLiteral("]Wiki["), QStringLiteral("] Wiki ["))
             .toUtf8(), doc, {}},
        {"no blank after the author's words", QString(forum).replace(QStringLiteral("door: René"), QStringLiteral("door:René")).toUtf8(), doc, {}},
        {"a title holding an author line", BuildArticle(odd, ArticleFlavour::Forum).toUtf8(), odd, {}},
        {"a picture", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10", 20), std::nullopt,
         QStringLiteral("bevat geen tekst")},
        {"bytes 0-255 over and over, every zero at an even place", [] {
             QByteArray all;
             for (int i = 0; i < 256 * 100; ++i)
                 all += char(i % 256);
             return all;
         }(), std::nullopt, QStringLiteral("bevat geen tekst")},
        {"no article", "Gewoon een bericht.\r\n", std::nullopt,
         QStringLiteral("op regel 1 werd de titelregel (<b>titel</b>) verwacht, maar de regel begint met \"Gewoon een bericht.\"")},
        {"an author line that does not end", QString(forum).replace(QStringLiteral("René</i>"), QStringLiteral("René")).toUtf8(),
         std::nullopt, QStringLiteral("op regel 3 werd de regel \"<i>Geschreven door: ...</i>\" verwacht, maar de regel eindigt niet met \"</i>\"")},
        {"a chapter missing", QString(forum).remove(QStringLiteral("<b>3. Gedrag</b> \r\n")).toUtf8(), std::nullopt,
         QStringLiteral("werd de kop \"3. Gedrag\" verwacht, maar daar staat de kop \"3.1 Algemeen gedrag\"")},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.form);
        const QString path = dir.filePath(QStringLiteral("forumtekst.txt"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.bytes);
        file.close();
        const ForumImport got = importForumFile(path);
        if (!c.expected) {
            EXPECT_FALSE(got.document);
            EXPECT_TRUE(got.message.contains(c.message)) << got.message.toStdString();
            continue;
        }
        ASSERT_TRUE(got.document) << got.message.toStdString();
        EXPECT_EQ(*got.document, *c.expected) << describe(*got.document);
        const ForumImport again = importForumText(BuildArticle(*got.document, ArticleFlavour::Forum));
        ASSERT_TRUE(again.document);
        EXPECT_EQ(*again.document, *got.document);
    }

    // What is no plain file is refused at once, naming it.
    const QString fifo = dir.filePath(QStringLiteral("pijp.txt"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString zero = dir.filePath(QStringLiteral("nul.txt"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    for (const QString& path : {fifo, zero, dir.path()}) {
        const ForumImport got = importForumFile(path);
        EXPECT_FALSE(got.document);
        EXPECT_TRUE(got.message.startsWith(QStringLiteral("Het bestand %1 kan niet worden gelezen: het is ").arg(quotedPath(path))))
            << got.message.toStdString();
    }
}

}  // namespace
}  // namespace vinkring

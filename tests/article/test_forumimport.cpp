// Importing the forum text that "Klembord" makes gives the document back,
// over many generated documents, also when a forum's editor has changed the
// line ends or dropped blanks at line ends; a heading taken out is named.
#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QRegularExpression>

#include "article/articlebuilder.h"
#include "article/forumimport.h"
#include "model/linkentry.h"

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

}  // namespace
}  // namespace vinkring

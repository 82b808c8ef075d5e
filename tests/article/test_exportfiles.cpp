// Each export of one rich article written to a file through writeExport,
// then opened with an outside reader: unzip for OpenDocument, poppler for
// PDF, libxml2's HTML parser for the web page, cmark for Markdown.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QXmlStreamReader>

#include "article/exportformats.h"
#include "model/articledocument.h"
#include "model/linkentry.h"

// Texts printed as text when a comparison fails.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace vinkring {
namespace {

ArticleDocument richDocument()
{
    ArticleDocument doc;
    doc.field("txtTitel") = QStringLiteral("Zebravis <script>alert(1)</script>");
    doc.field("txtAuteur") = QStringLiteral("Jan & Anneke Poëet");
    doc.field("txtInleiding") = QStringLiteral(
        "Een <b>vette</b>, <i>schuine</i> en <u>onderstreepte</u> vis.\r\n"
        "H<sub>2</sub>O en 10<sup>3</sup> <s>weg</s>\r\n"
        "Zie [URL=https://www.example.org/danio?a=1&b=2]de soort[/URL] of [URL=javascript:alert(2)]dit[/URL].");
    doc.field("txtBeschrijver") = QString();  // an empty section
    doc.field("txtFamilie") = QStringLiteral("<img src=x onerror=alert(3)> *geen* _nadruk_ # [x](y)");
    doc.field("txtVindPLaats") = QStringLiteral("1. Geen lijst\r\n- ook niet");
    // A tag left open ends with its section; a typed code is text; an
    // address with a letter beyond ASCII is written encoded.
    doc.field("txtGeslachtsonderscheid") = QStringLiteral("Vrouwtjes zijn voller, <b>niet altijd duidelijk");
    doc.field("txtNauwVerwanten") = QStringLiteral("De [URL=nl.wikipedia.org/wiki/Zebrabärbling]Zebrabärbling[/URL] [b]getypt[/b].");
    doc.field("txtConclusie") = QStringLiteral("Een fijne vis.");
    doc.links << makeLinkLine(QStringLiteral("Soortbeschrijving"), QStringLiteral("https://example.org/zebra"))
              << makeLinkLine(QString(), QStringLiteral("kweek.example.org"));
    return doc;
}

struct Output {
    int code = -1;
    QString text;
};

Output run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput())};
}

class ExportFilesTest : public ::testing::Test {
protected:
    QString write(ExportType type)
    {
        const QString path = dir_.filePath(QStringLiteral("artikel.") + toQString(exportTypeInfo(type).extension));
        const Outcome written = writeExport(richDocument(), type, path);
        EXPECT_TRUE(written.ok) << written.reason.toStdString();
        return path;
    }
    static QString toQString(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

    QTemporaryDir dir_;
};

TEST_F(ExportFilesTest, OpenDocumentHasHeadingsFormattingAndLinks)
{
    const QString path = write(ExportType::OpenDocument);
    const Output listing = run(QStringLiteral("unzip"), {QStringLiteral("-Z1"), path});
    ASSERT_EQ(listing.code, 0);
    EXPECT_TRUE(listing.text.startsWith(QLatin1StringView("mimetype\n"))) << listing.text.toStdString();
    const Output meta = run(QStringLiteral("unzip"), {QStringLiteral("-p"), path, QStringLiteral("meta.xml")});
    EXPECT_TRUE(meta.text.contains(QLatin1StringView("<dc:title>Zebravis &lt;script&gt;alert(1)&lt;/script&gt;</dc:title>")));
    const Output content = run(QStringLiteral("unzip"), {QStringLiteral("-p"), path, QStringLiteral("content.xml")});
    ASSERT_EQ(content.code, 0);

    // Headings with their levels, the text style of each span, the links.
    QStringList headings;
    QMap<QString, QStringList> styleProperties;  // automatic style -> its attributes
    QStringList formatted;                       // "properties: text" of each span
    QStringList links;                           // "href: text"
    int lineBreaks = 0;
    QXmlStreamReader xml(content.text);
    QString styleName;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QStringView name = xml.name();
        if (name == u"style") {
            styleName = xml.attributes().value(QStringLiteral("style:name")).toString();
        } else if (name == u"text-properties") {
            for (const QXmlStreamAttribute& a : xml.attributes())
                styleProperties[styleName] << a.qualifiedName().toString() + QLatin1Char('=') + a.value().toString();
        } else if (name == u"h") {
            const QString level = xml.attributes().value(QStringLiteral("text:outline-level")).toString();
            headings << level + QLatin1Char(' ') + xml.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (name == u"span") {
            const QString style = xml.attributes().value(QStringLiteral("text:style-name")).toString();
            formatted << styleProperties.value(style).join(QLatin1Char(',')) + QStringLiteral(": ")
                    + xml.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (name == u"a") {
            const QString href = xml.attributes().value(QStringLiteral("xlink:href")).toString();
            links << href + QStringLiteral(": ") + xml.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (name == u"line-break") {
            ++lineBreaks;
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString() << "\n" << content.text.toStdString();
    EXPECT_EQ(headings, (QStringList{
                            QStringLiteral("1 Zebravis <script>alert(1)</script>"),
                            QStringLiteral("1 1. Inleiding"),
                            QStringLiteral("2 1.1 Aanleiding tot het schrijven van het artikel"),
                            QStringLiteral("1 2. Achtergrond"),
                            QStringLiteral("2 2.3 Familie, orde en klasse"),
                            QStringLiteral("2 2.4 Vindplaats"),
                            QStringLiteral("2 2.9 Geslachtsonderscheid"),
                            QStringLiteral("2 2.10 Nauw verwante soorten, varianten en kruisingen"),
                            QStringLiteral("1 6. Conclusie"),
                            QStringLiteral("1 7. Links"),
                        }));
    EXPECT_TRUE(formatted.contains(QStringLiteral("fo:font-weight=bold: vette")));
    EXPECT_TRUE(formatted.contains(QStringLiteral("fo:font-style=italic: schuine")));
    EXPECT_TRUE(formatted.contains(QStringLiteral("style:text-underline-style=solid,style:text-underline-width=auto,"
                                                  "style:text-underline-color=font-color: onderstreepte")));
    EXPECT_TRUE(formatted.contains(QStringLiteral("style:text-position=sub 58%: 2")));
    EXPECT_TRUE(formatted.contains(QStringLiteral("style:text-position=super 58%: 3")));
    EXPECT_TRUE(formatted.contains(QStringLiteral("style:text-line-through-style=solid: weg")));
    EXPECT_TRUE(formatted.contains(QStringLiteral("fo:font-style=italic: Geschreven door: Jan & Anneke Poëet")));
    EXPECT_TRUE(formatted.contains(QStringLiteral("fo:font-weight=bold: niet altijd duidelijk")));
    EXPECT_EQ(formatted.filter(QStringLiteral("bold")).size(), 2) << "the open tag ends with its section";
    EXPECT_EQ(links, (QStringList{QStringLiteral("https://www.example.org/danio?a=1&b=2: de soort"),
                                  QStringLiteral("http://nl.wikipedia.org/wiki/Zebrab%C3%A4rbling: Zebrabärbling"),
                                  QStringLiteral("https://example.org/zebra: Soortbeschrijving"),
                                  QStringLiteral("http://kweek.example.org: kweek.example.org")}));
    EXPECT_EQ(lineBreaks, 3) << "two in the introduction, one in 2.4";
    // A heading keeps with the paragraph after it.
    const Output styles = run(QStringLiteral("unzip"), {QStringLiteral("-p"), path, QStringLiteral("styles.xml")});
    EXPECT_TRUE(styles.text.contains(QRegularExpression(
        QStringLiteral("style:name=\"Heading\"[^>]*>\\s*<style:paragraph-properties[^>]*fo:keep-with-next=\"always\""))))
        << styles.text.toStdString();
}

TEST_F(ExportFilesTest, PdfIsA4WithTheTextInOrderFormattedAndLinked)
{
    const QString path = write(ExportType::Pdf);
    const Output info = run(QStringLiteral("pdfinfo"), {path});
    ASSERT_EQ(info.code, 0);
    EXPECT_TRUE(info.text.contains(QRegularExpression(QStringLiteral("Page size:\\s+595(\\.\\d+)? x 84[12](\\.\\d+)? pts \\(A4\\)"))))
        << info.text.toStdString();
    EXPECT_TRUE(info.text.contains(QRegularExpression(QStringLiteral("Title:\\s+Zebravis <script>alert\\(1\\)</script>\n"))));

    // The words in reading order, lines wrapped or not, ligatures as letters.
    const Output text = run(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    const QString words = QString(text.text).replace(QChar(0xFB01), QStringLiteral("fi")).simplified();
    const QStringList expectedOrder{
        QStringLiteral("Zebravis"),
        QStringLiteral("Geschreven door: Jan & Anneke Poëet"),
        QStringLiteral("1. Inleiding"),
        QStringLiteral("Een vette, schuine en onderstreepte vis."),
        QStringLiteral("2. Achtergrond"),
        QStringLiteral("2.3 Familie, orde en klasse"),
        QStringLiteral("<img src=x onerror=alert(3)> *geen* _nadruk_ # [x](y)"),
        QStringLiteral("6. Conclusie"),
        QStringLiteral("Een fijne vis."),
        QStringLiteral("7. Links"),
        QStringLiteral("Soortbeschrijving"),
    };
    qsizetype at = 0;
    for (const QString& expected : expectedOrder) {
        const qsizetype found = words.indexOf(expected, at);
        EXPECT_GE(found, at) << "not in order: " << expected.toStdString() << "\n" << text.text.toStdString();
        at = std::max(at, found + expected.size());
    }
    EXPECT_FALSE(text.text.contains(QStringLiteral("2.2 Beschrijver"))) << "an empty section is left out";

    // Bold and italic faces are used; the links are annotations.
    const Output fonts = run(QStringLiteral("pdffonts"), {path});
    EXPECT_TRUE(fonts.text.contains(QStringLiteral("Bold"))) << fonts.text.toStdString();
    EXPECT_TRUE(fonts.text.contains(QRegularExpression(QStringLiteral("Oblique|Italic")))) << fonts.text.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.contains("/URI (https://www.example.org/danio?a=1&b=2)"));
    EXPECT_TRUE(bytes.contains("/URI (https://example.org/zebra)"));
    EXPECT_TRUE(bytes.contains("/URI (http://nl.wikipedia.org/wiki/Zebrab%C3%A4rbling)"));
    EXPECT_FALSE(bytes.contains("javascript"));
}

TEST_F(ExportFilesTest, WebPageIsValidEscapedAndLinksOnlyOpenableSchemes)
{
    const QString path = write(ExportType::WebPage);
    // libxml2's HTML parser reports every error it meets.
    QProcess check;
    check.start(QStringLiteral("xmllint"), {QStringLiteral("--html"), QStringLiteral("--noout"), path});
    ASSERT_TRUE(check.waitForFinished(60000));
    EXPECT_EQ(check.exitCode(), 0);
    EXPECT_EQ(check.readAllStandardError(), QByteArray());

    const auto query = [&](const char* xpath) {
        return run(QStringLiteral("xmllint"), {QStringLiteral("--html"), QStringLiteral("--xpath"), QString::fromLatin1(xpath), path})
            .text.chopped(1);  // the line end xmllint adds
    };
    EXPECT_EQ(query("string(/html/head/title)"), QStringLiteral("Zebravis <script>alert(1)</script>"));
    EXPECT_EQ(query("string(/html/head/meta/@charset)"), QStringLiteral("utf-8"));
    EXPECT_EQ(query("count(//script|//img|//*[@onerror])"), QStringLiteral("0"));
    EXPECT_EQ(query("string(//h1[1])"), QStringLiteral("Zebravis <script>alert(1)</script>"));
    EXPECT_EQ(query("string(//h1[2])"), QStringLiteral("1. Inleiding"));
    EXPECT_EQ(query("string(//h2[1])"), QStringLiteral("1.1 Aanleiding tot het schrijven van het artikel"));
    EXPECT_EQ(query("count(//h2)"), QStringLiteral("5")) << "the empty sections are left out";
    EXPECT_EQ(query("count(//b)"), QStringLiteral("2")) << "the open tag ends with its section";
    EXPECT_EQ(query("string((//p/b)[2])"), QStringLiteral("niet altijd duidelijk"));
    EXPECT_EQ(query("concat(//p/b, '|', //p/i[1], '|', //p/u, '|', //p/s, '|', //p/sub, '|', //p/sup)"),
              QStringLiteral("vette|Geschreven door: Jan & Anneke Poëet|onderstreepte|weg|2|3"));
    EXPECT_EQ(query("count((//p)[2]/br)"), QStringLiteral("2")) << "the introduction's line ends";
    EXPECT_EQ(query("count(//a)"), QStringLiteral("4")) << "the javascript: link is text";
    EXPECT_EQ(query("concat(//a[1]/@href, '|', //a[1], '|', (//a)[2]/@href, '|', (//a)[2], '|', (//a)[4]/@href)"),
              QStringLiteral("https://www.example.org/danio?a=1&b=2|de soort|http://nl.wikipedia.org/wiki/Zebrab%C3%A4rbling|"
                             "Zebrabärbling|http://kweek.example.org"));
}

TEST_F(ExportFilesTest, MarkdownReadsAsTheSameArticleWithNothingOfTheWritersAsMarkup)
{
    // cmark turns the Markdown into HTML; the writer's characters must come
    // out as text, the formatting as its elements.
    const QString path = write(ExportType::Markdown);
    const Output html = run(QStringLiteral("cmark"), {QStringLiteral("--unsafe"), path});
    ASSERT_EQ(html.code, 0);
    const QString& out = html.text;
    EXPECT_TRUE(out.contains(QStringLiteral("<h1>Zebravis &lt;script&gt;alert(1)&lt;/script&gt;</h1>"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("<h1>1. Inleiding</h1>\n<h2>1.1 Aanleiding tot het schrijven van het artikel</h2>")));
    EXPECT_TRUE(out.contains(QStringLiteral("<h2>2.2 Beschrijver van de vis</h2>"))) << "a forum post keeps every heading";
    EXPECT_TRUE(out.contains(QStringLiteral("<p><em>Geschreven door: Jan &amp; Anneke Poëet</em></p>")));
    EXPECT_TRUE(out.contains(QStringLiteral("Een <strong>vette</strong>, <em>schuine</em> en <u>onderstreepte</u> vis.<br />\n"
                                            "H<sub>2</sub>O en 10<sup>3</sup> <s>weg</s><br />\n"
                                            "Zie <a href=\"https://www.example.org/danio?a=1&amp;b=2\">de soort</a> of dit.")))
        << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("<p>&lt;img src=x onerror=alert(3)&gt; *geen* _nadruk_ # [x](y)</p>")));
    EXPECT_TRUE(out.contains(QStringLiteral("<p>1. Geen lijst<br />\n- ook niet</p>")));
    EXPECT_TRUE(out.contains(QStringLiteral("<a href=\"http://kweek.example.org\">kweek.example.org</a>")));
    EXPECT_TRUE(out.contains(QStringLiteral("<p>Vrouwtjes zijn voller, <strong>niet altijd duidelijk</strong></p>\n<h2>2.10 ")));
    EXPECT_TRUE(out.contains(QStringLiteral("<p>De <a href=\"http://nl.wikipedia.org/wiki/Zebrab%C3%A4rbling\">Zebrabärbling</a> "
                                            "[b]getypt[/b].</p>")))
        << out.toStdString();
}

TEST_F(ExportFilesTest, BracketCodesAreTheForumTextWithCodesForTags)
{
    QFile file(write(ExportType::BracketCodes));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.value(0), QStringLiteral("[b]Zebravis <script>alert(1)</script>[/b]"));
    EXPECT_EQ(lines.value(2), QStringLiteral("[i]Geschreven door: Jan & Anneke Poëet[/i]"));
    EXPECT_EQ(lines.value(5), QStringLiteral("[u]1.1 Aanleiding tot het schrijven van het artikel[/u]"));
    EXPECT_EQ(lines.value(6), QStringLiteral("Een [b]vette[/b], [i]schuine[/i] en [u]onderstreepte[/u] vis."));
    EXPECT_EQ(lines.value(7), QStringLiteral("H[sub]2[/sub]O en 10[sup]3[/sup] [s]weg[/s]"));
    EXPECT_EQ(lines.value(8), QStringLiteral("Zie [URL=https://www.example.org/danio?a=1&b=2]de soort[/URL] of dit."));
    EXPECT_TRUE(lines.contains(QStringLiteral("[b]3. Gedrag[/b] ")));
    // The open tag ends with its section; a code the writer typed stays text
    // (a word joiner after its "["), as the live view shows it.
    const qsizetype open = lines.indexOf(QStringLiteral("Vrouwtjes zijn voller, [b]niet altijd duidelijk[/b]"));
    ASSERT_GT(open, 0);
    EXPECT_EQ(lines.mid(open + 1, 3),
              (QStringList{QString(), QStringLiteral("[u]2.10 Nauw verwante soorten, varianten en kruisingen[/u]"),
                           QStringLiteral("De [URL=http://nl.wikipedia.org/wiki/Zebrab%C3%A4rbling]Zebrabärbling[/URL] "
                                          "[\u2060b]getypt[\u2060/b].")}));
    EXPECT_EQ(lines.mid(lines.size() - 3), (QStringList{QStringLiteral("[URL=https://example.org/zebra]Soortbeschrijving[/URL]"),
                                                        QStringLiteral("[URL=http://kweek.example.org]kweek.example.org[/URL]"),
                                                        QString()}));
}

// What one kind of document gives in the exports that a reader sees
// plainly: each row's texts are in (or not in) each type's file.
TEST(ExportContents, EachCaseGivesItsTextsInEveryTypeNamed)
{
    const auto linked = [](ArticleDocument& doc) {
        doc.links << makeLinkLine(QStringLiteral("Haken"), QStringLiteral("http://a.nl/[x]"))
                  << makeLinkLine(QStringLiteral("Zes"), QStringLiteral("http://[::1]/x"));
    };
    const struct {
        const char* what;
        std::function<void(ArticleDocument&)> change;
        QList<ExportType> types;
        QStringList present;
        QStringList absent;
    } cases[] = {
        {"brackets in a link line's address", linked, {ExportType::WebPage},
         {QStringLiteral("<a href=\"http://a.nl/%5Bx%5D\">Haken</a>"), QStringLiteral("<a href=\"http://[::1]/x\">Zes</a>")},
         {QStringLiteral("]Haken"), QStringLiteral("/x]")}},
        {"brackets in a link line's address, as codes", linked, {ExportType::BracketCodes},
         {QStringLiteral("[URL=http://a.nl/%5Bx%5D]Haken[/URL]"), QStringLiteral("[URL=\"http://[::1]/x\"]Zes[/URL]")},
         {}},
        {"indentation and runs of blanks",
         [](ArticleDocument& doc) { doc.field("txtInleiding") = QStringLiteral("   Drie blanks\r\n\tEen tab  en twee"); },
         {ExportType::WebPage},
         {QStringLiteral("h1, h2, p { white-space: pre-wrap; }"), QStringLiteral("<p>   Drie blanks<br>\tEen tab  en twee</p>")},
         {}},
        {"a control character in an address that is no link",
         [](ArticleDocument& doc) { doc.field("txtInleiding") = QStringLiteral("[URL]http\x01://f.nl[/URL]"); },
         {ExportType::BracketCodes, ExportType::WebPage, ExportType::Markdown},
         {QStringLiteral("http\uFFFD://f.nl")},
         {QStringLiteral("\x01")}},
        {"no title and no author",
         [](ArticleDocument& doc) {
             doc.field("txtTitel").clear();
             doc.field("txtAuteur") = QStringLiteral("  ");
         },
         {ExportType::WebPage, ExportType::Markdown, ExportType::BracketCodes},
         {QStringLiteral("Inleiding")},
         {QStringLiteral("<h1></h1>"), QStringLiteral("# \n"), QStringLiteral("[b][/b]"), QStringLiteral("Geschreven door")}},
    };
    for (const auto& c : cases) {
        ArticleDocument doc = richDocument();
        c.change(doc);
        for (const ExportType type : c.types) {
            SCOPED_TRACE(std::string(c.what) + " in " + std::string(exportTypeInfo(type).extension));
            const std::optional<QByteArray> bytes = exportBytes(doc, type);
            ASSERT_TRUE(bytes);
            const QString text = QString::fromUtf8(*bytes);
            for (const QString& expected : c.present)
                EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << "\n" << text.toStdString();
            for (const QString& unexpected : c.absent)
                EXPECT_FALSE(text.contains(unexpected)) << unexpected.toStdString() << "\n" << text.toStdString();
        }
    }
}

// A PDF of many pages holds each line once and one link area per link:
// nothing is drawn twice on either side of a page break.
TEST_F(ExportFilesTest, PdfOfManyPagesHoldsEachLineAndLinkOnce)
{
    ArticleDocument doc;
    for (int i = 0; i < 200; ++i)
        doc.field("txtKweekAqua") += QStringLiteral("Regel %1 van het kweekverslag.\r\n").arg(i);
    for (int i = 0; i < 120; ++i)
        doc.links << makeLinkLine(QStringLiteral("Link %1").arg(i), QStringLiteral("https://example.org/%1").arg(i));
    const QString path = dir_.filePath(QStringLiteral("lang.pdf"));
    ASSERT_TRUE(writeExport(doc, ExportType::Pdf, path).ok);
    const QString text = run(QStringLiteral("pdftotext"), {path, QStringLiteral("-")}).text;
    ASSERT_GT(text.count(QChar(u'\f')), 2) << "pages";
    for (int i = 0; i < 200; ++i)
        EXPECT_EQ(text.count(QStringLiteral("Regel %1 van").arg(i)), 1) << i;
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().count("/Subtype /Link"), 120);
}

// A PDF as its reader sees it: the text of each page, and the links.
QString pdfSeen(const QString& path)
{
    QFile file(path);
    QStringList links;
    if (file.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : file.readAll().split('\n')) {
            if (line.startsWith("/URI"))
                links << QString::fromLatin1(line);
        }
    }
    return run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")}).text + links.join(u'\n');
}

// The export as the window runs it in round of a long article: on a thread of
// its own, telling its progress, stopped by a flag.
TEST_F(ExportFilesTest, AWorkerWritesWhatTheInterfaceThreadWritesAndACancelWritesNothing)
{
    ArticleDocument doc = richDocument();
    for (int i = 0; i < 300; ++i)
        doc.field("txtKweekAqua") += QStringLiteral("Regel %1 van het kweekverslag, met <i>wat</i> opmaak.\r\n").arg(i);
    const QString here = dir_.filePath(QStringLiteral("hier.pdf"));
    ASSERT_TRUE(writeExport(doc, ExportType::Pdf, here).ok);

    const QString there = dir_.filePath(QStringLiteral("daar.pdf"));
    QList<int> progress;
    ExportResult result;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        result = writeExport(doc, ExportType::Pdf, there, TaskControl([&](int percent) { progress << percent; }, nullptr));
    }));
    worker->start();
    ASSERT_TRUE(worker->wait(QDeadlineTimer(120000)));
    ASSERT_TRUE(result.ok) << result.reason.toStdString();
    EXPECT_EQ(pdfSeen(there), pdfSeen(here));
    EXPECT_GT(progress.size(), 5);
    EXPECT_TRUE(std::is_sorted(progress.cbegin(), progress.cend()));
    EXPECT_EQ(progress.value(progress.size() - 1), 100);

    // Stopped halfway: the old file stays as it was, and nothing else is left.
    QFile old(there);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly | QIODevice::Truncate));
    old.write("oud");
    old.close();
    std::atomic<bool> cancel{false};
    for (const ExportType type : {ExportType::Pdf, ExportType::OpenDocument}) {
        cancel = false;
        worker.reset(QThread::create([&] {
            result = writeExport(doc, type, there, TaskControl([&](int percent) { cancel = percent > 0; }, &cancel));
        }));
        worker->start();
        ASSERT_TRUE(worker->wait(QDeadlineTimer(120000)));
        EXPECT_TRUE(result.cancelled);
        EXPECT_FALSE(result.ok);
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), QByteArray("oud"));
        old.close();
    }
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), (QStringList{QStringLiteral("daar.pdf"), QStringLiteral("hier.pdf")}));
}

}  // namespace
}  // namespace vinkring

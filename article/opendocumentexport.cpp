#include "article/opendocumentexport.h"

#include <zip.h>

#include <set>

#include <QXmlStreamWriter>

#include "model/texts.h"

namespace vinkring {

namespace {

// Written with QXmlStreamWriter and packed with libzip rather than through
// QTextDocumentWriter: Qt 6.4's ODF writer puts every block in a plain
// text:p (a heading level is dropped, so no outline and no table of
// contents sees the headings), writes no document title, and puts a tab
// before every line break.

constexpr auto kOffice = "urn:oasis:names:tc:opendocument:xmlns:office:1.0";
constexpr auto kStyle = "urn:oasis:names:tc:opendocument:xmlns:style:1.0";
constexpr auto kText = "urn:oasis:names:tc:opendocument:xmlns:text:1.0";
constexpr auto kFo = "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0";
constexpr auto kXlink = "http://www.w3.org/1999/xlink";
constexpr auto kDc = "http://purl.org/dc/elements/1.1/";
constexpr auto kMeta = "urn:oasis:names:tc:opendocument:xmlns:meta:1.0";
constexpr auto kManifest = "urn:oasis:names:tc:opendocument:xmlns:manifest:1.0";

QString styleName(quint8 styles)
{
    return QStringLiteral("T%1").arg(styles);
}

void startDocument(QXmlStreamWriter& xml, const QString& root, std::initializer_list<std::pair<const char*, const char*>> spaces)
{
    xml.setAutoFormatting(false);
    xml.writeStartDocument();
    for (const auto& [prefix, uri] : spaces)
        xml.writeNamespace(QString::fromLatin1(uri), QString::fromLatin1(prefix));
    xml.writeStartElement(QString::fromLatin1(kOffice), root);
    xml.writeAttribute(QString::fromLatin1(kOffice), QStringLiteral("version"), QStringLiteral("1.2"));
}

void textProperties(QXmlStreamWriter& xml, quint8 styles)
{
    xml.writeStartElement(QString::fromLatin1(kStyle), QStringLiteral("text-properties"));
    const QString fo = QString::fromLatin1(kFo);
    const QString st = QString::fromLatin1(kStyle);
    if (styles & kBold)
        xml.writeAttribute(fo, QStringLiteral("font-weight"), QStringLiteral("bold"));
    if (styles & kItalic)
        xml.writeAttribute(fo, QStringLiteral("font-style"), QStringLiteral("italic"));
    if (styles & kUnderline) {
        xml.writeAttribute(st, QStringLiteral("text-underline-style"), QStringLiteral("solid"));
        xml.writeAttribute(st, QStringLiteral("text-underline-width"), QStringLiteral("auto"));
        xml.writeAttribute(st, QStringLiteral("text-underline-color"), QStringLiteral("font-color"));
    }
    if (styles & kStrikeOut)
        xml.writeAttribute(st, QStringLiteral("text-line-through-style"), QStringLiteral("solid"));
    if (styles & kSubscript)
        xml.writeAttribute(st, QStringLiteral("text-position"), QStringLiteral("sub 58%"));
    else if (styles & kSuperscript)
        xml.writeAttribute(st, QStringLiteral("text-position"), QStringLiteral("super 58%"));
    xml.writeEndElement();
}

class ContentWriter {
public:
    explicit ContentWriter(QByteArray& out) : xml_(&out) {}

    void write(const QList<ArticlePart>& parts)
    {
        startDocument(xml_, QStringLiteral("document-content"),
                      {{"office", kOffice}, {"style", kStyle}, {"text", kText}, {"fo", kFo}, {"xlink", kXlink}});
        std::set<quint8> used;
        for (const ArticlePart& part : parts) {
            for (const ForumLine& line : part.lines) {
                for (const ForumRun& run : line.runs)
                    used.insert(run.styles & ~headingStyles(part.kind));
            }
        }
        xml_.writeStartElement(QString::fromLatin1(kOffice), QStringLiteral("automatic-styles"));
        for (const quint8 styles : used) {
            if (styles == 0)
                continue;
            xml_.writeStartElement(QString::fromLatin1(kStyle), QStringLiteral("style"));
            xml_.writeAttribute(QString::fromLatin1(kStyle), QStringLiteral("name"), styleName(styles));
            xml_.writeAttribute(QString::fromLatin1(kStyle), QStringLiteral("family"), QStringLiteral("text"));
            textProperties(xml_, styles);
            xml_.writeEndElement();
        }
        xml_.writeEndElement();
        xml_.writeStartElement(QString::fromLatin1(kOffice), QStringLiteral("body"));
        xml_.writeStartElement(QString::fromLatin1(kOffice), QStringLiteral("text"));
        for (const ArticlePart& part : parts)
            writePart(part);
        xml_.writeEndDocument();
    }

private:
    void writePart(const ArticlePart& part)
    {
        const QString text = QString::fromLatin1(kText);
        switch (part.kind) {
        case PartKind::Title:
            startHeading(QStringLiteral("Title"), 1);
            break;
        case PartKind::Chapter:
            startHeading(QStringLiteral("Heading_20_1"), 1);
            break;
        case PartKind::Section:
            startHeading(QStringLiteral("Heading_20_2"), 2);
            break;
        default:
            if (part.lines.isEmpty())
                return;
            xml_.writeStartElement(text, QStringLiteral("p"));
            xml_.writeAttribute(text, QStringLiteral("style-name"), QStringLiteral("Text_20_body"));
            break;
        }
        atStart_ = true;
        for (qsizetype i = 0; i < part.lines.size(); ++i) {
            if (i > 0) {
                xml_.writeEmptyElement(text, QStringLiteral("line-break"));
                atStart_ = true;
            }
            writeLine(part.lines[i], headingStyles(part.kind));
        }
        xml_.writeEndElement();
    }

    void startHeading(const QString& style, int level)
    {
        const QString text = QString::fromLatin1(kText);
        xml_.writeStartElement(text, QStringLiteral("h"));
        xml_.writeAttribute(text, QStringLiteral("style-name"), style);
        xml_.writeAttribute(text, QStringLiteral("outline-level"), QString::number(level));
    }

    void writeLine(const ForumLine& line, quint8 dropped)
    {
        const QString text = QString::fromLatin1(kText);
        const QString xlink = QString::fromLatin1(kXlink);
        QString link;
        for (const ForumRun& run : line.runs) {
            if (run.link != link) {
                if (!link.isEmpty())
                    xml_.writeEndElement();
                link = run.link;
                if (!link.isEmpty()) {
                    xml_.writeStartElement(text, QStringLiteral("a"));
                    xml_.writeAttribute(xlink, QStringLiteral("type"), QStringLiteral("simple"));
                    xml_.writeAttribute(xlink, QStringLiteral("href"), link);  // encoded: linkTarget
                    xml_.writeAttribute(text, QStringLiteral("style-name"), QStringLiteral("Internet_20_link"));
                }
            }
            const quint8 styles = run.styles & ~dropped;
            if (styles != 0) {
                xml_.writeStartElement(text, QStringLiteral("span"));
                xml_.writeAttribute(text, QStringLiteral("style-name"), styleName(styles));
            }
            writeText(withoutControls(run.text));
            if (styles != 0)
                xml_.writeEndElement();
        }
        if (!link.isEmpty())
            xml_.writeEndElement();
    }

    // OpenDocument collapses blanks as HTML does: a blank at the start of a
    // line or after another one is written as text:s, a tab as text:tab.
    void writeText(const QString& s)
    {
        const QString text = QString::fromLatin1(kText);
        QString plain;
        int spaces = 0;
        const auto flushSpaces = [&] {
            if (spaces == 0)
                return;
            xml_.writeStartElement(text, QStringLiteral("s"));
            if (spaces > 1)
                xml_.writeAttribute(text, QStringLiteral("c"), QString::number(spaces));
            xml_.writeEndElement();
            spaces = 0;
        };
        for (const QChar c : s) {
            if (c == u' ' && (atStart_ || spaces > 0 || (!plain.isEmpty() && plain.back() == u' '))) {
                xml_.writeCharacters(plain);
                plain.clear();
                ++spaces;
            } else if (c == u'\t') {
                xml_.writeCharacters(plain);
                plain.clear();
                flushSpaces();
                xml_.writeEmptyElement(text, QStringLiteral("tab"));
                atStart_ = true;
                continue;
            } else {
                flushSpaces();
                plain += c;
            }
            atStart_ = false;
        }
        xml_.writeCharacters(plain);
        flushSpaces();
        atStart_ = spaces > 0 || (!s.isEmpty() && s.back() == u' ');
    }

    QXmlStreamWriter xml_;
    bool atStart_ = true;  // a blank here would be collapsed
};

QByteArray stylesXml()
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    startDocument(xml, QStringLiteral("document-styles"),
                  {{"office", kOffice}, {"style", kStyle}, {"text", kText}, {"fo", kFo}});
    const QString office = QString::fromLatin1(kOffice);
    const QString style = QString::fromLatin1(kStyle);
    const QString fo = QString::fromLatin1(kFo);
    const QString text = QString::fromLatin1(kText);
    xml.writeStartElement(office, QStringLiteral("styles"));

    xml.writeStartElement(style, QStringLiteral("default-style"));
    xml.writeAttribute(style, QStringLiteral("family"), QStringLiteral("paragraph"));
    xml.writeEmptyElement(style, QStringLiteral("text-properties"));
    xml.writeAttribute(fo, QStringLiteral("font-size"), QStringLiteral("11pt"));
    xml.writeAttribute(fo, QStringLiteral("language"), QStringLiteral("nl"));
    xml.writeAttribute(fo, QStringLiteral("country"), QStringLiteral("NL"));
    xml.writeEndElement();

    struct ParagraphStyle {
        const char* name;
        const char* display;
        const char* parent;
        int level;         // outline level, 0 for none
        const char* size;  // font size, nullptr to inherit
        const char* spaceAbove;
    };
    const ParagraphStyle paragraphs[] = {
        {"Standard", nullptr, nullptr, 0, nullptr, nullptr},
        {"Text_20_body", "Text body", "Standard", 0, nullptr, "0cm"},
        {"Heading", nullptr, "Standard", 0, "14pt", "0.42cm"},
        {"Title", nullptr, "Heading", 1, "22pt", "0cm"},
        {"Heading_20_1", "Heading 1", "Heading", 1, "17pt", "0.6cm"},
        {"Heading_20_2", "Heading 2", "Heading", 2, "13pt", "0.35cm"},
    };
    for (const ParagraphStyle& p : paragraphs) {
        xml.writeStartElement(style, QStringLiteral("style"));
        xml.writeAttribute(style, QStringLiteral("name"), QString::fromLatin1(p.name));
        if (p.display)
            xml.writeAttribute(style, QStringLiteral("display-name"), QString::fromLatin1(p.display));
        xml.writeAttribute(style, QStringLiteral("family"), QStringLiteral("paragraph"));
        if (p.parent)
            xml.writeAttribute(style, QStringLiteral("parent-style-name"), QString::fromLatin1(p.parent));
        if (p.level > 0) {
            xml.writeAttribute(style, QStringLiteral("default-outline-level"), QString::number(p.level));
            xml.writeAttribute(style, QStringLiteral("next-style-name"), QStringLiteral("Text_20_body"));
        }
        if (p.spaceAbove) {
            xml.writeEmptyElement(style, QStringLiteral("paragraph-properties"));
            xml.writeAttribute(fo, QStringLiteral("margin-top"), QString::fromLatin1(p.spaceAbove));
            xml.writeAttribute(fo, QStringLiteral("margin-bottom"), QStringLiteral("0.2cm"));
            if (qstrcmp(p.parent, "Heading") == 0 || qstrcmp(p.name, "Heading") == 0)
                xml.writeAttribute(fo, QStringLiteral("keep-with-next"), QStringLiteral("always"));
        }
        if (p.size) {
            xml.writeEmptyElement(style, QStringLiteral("text-properties"));
            xml.writeAttribute(fo, QStringLiteral("font-size"), QString::fromLatin1(p.size));
            xml.writeAttribute(fo, QStringLiteral("font-weight"), QStringLiteral("bold"));
        }
        xml.writeEndElement();
    }

    xml.writeStartElement(style, QStringLiteral("style"));
    xml.writeAttribute(style, QStringLiteral("name"), QStringLiteral("Internet_20_link"));
    xml.writeAttribute(style, QStringLiteral("display-name"), QStringLiteral("Internet link"));
    xml.writeAttribute(style, QStringLiteral("family"), QStringLiteral("text"));
    xml.writeEmptyElement(style, QStringLiteral("text-properties"));
    xml.writeAttribute(fo, QStringLiteral("color"), QStringLiteral("#000080"));
    xml.writeAttribute(style, QStringLiteral("text-underline-style"), QStringLiteral("solid"));
    xml.writeAttribute(style, QStringLiteral("text-underline-width"), QStringLiteral("auto"));
    xml.writeAttribute(style, QStringLiteral("text-underline-color"), QStringLiteral("font-color"));
    xml.writeEndElement();

    // The outline the headings' levels belong to, without numbers: the
    // headings carry their own.
    xml.writeStartElement(text, QStringLiteral("outline-style"));
    xml.writeAttribute(style, QStringLiteral("name"), QStringLiteral("Outline"));
    for (int level = 1; level <= 2; ++level) {
        xml.writeEmptyElement(text, QStringLiteral("outline-level-style"));
        xml.writeAttribute(text, QStringLiteral("level"), QString::number(level));
        xml.writeAttribute(style, QStringLiteral("num-format"), QString());
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

QByteArray metaXml(const QString& title)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    startDocument(xml, QStringLiteral("document-meta"), {{"office", kOffice}, {"dc", kDc}, {"meta", kMeta}});
    xml.writeStartElement(QString::fromLatin1(kOffice), QStringLiteral("meta"));
    xml.writeTextElement(QString::fromLatin1(kMeta), QStringLiteral("generator"), toQString(texts::kWindowCaption));
    xml.writeTextElement(QString::fromLatin1(kDc), QStringLiteral("title"), withoutControls(title));
    xml.writeTextElement(QString::fromLatin1(kDc), QStringLiteral("language"), QStringLiteral("nl-NL"));
    xml.writeEndDocument();
    return out;
}

QByteArray manifestXml()
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.writeStartDocument();
    const QString m = QString::fromLatin1(kManifest);
    xml.writeNamespace(m, QStringLiteral("manifest"));
    xml.writeStartElement(m, QStringLiteral("manifest"));
    xml.writeAttribute(m, QStringLiteral("version"), QStringLiteral("1.2"));
    const std::pair<const char*, const char*> entries[] = {
        {"/", "application/vnd.oasis.opendocument.text"},
        {"content.xml", "text/xml"},
        {"styles.xml", "text/xml"},
        {"meta.xml", "text/xml"},
    };
    for (const auto& [path, type] : entries) {
        xml.writeEmptyElement(m, QStringLiteral("file-entry"));
        xml.writeAttribute(m, QStringLiteral("full-path"), QString::fromLatin1(path));
        if (qstrcmp(path, "/") == 0)
            xml.writeAttribute(m, QStringLiteral("version"), QStringLiteral("1.2"));
        xml.writeAttribute(m, QStringLiteral("media-type"), QString::fromLatin1(type));
    }
    xml.writeEndDocument();
    return out;
}

// The package: "mimetype" first and uncompressed, as OpenDocument asks, so
// that its type can be read at a fixed place; the rest compressed.
std::optional<QByteArray> zipPackage(const std::vector<std::pair<const char*, QByteArray>>& files, QString* failure)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t* archive = buffer ? zip_open_from_source(buffer, ZIP_TRUNCATE, &error) : nullptr;
    const auto fail = [&](const char* reason) {
        *failure = QString::fromUtf8(reason);
        zip_error_fini(&error);
        return std::nullopt;
    };
    if (!archive) {
        if (buffer)
            zip_source_free(buffer);
        return fail(zip_error_strerror(&error));
    }
    zip_source_keep(buffer);  // its bytes are read after the archive is closed
    bool first = true;
    for (const auto& [name, bytes] : files) {
        zip_source_t* source = zip_source_buffer(archive, bytes.constData(), zip_uint64_t(bytes.size()), 0);
        const zip_int64_t index = source ? zip_file_add(archive, name, source, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            if (source)
                zip_source_free(source);
            const QString reason = QString::fromUtf8(zip_strerror(archive));
            zip_discard(archive);
            zip_source_free(buffer);
            *failure = reason;
            return std::nullopt;
        }
        zip_set_file_compression(archive, zip_uint64_t(index), first ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0);
        first = false;
    }
    if (zip_close(archive) != 0) {
        const QString reason = QString::fromUtf8(zip_strerror(archive));
        zip_discard(archive);
        zip_source_free(buffer);
        *failure = reason;
        return std::nullopt;
    }
    QByteArray out;
    zip_stat_t stat;
    if (zip_source_stat(buffer, &stat) == 0 && zip_source_open(buffer) == 0) {
        out.resize(qsizetype(stat.size));
        const zip_int64_t read = zip_source_read(buffer, out.data(), stat.size);
        zip_source_close(buffer);
        if (read != zip_int64_t(stat.size))
            out.clear();
    }
    zip_source_free(buffer);
    if (out.isEmpty())
        return fail("the package could not be read back");
    zip_error_fini(&error);
    return out;
}

}  // namespace

std::optional<QByteArray> openDocumentBytes(const QList<ArticlePart>& parts, QString* failure)
{
    QByteArray content;
    ContentWriter(content).write(parts);
    QString reason;
    std::optional<QByteArray> package = zipPackage({{"mimetype", QByteArray("application/vnd.oasis.opendocument.text")},
                                                    {"META-INF/manifest.xml", manifestXml()},
                                                    {"content.xml", content},
                                                    {"styles.xml", stylesXml()},
                                                    {"meta.xml", metaXml(documentTitle(parts))}},
                                                   &reason);
    if (!package && failure)
        *failure = reason;
    return package;
}

}  // namespace vinkring

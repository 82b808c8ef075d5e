#pragma once
// The article out to other places: a word processor's file, a PDF, a web
// page, a forum text with bracket codes only, and Markdown. All five are
// made from the one reading of the forum text in articleparts.h.

#include <array>
#include <optional>
#include <string_view>

#include <QByteArray>
#include <QList>
#include <QString>

#include "article/articleparts.h"
#include "model/articledocument.h"
#include "model/outcome.h"

namespace vinkring {

enum class ExportType { OpenDocument, Pdf, WebPage, BracketCodes, Markdown };

struct ExportTypeInfo {
    ExportType type;
    std::string_view filter;     // as the dialog lists it: "PDF (*.pdf)"
    std::string_view extension;  // without the dot
};

// In the order the dialog lists them.
extern const std::array<ExportTypeInfo, 5> kExportTypes;

const ExportTypeInfo& exportTypeInfo(ExportType type);

// The type whose extension the name ends with (in any case), else chosen.
ExportType exportTypeForName(const QString& fileName, ExportType chosen);

// The file's bytes; nullopt with the reason in failure when they could not
// be made.
std::optional<QByteArray> exportBytes(const ArticleDocument& doc, ExportType type, QString* failure = nullptr);

// Writes the export to path whole or not at all. The Dutch message, naming
// the file, when it was not written.
Outcome writeExport(const ArticleDocument& doc, ExportType type, const QString& path);

// The formats, each from the parts (or the lines) of the article.
std::optional<QByteArray> openDocumentBytes(const QList<ArticlePart>& parts, QString* failure);
QByteArray pdfBytes(const QList<ArticlePart>& parts);
QString webPage(const QList<ArticlePart>& parts);
QString markdown(const QList<ArticlePart>& parts);
// Every line of the forum text, CR LF after each.
QString bracketCodes(const QList<ForumLine>& lines);

// text with each character that a web page or an XML file may not hold
// (control characters other than tab, lone surrogates, U+FFFE and U+FFFF)
// replaced by U+FFFD.
QString withoutControls(QStringView text);

// The title as a document's title: its text on one line.
QString documentTitle(const QList<ArticlePart>& parts);

}  // namespace vinkring

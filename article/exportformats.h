#pragma once
// The article out to other places: the five types of "Exporteren..." (a
// word processor's file, a PDF, a web page, a forum text with bracket codes
// only, Markdown) and the making and writing of one. Every type is made from
// the one reading of the document in articleparts.h.

#include <array>
#include <optional>
#include <string_view>

#include <QByteArray>
#include <QString>

#include "article/taskcontrol.h"
#include "model/articledocument.h"
#include "model/outcome.h"

namespace vinkring {

enum class ExportType { OpenDocument, Pdf, WebPage, BracketCodes, Markdown };

struct ExportTypeInfo {
    ExportType type;
    std::string_view filter;     // as the dialog lists it: "PDF (*.pdf)"
    std::string_view extension;  // without the dot
    std::string_view alsoExtension = {};  // another a file of the type may have ("htm")

    // Whether a name's suffix (without the dot) is one of the type's, in
    // any case.
    bool hasExtension(const QString& suffix) const;
    // "*.html *.htm": the names the dialog lists for the type.
    QString pattern() const;
};

// In the order the dialog lists them.
extern const std::array<ExportTypeInfo, 5> kExportTypes;

const ExportTypeInfo& exportTypeInfo(ExportType type);

// The type whose extension the name ends with (in any case), else chosen.
ExportType exportTypeForName(const QString& fileName, ExportType chosen);

// The name a file of this type is written under: the name as given when it
// ends with the type's extension (in any case), else with the extension
// added ("brief.doc" as OpenDocument is "brief.doc.odt"); "pagina.htm" is a
// web page's name as it is.
QString pathForType(const QString& path, ExportType type);

// The file's bytes; nullopt with the reason in failure when they could not
// be made, and when the control cancelled them (failure left empty).
std::optional<QByteArray> exportBytes(const ArticleDocument& doc, ExportType type, QString* failure = nullptr,
                                      const TaskControl& control = {});

struct ExportResult : Outcome {
    bool cancelled = false;  // stopped by the control: nothing was written
};

// Writes the export to path whole or not at all; when not, the Dutch
// message names the file. Safe on a thread of its own: it shares nothing
// but doc with its caller, and reports to the control there.
ExportResult writeExport(const ArticleDocument& doc, ExportType type, const QString& path,
                         const TaskControl& control = {});

}  // namespace vinkring

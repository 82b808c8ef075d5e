#include "article/exportformats.h"

#include <QFileInfo>

#include "article/articleparts.h"
#include "article/opendocumentexport.h"
#include "article/pdfexport.h"
#include "article/textexports.h"
#include "document/durablefile.h"
#include "model/texts.h"

namespace vinkring {

const std::array<ExportTypeInfo, 5> kExportTypes{{
    {ExportType::OpenDocument, texts::kExportOpenDocument, "odt"},
    {ExportType::Pdf, texts::kExportPdf, "pdf"},
    {ExportType::WebPage, texts::kExportWebPage, "html", "htm"},
    {ExportType::BracketCodes, texts::kExportBracketCodes, "txt"},
    {ExportType::Markdown, texts::kExportMarkdown, "md"},
}};

bool ExportTypeInfo::hasExtension(const QString& suffix) const
{
    return suffix.compare(toQString(extension), Qt::CaseInsensitive) == 0
        || (!alsoExtension.empty() && suffix.compare(toQString(alsoExtension), Qt::CaseInsensitive) == 0);
}

QString ExportTypeInfo::pattern() const
{
    QString patterns = QStringLiteral("*.") + toQString(extension);
    if (!alsoExtension.empty())
        patterns += QStringLiteral(" *.") + toQString(alsoExtension);
    return patterns;
}

const ExportTypeInfo& exportTypeInfo(ExportType type)
{
    for (const ExportTypeInfo& info : kExportTypes) {
        if (info.type == type)
            return info;
    }
    return kExportTypes.front();
}

ExportType exportTypeForName(const QString& fileName, ExportType chosen)
{
    const QString suffix = QFileInfo(fileName).suffix();
    for (const ExportTypeInfo& info : kExportTypes) {
        if (info.hasExtension(suffix))
            return info.type;
    }
    return chosen;
}

QString pathForType(const QString& path, ExportType type)
{
    const ExportTypeInfo& info = exportTypeInfo(type);
    if (info.hasExtension(QFileInfo(path).suffix()))
        return path;
    return path + QLatin1Char('.') + toQString(info.extension);
}

std::optional<QByteArray> exportBytes(const ArticleDocument& doc, ExportType type, QString* failure,
                                      const TaskControl& control)
{
    // A forum post keeps every heading; a document for elsewhere leaves the
    // empty sections out.
    const bool post = type == ExportType::BracketCodes || type == ExportType::Markdown;
    const ArticleReading reading = readArticle(doc, post ? EmptySections::Kept : EmptySections::LeftOut, control);
    // The PDF tells its own progress; the others are quick once read.
    if (type != ExportType::Pdf)
        control.report(1, 2);
    if (reading.cancelled || control.cancelled())
        return std::nullopt;
    const QList<ArticlePart> parts = withoutEmptyTitleAndAuthor(reading.parts);
    std::optional<QByteArray> bytes;
    switch (type) {
    case ExportType::OpenDocument: {
        QString reason;
        bytes = openDocumentBytes(parts, &reason);
        if (!bytes && failure)
            *failure = reason;
        break;
    }
    case ExportType::Pdf:
        bytes = pdfBytes(parts, control);
        break;
    case ExportType::WebPage:
        bytes = webPage(parts).toUtf8();
        break;
    case ExportType::BracketCodes:
        bytes = bracketCodes(parts).toUtf8();
        break;
    case ExportType::Markdown:
        bytes = markdown(parts).toUtf8();
        break;
    }
    return bytes;
}

ExportResult writeExport(const ArticleDocument& doc, ExportType type, const QString& path, const TaskControl& control)
{
    QString failure;
    const std::optional<QByteArray> bytes = exportBytes(doc, type, &failure, control);
    if (control.cancelled())
        return {Outcome::failed(QString()), true};
    if (!bytes) {
        return {Outcome::failed(toQString(messages::kExportNotWritten)
                                    .arg(quotedPath(path), toQString(messages::kExportNotMade).arg(failure))),
                false};
    }
    const bool existed = QFileInfo::exists(path);
    const Outcome written = writeFileDurably(path, *bytes);
    control.report(1, 1);
    if (written.ok)
        return {written, false};
    return {Outcome::failed(toQString(messages::kExportNotWritten).arg(quotedPath(path), written.reason)
                            + (existed ? toQString(messages::kOldFileKept) : QString())),
            false};
}

}  // namespace vinkring

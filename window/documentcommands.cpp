#include "window/documentcommands.h"

#include "model/fieldtable.h"
#include "model/texts.h"
#include "document/documentfile.h"
#include "document/documentformat.h"
#include "platform/filedialog.h"
#include "platform/messagebox.h"

namespace vinkring {

namespace {

constexpr qsizetype kListedPlaces = 15;
constexpr qsizetype kListedCharacters = 5;

// "- Titel van het artikel: ł (U+0142)" and, past a handful, how many more.
QStringList listLines(QStringList lines)
{
    if (lines.size() > kListedPlaces) {
        const qsizetype more = lines.size() - kListedPlaces;
        lines.resize(kListedPlaces);
        lines << toQString(messages::kAndMore).arg(more);
    }
    return lines;
}

QString showCharacter(const QString& c)
{
    const char32_t code = c.size() == 2 ? QChar::surrogateToUcs4(c.at(0), c.at(1)) : c.at(0).unicode();
    return c + QStringLiteral(" (U+%1)").arg(uint(code), 4, 16, QLatin1Char('0')).toUpper();
}

QString charactersText(const QStringList& chars)
{
    QStringList shown;
    for (qsizetype i = 0; i < chars.size() && i < kListedCharacters; ++i)
        shown << showCharacter(chars.at(i));
    QString text = shown.join(QStringLiteral(", "));
    if (chars.size() > kListedCharacters)
        text += QStringLiteral(", ") + QChar(0x2026);
    return text;
}

FileDialogRequest documentRequest(std::string_view title)
{
    FileDialogRequest request;
    request.title = toQString(title);
    request.filterDescription = toQString(texts::kFilterDescription);
    request.filterPattern = toQString(texts::kFilterPattern);
    return request;
}

}  // namespace

DocumentCommands::DocumentCommands(DocumentHost& host, PlatformServices& services)
    : host_(host), services_(services)
{
}

SaveOutcome DocumentCommands::save()
{
    FileDialogRequest request = documentRequest(texts::kSaveTitle);
    request.confirmOverwrite = true;
    request.fileName = host_.currentFileName();
    request.setFileName = true;
    const std::optional<QString> path = services_.fileDialog.showSave(request);
    if (!path || path->isEmpty())
        return SaveOutcome::Cancelled;
    if (!write(*path))
        return SaveOutcome::NotWritten;
    host_.setCurrentFileName(*path);
    return SaveOutcome::Written;
}

bool DocumentCommands::open()
{
    const FileDialogRequest request = documentRequest(texts::kOpenTitle);
    const std::optional<QString> path = services_.fileDialog.showOpen(request);
    if (!path || path->isEmpty())
        return false;
    return openFile(*path);
}

bool DocumentCommands::openFile(const QString& path)
{
    DocumentReadResult result = ReadDocumentFile(path);
    if (!result.document) {
        warn(services_.messageBox, result.reason);
        return false;
    }
    host_.applyDocument(*result.document);
    host_.setCurrentFileName(path);
    if (!result.notice.isEmpty())
        warn(services_.messageBox, result.notice);
    return true;
}

bool DocumentCommands::write(const QString& path)
{
    ArticleDocument doc = host_.currentDocument();

    const std::vector<DocumentPlace> markers = placesWithMarkers(doc);
    if (!markers.empty()) {
        QStringList lines;
        for (const DocumentPlace& place : markers) {
            const QString& text = place.kind == DocumentPlace::Kind::Field ? doc.fields.at(std::size_t(place.index))
                                                                           : doc.links.at(place.index);
            const QString marker = text.contains(kFieldMarker) ? kFieldMarker : kLinkMarker;
            lines << toQString(messages::kMarkerAt).arg(describePlace(doc, place), marker);
        }
        warn(services_.messageBox, toQString(messages::kMarkersInDocument)
                                       .arg(quotedPath(path), kFieldMarker, kLinkMarker,
                                            listLines(lines).join(QLatin1Char('\n'))));
        return false;
    }

    const std::vector<UnencodableText> unencodable = placesWithUnencodable(doc);
    if (!unencodable.empty()) {
        QStringList lines;
        for (const UnencodableText& found : unencodable) {
            const QString place = describePlace(doc, found.place);
            const QString separator = place.endsWith(QLatin1Char(':')) ? QStringLiteral(" ") : QStringLiteral(": ");
            lines << QStringLiteral("- ") + place + separator + charactersText(found.characters);
        }
        const MessageAnswer answer = services_.messageBox.show(
            toQString(messages::kUnencodableQuestion).arg(quotedPath(path), listLines(lines).join(QLatin1Char('\n'))),
            toQString(texts::kMessageTitle), MessageIcon::Exclamation, MessageButtons::YesNo, QString());
        if (answer != MessageAnswer::Yes)
            return false;
        doc = withUnencodableReplaced(doc);
    }

    const Outcome result = WriteDocumentFile(path, doc);
    if (!result.ok) {
        warn(services_.messageBox, result.reason);
        return false;
    }
    return true;
}

}  // namespace vinkring

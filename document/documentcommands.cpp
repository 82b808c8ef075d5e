#include "document/documentcommands.h"

#include "app/fieldtable.h"
#include "app/texts.h"
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
        lines << QStringLiteral("- en nog %1 andere").arg(more);
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

QString quoted(const QString& path)
{
    return QLatin1Char('"') + path + QLatin1Char('"');
}

FileDialogRequest documentRequest(const char* title)
{
    FileDialogRequest request;
    request.title = QString::fromLatin1(title);
    request.filterDescription = QStringLiteral("Vinkring Vis (*.vvk)");
    request.filterPattern = QStringLiteral("*.VKV");
    request.hideReadOnly = true;
    return request;
}

}  // namespace

DocumentCommands::DocumentCommands(DocumentHost& host, PlatformServices& services)
    : host_(host), services_(services)
{
}

void DocumentCommands::warn(const QString& text)
{
    services_.messageBox.show(text, toQString(texts::kMessageTitle), MessageIcon::Exclamation, MessageButtons::Ok);
}

SaveOutcome DocumentCommands::save()
{
    FileDialogRequest request = documentRequest("Bestand Bewaren");
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

void DocumentCommands::open()
{
    const FileDialogRequest request = documentRequest("Bestand Openen");
    const std::optional<QString> path = services_.fileDialog.showOpen(request);
    if (!path || path->isEmpty())
        return;
    openFile(*path);
}

bool DocumentCommands::openFile(const QString& path)
{
    DocumentReadResult result = ReadDocumentFile(path);
    if (!result.document) {
        warn(result.error);
        return false;
    }
    host_.applyDocument(*result.document);
    host_.setCurrentFileName(path);
    return true;
}

bool DocumentCommands::write(const QString& path)
{
    ArticleDocument doc = host_.currentDocument();

    const std::vector<DocumentPlace> markers = PlacesWithMarkers(doc);
    if (!markers.empty()) {
        QStringList lines;
        for (const DocumentPlace& place : markers) {
            const QString& text = place.kind == DocumentPlace::Kind::Field ? doc.fields.at(std::size_t(place.index))
                                                                           : doc.links.at(place.index);
            const QString marker = text.contains(kFieldMarker) ? kFieldMarker : kLinkMarker;
            lines << QStringLiteral("- %1 bevat \"%2\"").arg(DescribePlace(doc, place), marker);
        }
        warn(QStringLiteral("Het document is niet bewaard in %1.\n\nDeze teksten bevatten een scheidingsteken van "
                            "het bestand (\"%2\" in een veld, \"%3\" of \"%2\" in een link) en zouden bij het "
                            "openen niet terugkomen zoals ze nu zijn:\n\n%4\n\nHaal die tekst weg en bewaar "
                            "opnieuw.")
                 .arg(quoted(path), kFieldMarker, kLinkMarker, listLines(lines).join(QLatin1Char('\n'))));
        return false;
    }

    const std::vector<UnencodableText> unencodable = PlacesWithUnencodable(doc);
    if (!unencodable.empty()) {
        QStringList lines;
        for (const UnencodableText& found : unencodable) {
            const QString place = DescribePlace(doc, found.place);
            const QString separator = place.endsWith(QLatin1Char(':')) ? QStringLiteral(" ") : QStringLiteral(": ");
            lines << QStringLiteral("- ") + place + separator + charactersText(found.characters);
        }
        const MessageAnswer answer = services_.messageBox.show(
            QStringLiteral("Deze teksten bevatten tekens die niet in het bestand %1 kunnen worden bewaard:\n\n%2\n\n"
                           "Wilt u het bestand bewaren met deze tekens vervangen door \"?\"? Kiest u Nee, dan "
                           "wordt er niets bewaard.")
                .arg(quoted(path), listLines(lines).join(QLatin1Char('\n'))),
            toQString(texts::kMessageTitle), MessageIcon::Exclamation, MessageButtons::YesNo);
        if (answer != MessageAnswer::Yes)
            return false;
        doc = WithUnencodableReplaced(doc);
    }

    const DocumentWriteResult result = WriteDocumentFile(path, doc);
    if (!result.written) {
        warn(result.error);
        return false;
    }
    return true;
}

}  // namespace vinkring

#include "session/documentsession.h"

#include <QFileInfo>
#include <QLocale>
#include <QStringList>

#include "model/fieldrules.h"
#include "model/fieldtable.h"
#include "model/texts.h"
#include "document/documentfile.h"
#include "document/documentformat.h"
#include "platform/filedialog.h"
#include "platform/folders.h"
#include "platform/messagebox.h"

namespace vinkring {

namespace {

constexpr qsizetype kListedPlaces = 15;
constexpr qsizetype kListedCharacters = 5;
constexpr std::size_t kLinksPart = kFieldCount;

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

QString offerText(const RecoveryCopy& copy)
{
    // A copy whose time was lost still holds its texts.
    const QString when = copy.savedAt.isValid() ? QLocale(QLocale::Dutch, QLocale::Netherlands)
                                                      .toString(copy.savedAt.toLocalTime(),
                                                                toQString(texts::kRecoveryTimeFormat))
                                                : toQString(messages::kRecoveryTimeUnknown);
    QString file = copy.fileName.isEmpty() ? toQString(messages::kRecoveryNeverSaved)
                                           : toQString(messages::kRecoveryFile).arg(quotedPath(copy.fileName));
    const QFileInfo info(copy.fileName);
    if (!copy.fileName.isEmpty() && copy.savedAt.isValid() && info.exists() && info.lastModified() > copy.savedAt)
        file += QLatin1Char('\n') + toQString(messages::kRecoveryFileChanged);
    return toQString(messages::kRecoveryOffer).arg(toQString(messages::kRecoveryTime).arg(when), file);
}

}  // namespace

DocumentSession::DocumentSession(DocumentView& view, PlatformServices& services, QObject* parent)
    : QObject(parent),
      view_(view),
      services_(services),
      recovery_(services.folders.stateFolder(),
                [this] { return RecoveryCopy{document(), CurrentFileName, QDateTime::currentDateTimeUtc()}; })
{
}

DocumentSession::~DocumentSession() = default;

const ArticleDocument& DocumentSession::document()
{
    if (stale_.none())
        return document_;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        if (stale_.test(i))
            document_.fields[i] = view_.fieldText(i);
    }
    if (stale_.test(kLinksPart))
        document_.links = view_.linkLines();
    stale_.reset();
    return document_;
}

void DocumentSession::showInWindow(const ArticleDocument& doc, Arrival arrival)
{
    document_ = fitToRules(doc);
    view_.showDocument(document_, arrival);
    // Put in as edits, a text may look otherwise in the window (a lone line
    // end as CR LF): read back from there when asked.
    if (arrival == Arrival::OneChange)
        stale_.set();
    else
        stale_.reset();
}

void DocumentSession::begin(const ArticleDocument& doc, const QString& fileName)
{
    stamp_ = stampOf(fileName);
    showInWindow(doc);
    settle(fileName);
    emit documentReplaced();
}

void DocumentSession::settle(const QString& fileName)
{
    CurrentFileName = fileName;
    UnsavedChanges = false;
    settled(document());
}

void DocumentSession::show(const ArticleDocument& doc)
{
    showInWindow(doc);
    emit documentReplaced();
}

void DocumentSession::changed(DocumentChange change)
{
    stale_.set(change.part == DocumentChange::Part::Links ? kLinksPart : change.field);
    UnsavedChanges = true;
    recovery_.changed();
    emit documentChanged(change);
}

void DocumentSession::settled(const ArticleDocument& written)
{
    recovery_.settled(written);
}

bool DocumentSession::confirmReplace()
{
    if (!UnsavedChanges)
        return true;
    const MessageAnswer answer = services_.messageBox.show(toQString(messages::kSaveQuestion), QString(),
                                                           MessageIcon::Information, MessageButtons::YesNoCancel,
                                                           QString());
    if (answer == MessageAnswer::Yes)
        return quickSave() == SaveOutcome::Written;
    return answer == MessageAnswer::No;
}

bool DocumentSession::mayClose()
{
    if (!confirmReplace())
        return false;
    recovery_.drop();
    return true;
}

SaveOutcome DocumentSession::save()
{
    FileDialogRequest request = documentRequest(texts::kSaveTitle);
    request.confirmOverwrite = true;
    request.fileName = CurrentFileName;
    request.setFileName = true;
    const std::optional<QString> path = services_.fileDialog.showSave(request);
    if (!path || path->isEmpty())
        return SaveOutcome::Cancelled;
    if (!write(*path))
        return SaveOutcome::NotWritten;
    CurrentFileName = *path;
    return SaveOutcome::Written;
}

bool DocumentSession::open()
{
    if (!confirmReplace())
        return false;
    const FileDialogRequest request = documentRequest(texts::kOpenTitle);
    const std::optional<QString> path = services_.fileDialog.showOpen(request);
    if (!path || path->isEmpty())
        return false;
    return openFile(*path, false);
}

bool DocumentSession::openFile(const QString& path, bool ask)
{
    DocumentReadResult result = ReadDocumentFile(path);
    if (!result.document) {
        warn(services_.messageBox, result.reason);
        return false;
    }
    if (ask && !confirmReplace())
        return false;
    // Open leaves UnsavedChanges as it was.
    const bool unsaved = UnsavedChanges;
    const FileStamp stamp = stampOf(path);
    begin(*result.document, path);
    stamp_ = stamp;
    UnsavedChanges = unsaved;
    emit fileUsed(path);
    if (!result.notice.isEmpty())
        warn(services_.messageBox, result.notice);
    return true;
}

SaveOutcome DocumentSession::quickSave()
{
    if (CurrentFileName.isEmpty())
        return save();
    if (!mayOverwrite(CurrentFileName) || !write(CurrentFileName))
        return SaveOutcome::NotWritten;
    if (writtenAsShown_)
        UnsavedChanges = false;
    return SaveOutcome::Written;
}

bool DocumentSession::write(const QString& path)
{
    ArticleDocument doc = document();

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

    FileEncoding encoding = FileEncoding::CodePage;
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
            toQString(texts::kMessageTitle), MessageIcon::Exclamation, MessageButtons::YesNoKeep, QString());
        if (answer == MessageAnswer::Keep)
            encoding = FileEncoding::Utf8;
        else if (answer == MessageAnswer::Yes)
            doc = withUnencodableReplaced(doc);
        else
            return false;
    }
    writtenAsShown_ = unencodable.empty() || encoding == FileEncoding::Utf8;

    const Outcome result = WriteDocumentFile(path, doc, encoding);
    if (!result.ok) {
        warn(services_.messageBox, result.reason);
        return false;
    }
    stamp_ = stampOf(path);
    settled(doc);
    emit fileUsed(path);
    // The window still shows what the file could not hold: that work stays
    // unsaved, with its recovery copy.
    if (!writtenAsShown_) {
        UnsavedChanges = true;
        recovery_.changed();
    }
    return true;
}

void DocumentSession::imported(const ArticleDocument& doc)
{
    showInWindow(doc, Arrival::OneChange);
    emit documentReplaced();
    CurrentFileName.clear();
    stamp_ = {};
    UnsavedChanges = true;
    recovery_.changed();
}

DocumentSession::FileStamp DocumentSession::stampOf(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    return {info.lastModified(), info.size()};
}

bool DocumentSession::mayOverwrite(const QString& path)
{
    const FileStamp now = stampOf(path);
    // Gone, or never known: nothing of another program's to lose here.
    if (!now.modified.isValid() || !stamp_.modified.isValid())
        return true;
    const bool changed = stamp_.size < 0 ? now.modified > stamp_.modified
                                         : now.modified != stamp_.modified || now.size != stamp_.size;
    if (!changed)
        return true;
    return services_.messageBox.show(toQString(messages::kChangedOnDisk), toQString(texts::kMessageTitle),
                                     MessageIcon::Exclamation, MessageButtons::YesNo, QString())
        == MessageAnswer::Yes;
}

void DocumentSession::offerLeftOverWork()
{
    std::vector<RecoveryStore::LeftOver> leftOvers = recovery_.takeLeftOvers();
    for (RecoveryStore::LeftOver& left : leftOvers) {
        if (left.copy && !offer(left))
            break;  // the rest stay for the next start
    }
    // The copies that cannot be read go out of the way, named in one message.
    QStringList unreadable;
    for (RecoveryStore::LeftOver& left : leftOvers) {
        if (!left.copy)
            unreadable << recovery_.setAside(left);
    }
    if (unreadable.size() == 1) {
        warn(services_.messageBox, toQString(messages::kRecoveryUnreadable).arg(quotedPath(unreadable.first())));
    } else if (unreadable.size() > 1) {
        // All in the one folder: named once, then the names in a paragraph
        // that wraps, so that the box fits however many there are.
        QStringList names;
        for (const QString& path : unreadable)
            names << QFileInfo(path).fileName();
        warn(services_.messageBox, toQString(messages::kRecoveryUnreadableMany)
                                       .arg(unreadable.size())
                                       .arg(quotedPath(QFileInfo(unreadable.first()).absolutePath()),
                                            names.join(QStringLiteral(", "))));
    }
}

bool DocumentSession::offer(RecoveryStore::LeftOver& left)
{
    const MessageAnswer answer =
        services_.messageBox.show(offerText(*left.copy), toQString(texts::kMessageTitle), MessageIcon::Information,
                                  MessageButtons::YesNoCancel, QString());
    if (answer == MessageAnswer::No) {
        recovery_.discard(left);
        return true;
    }
    if (answer != MessageAnswer::Yes)
        return false;
    showInWindow(left.copy->document, Arrival::OneChange);
    emit documentReplaced();
    CurrentFileName = left.copy->fileName;
    // The work is as the file was when the copy was made.
    stamp_ = FileStamp{left.copy->savedAt, -1};
    UnsavedChanges = true;
    // The left-over copy becomes this run's; should that fail, it stays for
    // the next start and this run writes its own.
    if (!recovery_.adopt(left))
        recovery_.changed();
    return false;
}

}  // namespace vinkring

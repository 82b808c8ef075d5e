#include "session/documentsession.h"

#include <sys/stat.h>

#include <QFile>
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

// "VKV", from the filter's pattern "*.VKV".
QString documentExtension()
{
    return toQString(texts::kFilterPattern).mid(2);
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

// As Qt's save dialog adds its default suffix: to a name without any dot.
QString withDocumentExtension(const QString& path)
{
    if (path.isEmpty() || QFileInfo(path).fileName().contains(QLatin1Char('.')))
        return path;
    return path + QLatin1Char('.') + documentExtension();
}

DocumentSession::DocumentSession(DocumentView& view, PlatformServices& services, QObject* parent)
    : QObject(parent),
      view_(view),
      services_(services),
      recovery_(services.folders.stateFolder(), [this]() -> std::optional<RecoveryCopy> {
          if (!unsavedChanges())
              return std::nullopt;
          return RecoveryCopy{document(), CurrentFileName, QDateTime::currentDateTimeUtc()};
      })
{
    comparison_.setSingleShot(true);
    comparison_.setInterval(kComparisonDelayMs);
    connect(&comparison_, &QTimer::timeout, this, &DocumentSession::compare);
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
    keepUtf8_ = false;
    showInWindow(doc);
    settle(fileName);
    emit documentReplaced();
}

void DocumentSession::settle(const QString& fileName)
{
    setFileName(fileName);
    settled(document());
}

void DocumentSession::show(const ArticleDocument& doc)
{
    showInWindow(doc);
    settled(document());
    emit documentReplaced();
}

void DocumentSession::changed(DocumentChange change)
{
    const std::size_t part = change.part == DocumentChange::Part::Links ? kLinksPart : change.field;
    stale_.set(part);
    uncompared_.set(part);
    // Read and compared once the writer pauses, not at every key.
    setUnsaved(true);
    comparison_.start();
    recovery_.changed();
    emit documentChanged(change);
}

void DocumentSession::settled(const ArticleDocument& baseline)
{
    baseline_ = baseline;
    uncompared_.set();
    compare();
    recovery_.settled();
    // What the file could not hold (a "?" written for it) stays unsaved, with its copy.
    if (UnsavedChanges)
        recovery_.changed();
}

void DocumentSession::compare()
{
    comparison_.stop();
    if (!baseline_) {
        baseline_ = document();
        uncompared_.reset();
    }
    if (uncompared_.any()) {
        const ArticleDocument& doc = document();
        for (std::size_t part = 0; part < kParts; ++part) {
            if (!uncompared_.test(part))
                continue;
            differs_.set(part, part == kLinksPart ? !sameLines(doc.links, baseline_->links)
                                                  : !sameText(doc.fields[part], baseline_->fields[part]));
        }
        uncompared_.reset();
    }
    setUnsaved(differs_.any());
}

bool DocumentSession::unsavedChanges()
{
    compare();
    return UnsavedChanges;
}

void DocumentSession::setUnsaved(bool unsaved)
{
    if (unsaved == UnsavedChanges)
        return;
    UnsavedChanges = unsaved;
    emit stateChanged();
}

void DocumentSession::setFileName(const QString& fileName)
{
    if (fileName == CurrentFileName)
        return;
    CurrentFileName = fileName;
    emit stateChanged();
}

bool DocumentSession::confirmReplace()
{
    if (!unsavedChanges())
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
    // The dialog asks about replacing the file by the name it gets.
    request.finalPath = [](const QString& typed, int) { return withDocumentExtension(typed); };
    const std::optional<QString> chosen = services_.fileDialog.showSave(request);
    if (!chosen || chosen->isEmpty())
        return SaveOutcome::Cancelled;
    // A dialog that added no extension asked about the name without it.
    const QString path = withDocumentExtension(*chosen);
    if (path != *chosen && QFileInfo::exists(path)
        && services_.messageBox.show(toQString(messages::kFileExists).arg(quotedPath(path)),
                                     toQString(texts::kMessageTitle), MessageIcon::Exclamation,
                                     MessageButtons::YesNoKeepOld, QString())
               != MessageAnswer::Yes)
        return SaveOutcome::NotWritten;
    // The file as the writer agreed to replace it.
    if (!write(path, stampOf(path)))
        return SaveOutcome::NotWritten;
    setFileName(path);
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
    const FileStamp stamp = stampOf(path);
    begin(*result.document, path);
    stamp_ = stamp;
    keepUtf8_ = result.encoding == FileEncoding::Utf8;
    emit fileUsed(path);
    if (!result.notice.isEmpty())
        warn(services_.messageBox, result.notice);
    return true;
}

SaveOutcome DocumentSession::quickSave()
{
    if (CurrentFileName.isEmpty())
        return save();
    return write(CurrentFileName, stamp_) ? SaveOutcome::Written : SaveOutcome::NotWritten;
}

bool DocumentSession::write(const QString& path)
{
    return write(path, path == CurrentFileName ? stamp_ : stampOf(path));
}

bool DocumentSession::write(const QString& path, const FileStamp& expected)
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

    FileEncoding encoding = keepUtf8_ ? FileEncoding::Utf8 : FileEncoding::CodePage;
    const std::vector<UnencodableText> unencodable =
        keepUtf8_ ? std::vector<UnencodableText>() : placesWithUnencodable(doc);
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
    // After every question: another program (another window) may have
    // written the file meanwhile.
    if (!mayOverwrite(path, expected))
        return false;

    const Outcome result = WriteDocumentFile(path, doc, encoding);
    if (!result.ok) {
        warn(services_.messageBox, result.reason);
        return false;
    }
    stamp_ = stampOf(path);
    keepUtf8_ = encoding == FileEncoding::Utf8;
    // The window may still show what the file could not hold ("?" written
    // for it): that work stays unsaved.
    settled(doc);
    emit fileUsed(path);
    emit saved(path);
    return true;
}

void DocumentSession::arrived(const ArticleDocument& doc, const QString& fileName)
{
    // Compared with what was last opened or saved, as any change is: taken
    // back with Ctrl+Z, the work asks nothing again.
    if (!baseline_)
        baseline_ = document();
    showInWindow(doc, Arrival::OneChange);
    keepUtf8_ = false;
    setFileName(fileName);
    uncompared_.set();
    compare();
}

void DocumentSession::imported(const ArticleDocument& doc)
{
    arrived(doc, QString());
    stamp_ = {};
    recovery_.changed();
    emit documentReplaced();
}

DocumentSession::FileStamp DocumentSession::stampOf(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    // Every write puts a new file in the old one's place: its inode tells
    // two writes apart within the time's resolution too.
    struct stat status {};
    const ino_t file = ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_ino : 0;
    return {info.lastModified(), info.size(), file};
}

bool DocumentSession::mayOverwrite(const QString& path, const FileStamp& expected)
{
    const FileStamp now = stampOf(path);
    // Gone: nothing of another program's to lose here.
    if (!now.modified.isValid())
        return true;
    // Made meanwhile, or written since.
    const bool changed = !expected.modified.isValid()
        || (expected.size < 0 ? now.modified > expected.modified
                              : now.modified != expected.modified || now.size != expected.size
                                    || (expected.file != 0 && now.file != expected.file));
    if (!changed)
        return true;
    return services_.messageBox.show(toQString(messages::kChangedOnDisk), toQString(texts::kMessageTitle),
                                     MessageIcon::Exclamation, MessageButtons::YesNoKeepOld, QString())
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
    // The work is unsaved where it differs from its file as it is now; that
    // of a file gone or never saved, where it differs from the start.
    bool fileInUtf8 = false;
    if (!left.copy->fileName.isEmpty()) {
        const DocumentReadResult file = ReadDocumentFile(left.copy->fileName);
        if (file.document)
            baseline_ = fitToRules(*file.document);
        fileInUtf8 = file.document && file.encoding == FileEncoding::Utf8;
    }
    arrived(left.copy->document, left.copy->fileName);
    // A file in UTF-8 is saved in it again without asking, as when opened.
    keepUtf8_ = fileInUtf8;
    // The work is as the file was when the copy was made.
    stamp_ = FileStamp{left.copy->savedAt, -1, 0};
    emit documentReplaced();
    // The left-over copy becomes this run's; should that fail, it stays for
    // the next start and this run writes its own.
    if (!recovery_.adopt(left))
        recovery_.changed();
    return false;
}

}  // namespace vinkring

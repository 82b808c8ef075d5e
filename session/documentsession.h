#pragma once
// The state of the document the window holds: the file it belongs to
// (CurrentFileName), whether it has unsaved changes (UnsavedChanges), the
// Open, Save and quick save that change them, the question before work is
// replaced or dropped, and the recovery copy that keeps unsaved work safe.
//
// The window tells the session of each real change of the content, naming
// what changed; the session keeps the document as last read, and reads again
// from the window only the parts that changed since. The work is unsaved
// while it differs from the document as last begun, opened or saved: only
// the parts that changed since the last comparison are compared again.

#include <bitset>
#include <cstddef>
#include <optional>

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include "model/articledocument.h"
#include "platform/platformservices.h"
#include "session/recoveryscheduler.h"

namespace vinkring {

// What one change of the document touched: one field, or the links list.
struct DocumentChange {
    enum class Part { Field, Links };
    Part part = Part::Field;
    std::size_t field = 0;  // with Part::Field: its index in the field table

    static DocumentChange inField(std::size_t index) { return {Part::Field, index}; }
    static DocumentChange inLinks() { return {Part::Links, 0}; }
    friend bool operator==(const DocumentChange&, const DocumentChange&) = default;
};

// How a document goes into the window: as a new start (opened, new), or as
// one change of the writer's work that can be undone (imported, restored).
enum class Arrival { NewStart, OneChange };

// The window as the session sees it.
class DocumentView {
public:
    virtual ~DocumentView() = default;
    // One field's text as the window holds it (CR LF line ends).
    virtual QString fieldText(std::size_t index) = 0;
    virtual QStringList linkLines() = 0;
    // Puts a document (within the document's rules) in the window; the
    // session hears of it by no notice of change.
    virtual void showDocument(const ArticleDocument& doc, Arrival arrival) = 0;
};

// How a save ended: written, cancelled in the dialog, or not written
// (refused, declined or failed; the writer has been told).
enum class SaveOutcome { Written, Cancelled, NotWritten };

// A document file's name as the writer typed it in a save dialog: without an
// extension it gets the document file's (".VKV"); with one it stays as typed.
QString withDocumentExtension(const QString& path);

class DocumentSession final : public QObject {
    Q_OBJECT

public:
    DocumentSession(DocumentView& view, PlatformServices& services, QObject* parent = nullptr);
    ~DocumentSession() override;

    QString currentFileName() const { return CurrentFileName; }
    // Whether the work differs from what was last begun, opened or saved
    // (restored work: from its file as it is); compares what changed since
    // the last comparison.
    bool unsavedChanges();
    // UnsavedChanges as last compared, for a sign that must not read the window.
    bool unsavedAsLastCompared() const { return UnsavedChanges; }

    // The document as the window holds it now.
    const ArticleDocument& document();

    // The window now holds doc, as file fileName holds it (none: a new
    // document): nothing unsaved, nothing to recover.
    void begin(const ArticleDocument& doc, const QString& fileName = QString());
    // The work in the window, as it is, is as file fileName holds it.
    void settle(const QString& fileName);
    // Puts doc in the window as a new start, without changing its file.
    void show(const ArticleDocument& doc);
    // The writer changed the content, with the keyboard or otherwise (the
    // mouse, the links editor, the spelling check): once per change.
    void changed(DocumentChange change);

    // Before the work is replaced or dropped: with unsaved changes, asks
    // "Wilt u uw wijzigingen bewaren?" with Ja, Nee and Annuleren. True when
    // the caller may go on: nothing unsaved, Nee, or Ja and a save that wrote.
    bool confirmReplace();
    // The close prompt: confirmReplace, and the recovery copy goes when the
    // window may close.
    bool mayClose();

    // "Be&waren": asks for a path, writes, remembers the path.
    SaveOutcome save();
    // "&Openen": asks about unsaved work, then for a path, and reads it. True
    // when it replaced the document.
    bool open();
    // Reads the file at path as Open does, with the same messages for a bad
    // file; only a file that reads is followed by the question about unsaved
    // work (with ask), and put in the window. A file read only in part is
    // opened, and then says what it left out.
    bool openFile(const QString& path, bool ask = true);
    // Writes to CurrentFileName, or asks for a path when there is none.
    SaveOutcome quickSave();
    // Writes the document to path; reports any failure to the writer. True
    // when the file now holds the document.
    bool write(const QString& path);

    // Work put in the window from elsewhere (an import), as one change that
    // can be undone: it belongs to no file, is unsaved while it differs
    // from what was last begun, opened or saved, and the recovery copy keeps it.
    void imported(const ArticleDocument& doc);

    // At start-up: offers, one by one and newest first, the work that runs
    // which did not end normally left in their recovery copies. Restored
    // work is in the window with its file as CurrentFileName and unsaved.
    // Copies that cannot be read are set aside and named in one message.
    void offerLeftOverWork();

    RecoveryScheduler& recovery() { return recovery_; }

    // How long after the last change the work is compared again.
    static constexpr int kComparisonDelayMs = 300;

signals:
    // The content changed (see changed()).
    void documentChanged(DocumentChange change);
    // Another document was put in the window.
    void documentReplaced();
    // The work was read from or written to the file at path.
    void fileUsed(const QString& path);
    // The work was written to the file at path.
    void saved(const QString& path);
    // CurrentFileName or UnsavedChanges changed. Right after a change of
    // the content the work counts as unsaved until a comparison (a moment
    // later, or when asked) finds it equal to what was saved.
    void stateChanged();

private:
    // The file as this run last read or wrote it, to tell a change by
    // another program; an unknown size compares the time alone.
    struct FileStamp {
        QDateTime modified;
        qint64 size = -1;
        quint64 file = 0;  // the inode; 0 when unknown
    };
    static FileStamp stampOf(const QString& path);
    // True when path may be written: as it was when expected was taken, or
    // the writer says so.
    bool mayOverwrite(const QString& path, const FileStamp& expected);
    // Writes after every question, the file compared with expected last.
    bool write(const QString& path, const FileStamp& expected);

    // The work in the window is as last saved, opened or begun: baseline.
    void settled(const ArticleDocument& baseline);
    // Compares the parts that changed since the last comparison.
    void compare();
    void setUnsaved(bool unsaved);
    void setFileName(const QString& fileName);
    void showInWindow(const ArticleDocument& doc, Arrival arrival = Arrival::NewStart);
    // Imported or restored work, of file fileName, put in as one change.
    void arrived(const ArticleDocument& doc, const QString& fileName);
    // Asks about one readable left-over copy; false when the writer wants no more questions.
    bool offer(RecoveryStore::LeftOver& left);

    DocumentView& view_;
    PlatformServices& services_;
    QString CurrentFileName;
    bool UnsavedChanges = false;
    FileStamp stamp_;  // of CurrentFileName
    // Once the writer kept every character in UTF-8 (or opened a UTF-8
    // file), the document's saves stay in UTF-8 without asking.
    bool keepUtf8_ = false;
    // The parts of the document: the fields, then the links.
    static constexpr std::size_t kParts = kFieldCount + 1;
    // The document as last read from the window, and which of its parts
    // changed there since.
    ArticleDocument document_;
    std::bitset<kParts> stale_ = std::bitset<kParts>().set();
    // The work as last begun, opened or saved, sharing the texts that did not
    // change; until one, the document as the window first shows it.
    std::optional<ArticleDocument> baseline_;
    std::bitset<kParts> uncompared_;  // changed since the last comparison
    std::bitset<kParts> differs_;     // differ from the baseline, as last compared
    QTimer comparison_;               // a moment after the last change
    RecoveryScheduler recovery_;
};

}  // namespace vinkring

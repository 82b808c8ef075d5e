#pragma once
// The state of the document the window holds: the file it belongs to
// (CurrentFileName), whether it has unsaved changes (UnsavedChanges), the
// Open, Save and quick save that change them, the question before work is
// replaced or dropped, and the recovery copy that keeps unsaved work safe.

#include <functional>

#include <QString>

#include "model/articledocument.h"
#include "platform/platformservices.h"
#include "window/documentcommands.h"
#include "window/recoveryscheduler.h"

namespace vinkring {

// The window as the session sees it: the document in its fields.
class DocumentView {
public:
    virtual ~DocumentView() = default;
    virtual ArticleDocument document() const = 0;
    // Puts a document in the window; no change of the writer's.
    virtual void setDocument(const ArticleDocument& doc) = 0;
};

class DocumentSession final : private DocumentHost {
public:
    DocumentSession(DocumentView& view, PlatformServices& services);

    QString currentFileName() const override { return CurrentFileName; }
    bool unsavedChanges() const { return UnsavedChanges; }

    // A fresh start, and New: no file, nothing unsaved, nothing to recover.
    void reset();
    // Work put in the window from elsewhere (an import): it belongs to no
    // file, is unsaved, and the recovery copy keeps it.
    void imported();
    // A key press (other than Ctrl+S).
    void keyPressed() { UnsavedChanges = true; }
    // The writer changed the document, with the keyboard or otherwise
    // (the mouse, the links editor, the spelling check).
    void contentChanged();
    // Field index may have changed, or only its look (formats): a change
    // when its text is not what was last saved or opened. text gives it.
    void fieldMayHaveChanged(std::size_t index, const std::function<QString()>& text);

    // Before the work is replaced or dropped: with unsaved changes, asks
    // "Wilt u uw wijzigingen bewaren?" with Ja, Nee and Annuleren. True when
    // the caller may go on: nothing unsaved, Nee, or Ja and a save that wrote.
    bool confirmReplace();
    // The close prompt: confirmReplace, and the recovery copy goes when the
    // window may close.
    bool mayClose();

    // "Be&waren": asks for a path, writes, remembers the path.
    SaveOutcome save();
    // "&Openen": asks for a path and reads it. True when it replaced the document.
    bool open();
    // Reads the file at path as Open does.
    bool openFile(const QString& path);
    // Writes to CurrentFileName, or asks for a path when there is none.
    SaveOutcome quickSave();

    // At start-up: offers, one by one and newest first, the work that runs
    // which did not end normally left in their recovery copies. Restored
    // work is in the window with its file as CurrentFileName and unsaved.
    void offerLeftOverWork();

    RecoveryScheduler& recovery() { return recovery_; }

private:
    ArticleDocument currentDocument() const override { return view_.document(); }
    void applyDocument(const ArticleDocument& doc) override { view_.setDocument(doc); }
    void setCurrentFileName(const QString& path) override { CurrentFileName = path; }
    // What is in the window is what was just saved or opened.
    void settled() { recovery_.settled(view_.document()); }
    // Asks about one left-over copy; false when the writer wants no more questions.
    bool offer(RecoveryStore::LeftOver& left);

    DocumentView& view_;
    PlatformServices& services_;
    DocumentCommands commands_;
    QString CurrentFileName;
    bool UnsavedChanges = false;
    RecoveryScheduler recovery_;
};

}  // namespace vinkring

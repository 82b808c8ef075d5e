#pragma once
// The state of the document the window holds: the file it belongs to
// (CurrentFileName), whether it has unsaved changes (UnsavedChanges), and the
// Open, Save and quick save that change them.

#include <QString>

#include "model/articledocument.h"
#include "platform/platformservices.h"
#include "window/documentcommands.h"

namespace vinkring {

// The window as the session sees it: the document in its fields.
class DocumentView {
public:
    virtual ~DocumentView() = default;
    virtual ArticleDocument document() const = 0;
    virtual void setDocument(const ArticleDocument& doc) = 0;
};

class DocumentSession final : private DocumentHost {
public:
    DocumentSession(DocumentView& view, PlatformServices& services);

    QString currentFileName() const override { return CurrentFileName; }
    bool unsavedChanges() const { return UnsavedChanges; }

    // A fresh start, and New: no file, nothing unsaved.
    void reset();
    // A key press (other than Ctrl+S).
    void keyPressed() { UnsavedChanges = true; }

    // "Be&waren": asks for a path, writes, remembers the path.
    SaveOutcome save() { return commands_.save(); }
    // "&Openen": asks for a path and reads it.
    void open() { commands_.open(); }
    // Reads the file at path as Open does.
    bool openFile(const QString& path) { return commands_.openFile(path); }
    // Writes to CurrentFileName, or asks for a path when there is none.
    SaveOutcome quickSave();

private:
    ArticleDocument currentDocument() const override { return view_.document(); }
    void applyDocument(const ArticleDocument& doc) override { view_.setDocument(doc); }
    void setCurrentFileName(const QString& path) override { CurrentFileName = path; }

    DocumentView& view_;
    DocumentCommands commands_;
    QString CurrentFileName;
    bool UnsavedChanges = false;
};

}  // namespace vinkring

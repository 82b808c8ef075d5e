#pragma once
// The Open and Save commands and the checked writing of a document file.

#include <QString>

#include "model/articledocument.h"
#include "platform/platformservices.h"

namespace vinkring {

// The window as the document commands see it.
class DocumentHost {
public:
    virtual ~DocumentHost() = default;
    virtual ArticleDocument currentDocument() const = 0;
    virtual void applyDocument(const ArticleDocument& doc) = 0;
    virtual QString currentFileName() const = 0;
    virtual void setCurrentFileName(const QString& path) = 0;
};

// How a save ended: written, cancelled in the dialog, or not written
// (refused, declined or failed; the writer has been told).
enum class SaveOutcome { Written, Cancelled, NotWritten };

class DocumentCommands {
public:
    DocumentCommands(DocumentHost& host, PlatformServices& services);

    // "Be&waren": asks for a path, writes, remembers the path.
    SaveOutcome save();
    // "&Openen": asks for a path, reads, replaces the document. True when
    // the document was replaced.
    bool open();
    // Reads the file at path as Open does, with the same messages for a bad
    // file; the document and the file name change only when it succeeds. A
    // file read only in part is opened, and then says what it left out.
    bool openFile(const QString& path);
    // Writes the current document to path; reports any failure to the
    // writer. True when the file now holds the document.
    bool write(const QString& path);

private:
    DocumentHost& host_;
    PlatformServices& services_;
};

}  // namespace vinkring

#pragma once
// "Exporteren..." and "Importeren uit forumtekst..." of the menu "Bestand".

#include <functional>

#include <QString>

#include "article/exportformats.h"
#include "article/forumimport.h"
#include "platform/platformservices.h"

namespace vinkring {

class DocumentSession;

class ExportCommands {
public:
    ExportCommands(DocumentSession& session, PlatformServices& services) : session_(session), services_(services) {}

    // Asks for a name and a type, and writes the export; a failure is told.
    void exportArticle();
    // Asks where the forum text is, reads it, and after the question about
    // unsaved work puts the article in the window as unsaved work without a
    // file, as one step of the history. True when it was put in.
    bool importArticle();
    // The same for a text already at hand (the clipboard's, a file's).
    bool importText(const QString& text);
    bool importFile(const QString& path);
    // Where a done export or import says so briefly.
    void setNote(std::function<void(const QString&)> note) { note_ = std::move(note); }

private:
    QString suggestedPath(ExportType type) const;
    bool putIn(const ForumImport& result);

    DocumentSession& session_;
    PlatformServices& services_;
    std::function<void(const QString&)> note_;
    QString folder_;  // where the last export went
    ExportType type_ = ExportType::OpenDocument;
};

// The name an export suggests: the document file's name, else the title
// (without characters a file name cannot hold), else "artikel"; then the
// type's extension.
QString suggestedExportName(const QString& currentFileName, const QString& title, ExportType type);

}  // namespace vinkring

#pragma once
// "Exporteren..." and "Importeren uit forumtekst..." of the menu "Bestand".

#include <functional>

#include <QString>

#include "article/exportformats.h"
#include "article/forumimport.h"
#include "platform/platformservices.h"

class QWidget;

namespace vinkring {

class DocumentSession;

// The export and the import run on a thread of their own while the window
// waits for them, repainting and answering (longtask.h).
class ExportCommands {
public:
    // window holds the progress dialog; tell says briefly what was done.
    ExportCommands(DocumentSession& session, PlatformServices& services, QWidget* window,
                   std::function<void(const QString&)> tell)
        : session_(session), services_(services), window_(window), tell_(std::move(tell))
    {
    }

    // Asks for a name and a type, and writes the export; a failure is told,
    // a cancelled export leaves no file (an old one as it was).
    void exportArticle();
    // Asks where the forum text is, reads it, and after the question about
    // unsaved work puts the article in the window as unsaved work without a
    // file, as one step of the history. True when it was put in.
    bool importArticle();
    // The same for a text already at hand (the clipboard's) and for a file.
    bool importText(const QString& text);
    bool importFile(const QString& path);

private:
    QString suggestedPath(ExportType type) const;
    QString importFolder() const;
    bool putIn(const ForumImport& result, const QString& done);

    DocumentSession& session_;
    PlatformServices& services_;
    QWidget* window_;
    std::function<void(const QString&)> tell_;
    QString folder_;        // where the last export went
    QString importFolder_;  // where the last imported file was
    ExportType type_ = ExportType::OpenDocument;
};

// The name an export suggests: the document file's name, else the title
// (without characters a file name cannot hold), else "artikel"; then the
// type's extension.
QString suggestedExportName(const QString& currentFileName, const QString& title, ExportType type);

}  // namespace vinkring

#pragma once
// The modal open and save dialog of the document commands.

#include <functional>
#include <optional>

#include <QList>
#include <QString>

namespace vinkring {

struct FileType {
    QString description;  // "PDF (*.pdf)"
    QString pattern;      // "*.pdf"
};

struct FileDialogRequest {
    QString title;              // "Bestand Openen" / "Bestand Bewaren"
    QString filterDescription;  // shown in the file-type box
    QString filterPattern;      // selects the names listed, matched without regard to case
    QString fileName;           // initial name; empty keeps the dialog's last name
    bool setFileName = false;   // start with fileName even when it is empty (Save)
    bool confirmOverwrite = false;
    // A list of types instead of the one filter, with the one chosen at the
    // start; the save dialog gives a typed name without extension the
    // chosen type's, and changes the name's extension with the type.
    QList<FileType> types;
    int type = 0;
    // The folder the dialog starts in when it starts with no name; empty:
    // the folder of the last name it returned.
    QString folder;
    // The name a chosen path is written under, given the type chosen (an
    // extension added): the overwrite question, and the path returned,
    // concern that name. Unset: the path as chosen.
    std::function<QString(const QString& path, int type)> finalPath;
};

struct FileDialogChoice {
    QString path;
    int type = 0;  // the type chosen in request.types
};

// The name a dialog starts with: the request's, or the last name the dialog
// returned when the request sets none.
QString initialFileName(const FileDialogRequest& request, const QString& lastName);

// A modal open and save dialog. The dialog keeps the last name it returned.
// nullopt means the user cancelled.
class FileDialog {
public:
    virtual ~FileDialog() = default;
    virtual std::optional<QString> showOpen(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> showSave(const FileDialogRequest& request) = 0;
    // A dialog with a list of types: the path and the type chosen.
    virtual std::optional<FileDialogChoice> choose(const FileDialogRequest& request, bool save) = 0;
};

}  // namespace vinkring

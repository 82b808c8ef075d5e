#pragma once
// The modal open and save dialog of the document commands.

#include <optional>

#include <QString>

namespace vinkring {

struct FileDialogRequest {
    QString title;              // "Bestand Openen" / "Bestand Bewaren"
    QString filterDescription;  // shown in the file-type box
    QString filterPattern;      // selects the names listed, matched without regard to case
    QString fileName;           // initial name; empty keeps the dialog's last name
    bool setFileName = false;   // start with fileName even when it is empty (Save)
    bool confirmOverwrite = false;
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
};

}  // namespace vinkring

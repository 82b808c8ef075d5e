#pragma once
#include <optional>

#include <QString>

class QWidget;

namespace vinkring {

struct FileDialogRequest {
    QString title;              // "Bestand Openen" / "Bestand Bewaren"
    QString filterDescription;  // shown in the file-type box
    QString filterPattern;      // selects the names listed, matched without regard to case
    QString fileName;           // initial name; empty keeps the dialog's last name
    bool setFileName = false;   // start with fileName even when it is empty (Save)
    bool confirmOverwrite = false;
    bool hideReadOnly = true;
};

// A modal open and save dialog. The dialog keeps the last name it returned.
// nullopt means the user cancelled.
class FileDialog {
public:
    virtual ~FileDialog() = default;
    virtual std::optional<QString> showOpen(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> showSave(const FileDialogRequest& request) = 0;
};

class QtFileDialog final : public FileDialog {
public:
    explicit QtFileDialog(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    std::optional<QString> showOpen(const FileDialogRequest& request) override;
    std::optional<QString> showSave(const FileDialogRequest& request) override;

private:
    std::optional<QString> run(const FileDialogRequest& request, bool save);
    QWidget* parent_;
    QString lastName_;
};

}  // namespace vinkring

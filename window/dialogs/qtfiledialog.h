#pragma once
// The file dialog as Qt's own QFileDialog over the window.

#include "platform/filedialog.h"

class QWidget;

namespace vinkring {

class QtFileDialog final : public FileDialog {
public:
    explicit QtFileDialog(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    std::optional<QString> showOpen(const FileDialogRequest& request) override;
    std::optional<QString> showSave(const FileDialogRequest& request) override;
    std::optional<FileDialogChoice> choose(const FileDialogRequest& request, bool save) override;

private:
    std::optional<FileDialogChoice> run(const FileDialogRequest& request, bool save);
    QWidget* parent_;
    QString lastName_;
};

}  // namespace vinkring

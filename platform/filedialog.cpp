#include "platform/filedialog.h"

#include <QFileDialog>

namespace vinkring {

std::optional<QString> QtFileDialog::run(const FileDialogRequest& request, bool save)
{
    QFileDialog dialog(parent_, request.title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // Show the description as given while the pattern selects the names.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setNameFilter(request.filterDescription + QStringLiteral(" (") + request.filterPattern + QLatin1Char(')'));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    dialog.setOption(QFileDialog::ReadOnly, false);
    const QString initial = request.fileName.isEmpty() ? lastName_ : request.fileName;
    if (!initial.isEmpty())
        dialog.selectFile(initial);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    lastName_ = dialog.selectedFiles().constFirst();
    return lastName_;
}

std::optional<QString> QtFileDialog::showOpen(const FileDialogRequest& request)
{
    return run(request, false);
}

std::optional<QString> QtFileDialog::showSave(const FileDialogRequest& request)
{
    return run(request, true);
}

}  // namespace vinkring

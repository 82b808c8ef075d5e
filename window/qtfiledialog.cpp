#include "window/qtfiledialog.h"

#include <QFileDialog>
#include <QFileInfo>

namespace vinkring {

std::optional<QString> QtFileDialog::run(const FileDialogRequest& request, bool save)
{
    QFileDialog dialog(parent_, request.title);
    // Qt's own dialog: a native one shows only the text before the first
    // "(" of the description and matches the pattern with case.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // "Description (pattern)": the last parenthesised part is the pattern;
    // with the details hidden the box shows the description as given. The
    // dialog's file list matches names without regard to case.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setNameFilter(request.filterDescription + QStringLiteral(" (") + request.filterPattern + QLatin1Char(')'));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    dialog.setOption(QFileDialog::ReadOnly, false);
    // Room for the name, size and date columns.
    dialog.resize(dialog.sizeHint().expandedTo(QSize(720, 460)));
    const QString initial = initialFileName(request, lastName_);
    if (!initial.isEmpty()) {
        dialog.selectFile(initial);
    } else if (!lastName_.isEmpty()) {
        dialog.setDirectory(QFileInfo(lastName_).absolutePath());
    }
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

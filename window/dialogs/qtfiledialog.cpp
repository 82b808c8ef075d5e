#include "window/dialogs/qtfiledialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>

#include "window/form/fontlayout.h"

namespace vinkring {

namespace {

// "*.pdf" -> "pdf", "*.html *.htm" -> "html" (the first is the one a name
// gets); empty for a pattern that names no extension ("*").
QString extensionOf(const QString& pattern)
{
    const QString first = pattern.section(QLatin1Char(' '), 0, 0);
    return first.startsWith(QLatin1StringView("*.")) && first.size() > 2 ? first.mid(2) : QString();
}

// Qt's dialog, which asks before it overwrites the name the request's
// finalPath makes of the chosen one, and returns that name.
class FinalNameDialog final : public QFileDialog {
public:
    FinalNameDialog(QWidget* parent, const QString& title, const FileDialogRequest& request)
        : QFileDialog(parent, title), finalPath_(request.finalPath)
    {
    }

    void accept() override
    {
        const QStringList chosen = selectedFiles();
        auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (finalPath_ && name && !chosen.isEmpty() && !QFileInfo(chosen.constFirst()).isDir()) {
            const QString path = finalPath_(chosen.constFirst(), int(nameFilters().indexOf(selectedNameFilter())));
            // The name box, not selectFile(): that leaves a focused box as
            // it is, and Enter was pressed there.
            if (path != chosen.constFirst()) {
                const QFileInfo final(path);
                name->setText(final.absolutePath() == directory().absolutePath() ? final.fileName() : path);
            }
        }
        QFileDialog::accept();
    }

private:
    std::function<QString(const QString&, int)> finalPath_;
};

}  // namespace

std::optional<FileDialogChoice> QtFileDialog::run(const FileDialogRequest& request, bool save)
{
    FinalNameDialog dialog(parent_, request.title, request);
    // Qt's own dialog: a native one shows only the text before the first
    // "(" of the description and matches the pattern with case.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // "Description (pattern)": the last parenthesised part is the pattern;
    // with the details hidden the box shows the description as given. The
    // dialog's file list matches names without regard to case.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    QList<FileType> types = request.types;
    if (types.isEmpty())
        types.push_back({request.filterDescription, request.filterPattern});
    QStringList filters;
    for (const FileType& type : types)
        filters << type.description + QStringLiteral(" (") + type.pattern + QLatin1Char(')');
    dialog.setNameFilters(filters);
    const int chosen = std::clamp(request.type, 0, int(types.size()) - 1);
    dialog.selectNameFilter(filters[chosen]);
    if (save && !request.types.isEmpty()) {
        // A name typed without extension gets the chosen type's, and the
        // name shown takes the extension of the type chosen.
        dialog.setDefaultSuffix(extensionOf(types[chosen].pattern));
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
            const qsizetype index = filters.indexOf(filter);
            if (index < 0)
                return;
            const QString extension = extensionOf(types[index].pattern);
            dialog.setDefaultSuffix(extension);
            auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (!name || extension.isEmpty() || name->text().isEmpty())
                return;
            const QFileInfo typed(name->text());
            name->setText(typed.completeBaseName() + QLatin1Char('.') + extension);
        });
    }
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    dialog.setOption(QFileDialog::ReadOnly, false);
    // Room for the name, size and date columns, within the screen.
    dialog.resize(dialog.sizeHint().expandedTo(QSize(720, 460)).boundedTo(clientRoom(dialog, 0)));
    const QString initial = initialFileName(request, lastName_);
    if (!initial.isEmpty())
        dialog.selectFile(initial);
    else if (!request.folder.isEmpty())
        dialog.setDirectory(request.folder);
    else if (!lastName_.isEmpty())
        dialog.setDirectory(QFileInfo(lastName_).absolutePath());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    lastName_ = dialog.selectedFiles().constFirst();
    return FileDialogChoice{lastName_, int(std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter())))};
}

std::optional<QString> QtFileDialog::showOpen(const FileDialogRequest& request)
{
    const std::optional<FileDialogChoice> choice = run(request, false);
    return choice ? std::optional<QString>(choice->path) : std::nullopt;
}

std::optional<QString> QtFileDialog::showSave(const FileDialogRequest& request)
{
    const std::optional<FileDialogChoice> choice = run(request, true);
    return choice ? std::optional<QString>(choice->path) : std::nullopt;
}

std::optional<FileDialogChoice> QtFileDialog::choose(const FileDialogRequest& request, bool save)
{
    return run(request, save);
}

}  // namespace vinkring

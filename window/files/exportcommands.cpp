#include "window/files/exportcommands.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include "article/forumimport.h"
#include "model/texts.h"
#include "platform/clipboard.h"
#include "platform/filedialog.h"
#include "platform/messagebox.h"
#include "session/documentsession.h"

namespace vinkring {

QString suggestedExportName(const QString& currentFileName, const QString& title, ExportType type)
{
    QString base = QFileInfo(currentFileName).completeBaseName();
    if (base.isEmpty()) {
        for (const QChar c : title) {
            const bool allowed = !QStringView(u"/\\:*?\"<>|").contains(c) && c.category() != QChar::Other_Control
                && !c.isSurrogate();
            base += allowed ? c : QChar(u' ');
        }
        base = base.simplified().left(80).trimmed();
        while (base.startsWith(QLatin1Char('.')))
            base.remove(0, 1);
    }
    if (base.isEmpty())
        base = toQString(texts::kExportDefaultName);
    return base + QLatin1Char('.') + toQString(exportTypeInfo(type).extension);
}

QString ExportCommands::suggestedPath(ExportType type) const
{
    const ArticleDocument& doc = session_.document();
    const QString current = session_.currentFileName();
    QString folder = folder_;
    if (folder.isEmpty() && !current.isEmpty())
        folder = QFileInfo(current).absolutePath();
    if (folder.isEmpty())
        folder = QDir::homePath();
    return QDir(folder).filePath(suggestedExportName(current, doc.fields[kTitleField], type));
}

void ExportCommands::exportArticle()
{
    FileDialogRequest request;
    request.title = toQString(texts::kExportTitle);
    for (const ExportTypeInfo& info : kExportTypes)
        request.types.push_back({toQString(info.filter), QStringLiteral("*.") + toQString(info.extension)});
    request.type = int(std::find_if(kExportTypes.cbegin(), kExportTypes.cend(),
                                    [this](const ExportTypeInfo& info) { return info.type == type_; })
                       - kExportTypes.cbegin());
    request.fileName = suggestedPath(type_);
    request.setFileName = true;
    request.confirmOverwrite = true;
    const std::optional<FileDialogChoice> choice = services_.fileDialog.choose(request, true);
    if (!choice || choice->path.isEmpty())
        return;
    const ExportType chosen = kExportTypes.at(std::size_t(std::clamp(choice->type, 0, int(kExportTypes.size()) - 1))).type;
    const ExportType type = exportTypeForName(choice->path, chosen);
    QString path = choice->path;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + toQString(exportTypeInfo(type).extension);
    // A PDF of a long article takes seconds (Qt lays out every page).
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Outcome written = writeExport(session_.document(), type, path);
    QApplication::restoreOverrideCursor();
    if (!written.ok) {
        warn(services_.messageBox, written.reason);
        return;
    }
    // The next export starts where this one went, in its type.
    folder_ = QFileInfo(path).absolutePath();
    type_ = type;
    if (note_)
        note_(toQString(messages::kExported).arg(QFileInfo(path).fileName()));
}

bool ExportCommands::importArticle()
{
    enum Answer { FromFile, FromClipboard };
    const int answer = services_.messageBox.choose(
        toQString(texts::kImportQuestion), toQString(texts::kImportTitle),
        {toQString(texts::kImportFromFile), toQString(texts::kImportFromClipboard), toQString(texts::kCancel)});
    if (answer == FromClipboard)
        return importText(services_.clipboard.plainText());
    if (answer != FromFile)
        return false;

    FileDialogRequest request;
    request.title = toQString(texts::kImportTitle);
    request.types = {{toQString(texts::kImportFilterDescription), toQString(texts::kImportFilterPattern)},
                     {toQString(texts::kAllFilesDescription), toQString(texts::kAllFilesPattern)}};
    const std::optional<FileDialogChoice> choice = services_.fileDialog.choose(request, false);
    return choice && importFile(choice->path);
}

bool ExportCommands::importText(const QString& text)
{
    if (text.trimmed().isEmpty()) {
        warn(services_.messageBox, toQString(messages::kImportEmpty));
        return false;
    }
    return putIn(importForumText(text));
}

bool ExportCommands::importFile(const QString& path)
{
    return putIn(importForumFile(path));
}

// A refused text leaves the window as it was; an accepted one replaces the
// work after the question about unsaved changes.
bool ExportCommands::putIn(const ForumImport& result)
{
    if (!result.document) {
        warn(services_.messageBox, result.message);
        return false;
    }
    if (!session_.confirmReplace())
        return false;
    session_.imported(*result.document);
    if (note_)
        note_(toQString(messages::kImported));
    if (!result.message.isEmpty()) {
        services_.messageBox.show(result.message, toQString(texts::kMessageTitle), MessageIcon::Information,
                                  MessageButtons::Ok, QString());
    }
    return true;
}

}  // namespace vinkring

#include "window/files/exportcommands.h"

#include <algorithm>
#include <utility>

#include <QDir>
#include <QFileInfo>

#include "article/forumimport.h"
#include "model/texts.h"
#include "platform/clipboard.h"
#include "platform/filedialog.h"
#include "platform/messagebox.h"
#include "session/documentsession.h"
#include "window/files/longtask.h"

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

namespace {

// The type a chosen name is written in, the one its extension names or else
// the one listed, and the name with that type's extension ("brief.doc" as
// OpenDocument is "brief.doc.odt").
std::pair<ExportType, QString> exportTarget(const QString& chosen, int listed)
{
    const ExportType type = exportTypeForName(
        chosen, kExportTypes.at(std::size_t(std::clamp(listed, 0, int(kExportTypes.size()) - 1))).type);
    return {type, pathForType(chosen, type)};
}

}  // namespace

void ExportCommands::exportArticle()
{
    FileDialogRequest request;
    request.title = toQString(texts::kExportTitle);
    for (const ExportTypeInfo& info : kExportTypes)
        request.types.push_back({toQString(info.filter), info.pattern()});
    request.type = int(std::find_if(kExportTypes.cbegin(), kExportTypes.cend(),
                                    [this](const ExportTypeInfo& info) { return info.type == type_; })
                       - kExportTypes.cbegin());
    request.fileName = suggestedPath(type_);
    request.setFileName = true;
    request.confirmOverwrite = true;
    request.finalPath = [](const QString& path, int type) { return exportTarget(path, type).second; };
    const std::optional<FileDialogChoice> choice = services_.fileDialog.choose(request, true);
    if (!choice || choice->path.isEmpty())
        return;
    const auto [type, path] = exportTarget(choice->path, choice->type);
    const QString name = QFileInfo(path).fileName();
    const ExportResult written =
        runLongTask(window_, toQString(texts::kExportTitle), toQString(messages::kExporting).arg(name),
                    [doc = session_.document(), type, path](const TaskControl& control) {
                        return writeExport(doc, type, path, control);
                    });
    if (written.cancelled)
        return;
    if (!written.ok) {
        warn(services_.messageBox, written.reason);
        return;
    }
    // The next export starts where this one went, in its type.
    folder_ = QFileInfo(path).absolutePath();
    type_ = type;
    tell_(toQString(messages::kExported).arg(name));
}

// The folder of the last import, else the document's, else the home folder.
QString ExportCommands::importFolder() const
{
    if (!importFolder_.isEmpty())
        return importFolder_;
    const QString current = session_.currentFileName();
    return current.isEmpty() ? QDir::homePath() : QFileInfo(current).absolutePath();
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

    // No name chosen at the start: Enter imports nothing unseen.
    FileDialogRequest request;
    request.title = toQString(texts::kImportTitle);
    request.types = {{toQString(texts::kImportFilterDescription), toQString(texts::kImportFilterPattern)},
                     {toQString(texts::kAllFilesDescription), toQString(texts::kAllFilesPattern)}};
    request.setFileName = true;
    request.folder = importFolder();
    const std::optional<FileDialogChoice> choice = services_.fileDialog.choose(request, false);
    if (!choice || choice->path.isEmpty())
        return false;
    importFolder_ = QFileInfo(choice->path).absolutePath();
    return importFile(choice->path);
}

bool ExportCommands::importText(const QString& text)
{
    if (text.trimmed().isEmpty()) {
        warn(services_.messageBox, toQString(messages::kImportEmpty));
        return false;
    }
    const ForumImport result =
        runLongTask(window_, toQString(texts::kImportTitle), toQString(messages::kImportingClipboard),
                    [text](const TaskControl& control) { return importForumText(text, control); });
    return putIn(result, toQString(messages::kImportedClipboard));
}

bool ExportCommands::importFile(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const ForumImport result =
        runLongTask(window_, toQString(texts::kImportTitle), toQString(messages::kImportingFile).arg(name),
                    [path](const TaskControl& control) { return importForumFile(path, control); });
    return putIn(result, toQString(messages::kImportedFile).arg(name));
}

// A refused text leaves the window as it was; an accepted one replaces the
// work after the question about unsaved changes. A cancelled one is no news.
bool ExportCommands::putIn(const ForumImport& result, const QString& done)
{
    if (result.cancelled)
        return false;
    if (!result.document) {
        warn(services_.messageBox, result.message);
        return false;
    }
    if (!session_.confirmReplace())
        return false;
    runHoldingInput([this, &result] { session_.imported(*result.document); });
    if (!result.message.isEmpty()) {
        services_.messageBox.show(result.message, toQString(texts::kMessageTitle), MessageIcon::Information,
                                  MessageButtons::Ok, QString());
    }
    tell_(done);
    return true;
}

}  // namespace vinkring

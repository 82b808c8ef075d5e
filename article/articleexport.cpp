#include "article/articleexport.h"

#include <optional>

#include <QDir>

#include "model/texts.h"
#include "article/articlebuilder.h"
#include "article/articleparts.h"
#include "article/forumpost.h"
#include "article/textexports.h"
#include "document/durablefile.h"
#include "platform/automation.h"
#include "platform/clipboard.h"
#include "platform/folders.h"
#include "platform/messagebox.h"

namespace vinkring {

namespace {

// The post as the forum shows it, every heading kept, as the web page
// export writes it (UTF-8, declared in the page).
QByteArray webPageBytes(const ArticleDocument& doc)
{
    return webPage(readArticleParts(doc, EmptySections::Kept)).toUtf8();
}

struct PreviewFile {
    QString path;      // the file written, empty when none could be
    QString problems;  // each path tried and why it failed, one per line
};

// The program's own folder when it is the user's (a build or a portable
// copy); otherwise, or when it cannot be written, the user's cache folder.
// An installed program never writes into the system's folders, even as root.
PreviewFile writePreview(const QByteArray& bytes, const Folders& folders)
{
    PreviewFile result;
    const auto attempt = [&](const QString& folder) {
        const QString path = QDir::toNativeSeparators(QDir(folder).filePath(toQString(texts::kPreviewFileName)));
        const Outcome written = writeFileDurably(path, bytes);
        if (written.ok) {
            result.path = path;
            return true;
        }
        result.problems += QStringLiteral("\n%1: %2").arg(path, written.reason);
        return false;
    };
    const QString program = folders.programFolder();
    if (!program.isEmpty() && folders.programFolderIsUsers() && attempt(program))
        return result;
    const QString cache = folders.cacheFolder();
    if (!cache.isEmpty()) {
        QDir().mkpath(cache);  // a failure shows as the reason the write fails
        attempt(cache);
    }
    return result;
}

}  // namespace

std::optional<qsizetype> exportToClipboard(const ArticleDocument& doc, PlatformServices& services)
{
    const QString text = BuildArticle(doc, ArticleFlavour::Forum);
    const bool placed = services.clipboard.clear() && services.clipboard.setText(text);
    if (!placed) {
        warn(services.messageBox, toQString(messages::kClipboardFailed));
        return std::nullopt;
    }
    return countCharacters(text);
}

void showPreviewPage(const ArticleDocument& doc, PlatformServices& services)
{
    // Created anew for every preview: each press gets its own window.
    std::unique_ptr<AutomationObject> object = services.automation.createObject(toQString(texts::kProgIdBrowser));
    auto* browser = dynamic_cast<BrowserObject*>(object.get());
    if (!browser) {
        warn(services.messageBox, toQString(messages::kPreviewNeedsBrowser));
        return;
    }
    const PreviewFile file = writePreview(webPageBytes(doc), services.folders);
    if (file.path.isEmpty()) {
        warn(services.messageBox, toQString(messages::kPreviewNotWritten) + QLatin1Char('\n') + file.problems);
        return;
    }
    // Both are tried, as the window is shown even when loading failed. The
    // first failure's reason goes below the message.
    const Outcome navigated = browser->navigate2(file.path);
    const Outcome shown = browser->setVisible(true);
    if (!navigated.ok || !shown.ok)
        warn(services.messageBox, toQString(messages::kPreviewNeedsBrowser),
             navigated.ok ? shown.reason : navigated.reason);
}

}  // namespace vinkring

#include "article/articleexport.h"

#include <QDir>
#include <QFile>

#include "article/articlebuilder.h"
#include "platform/automation.h"
#include "platform/clipboard.h"
#include "platform/folders.h"
#include "platform/messagebox.h"

namespace vinkring {

namespace {
QString fromView(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

void warn(PlatformServices& services, const QString& text)
{
    services.messageBox.show(text, fromView(texts::kMessageTitle), MessageIcon::Exclamation, MessageButtons::Ok);
}
}  // namespace

void exportToClipboard(const ArticleDocument& doc, PlatformServices& services)
{
    const bool cleared = services.clipboard.clear();
    if (!cleared || !services.clipboard.setText(BuildArticle(doc, ArticleFlavour::Forum)))
        warn(services, QStringLiteral("Het artikel kon niet op het klembord worden geplaatst."));
}

void showPreview(const ArticleDocument& doc, PlatformServices& services)
{
    std::unique_ptr<AutomationObject> object = services.automation.createObject(fromView(texts::kProgIdBrowser));
    auto* browser = dynamic_cast<BrowserObject*>(object.get());
    if (!browser) {
        warn(services, fromView(texts::kPreviewNeedsBrowser));
        return;
    }
    const QString path = QDir(services.folders.programFolder()).filePath(QStringLiteral("PREVIEW.htm"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        warn(services, QStringLiteral("Het bestand %1 kon niet worden geschreven.").arg(QDir::toNativeSeparators(path)));
        return;
    }
    file.write((BuildArticle(doc, ArticleFlavour::Html) + QStringLiteral("\r\n")).toUtf8());
    file.close();
    const bool navigated = browser->navigate2(QDir::toNativeSeparators(path));
    const bool shown = browser->setVisible(true);
    if (!navigated || !shown)
        warn(services, fromView(texts::kPreviewNeedsBrowser));
}

}  // namespace vinkring

// The clipboard through Qt: the export's text alone, as plain text.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "article/articlebuilder.h"
#include "article/articleexport.h"
#include "fakes/fakeplatform.h"
#include "platform/clipboard.h"
#include "samples.h"

namespace vinkring {
namespace {

ArticleDocument sampleDocument(const QString& title)
{
    ArticleDocument doc = test::zebravis();
    doc.field("txtTitel") = title;
    return doc;
}

TEST(ClipboardExport, QtClipboardHoldsOnlyTheLastTextAsPlainText)
{
    QtClipboard clipboard;
    test::FakePlatform platform;
    PlatformServices services{platform.messageBox, clipboard, platform.fileDialog, platform.folders,
                              platform.automation};
    auto* old = new QMimeData;
    old->setHtml(QStringLiteral("<p>oud</p>"));
    QGuiApplication::clipboard()->setMimeData(old);

    const ArticleDocument first = sampleDocument(QStringLiteral("Eerste"));
    const ArticleDocument second = sampleDocument(QStringLiteral("Tweede"));
    exportToClipboard(first, services);
    exportToClipboard(second, services);

    const QMimeData* held = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(held->text(), BuildArticle(second, ArticleFlavour::Forum));
    EXPECT_FALSE(held->hasHtml());
    EXPECT_TRUE(platform.messageBox.shown.empty());
}

}  // namespace
}  // namespace vinkring

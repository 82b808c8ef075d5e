// The clipboard export and the preview, on fake platform services.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "model/articledocument.h"
#include "article/articlebuilder.h"
#include "article/articleexport.h"
#include "article/articleparts.h"
#include "article/textexports.h"
#include "fakes/fakeplatform.h"
#include "samples.h"

namespace vinkring {
namespace {

using test::FakeBrowser;
using test::FakePlatform;

const QString kTitle = QStringLiteral("Vinkring Artikel Template Melding");
const QString kNeedsBrowser = QStringLiteral("De preview vereist Internet Explorer.");

ArticleDocument sampleDocument(const QString& title)
{
    ArticleDocument doc = test::zebravis();
    doc.field("txtTitel") = title;
    doc.field("txtAuteur") = QStringLiteral("Joëlle Ïsbrücker");
    return doc;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The web page of the whole post, every heading kept.
QByteArray expectedPreview(const ArticleDocument& doc)
{
    return webPage(readArticleParts(doc, EmptySections::Kept)).toUtf8();
}

// ------------------------------------------------------------ clipboard

TEST(ClipboardExport, PlacesTheForumText)
{
    FakePlatform platform;
    platform.clipboard.text = QStringLiteral("oud");
    const ArticleDocument first = sampleDocument(QStringLiteral("Eerste"));
    const ArticleDocument second = sampleDocument(QStringLiteral("Tweede"));

    exportToClipboard(first, platform.services);
    EXPECT_EQ(platform.clipboard.text, BuildArticle(first, ArticleFlavour::Forum));
    exportToClipboard(second, platform.services);
    EXPECT_EQ(platform.clipboard.text, BuildArticle(second, ArticleFlavour::Forum));
    EXPECT_EQ(platform.clipboard.clears, 2);
    EXPECT_TRUE(platform.messageBox.shown.empty());
}

TEST(ClipboardExport, EmptyDocumentGivesTheSkeleton)
{
    FakePlatform platform;
    exportToClipboard(ArticleDocument{}, platform.services);
    EXPECT_TRUE(platform.clipboard.text.startsWith(QStringLiteral("<b></b>\r\n\r\n<i>Geschreven door: </i>\r\n\r\n")));
    EXPECT_TRUE(platform.clipboard.text.endsWith(QStringLiteral("<b>7. Links</b> \r\n")));
}

TEST(ClipboardExport, RefusedClipboardIsReported)
{
    for (const bool failClear : {true, false}) {
        FakePlatform platform;
        platform.clipboard.failClear = failClear;
        platform.clipboard.failSet = !failClear;
        exportToClipboard(sampleDocument(QStringLiteral("Vis")), platform.services);
        ASSERT_EQ(platform.messageBox.shown.size(), 1u) << failClear;
        const auto& shown = platform.messageBox.shown.front();
        EXPECT_EQ(shown.text, QStringLiteral("Het artikel kon niet op het klembord worden geplaatst."));
        EXPECT_EQ(shown.title, kTitle);
        EXPECT_EQ(shown.icon, MessageIcon::Exclamation);
        EXPECT_EQ(shown.buttons, MessageButtons::Ok);
        EXPECT_FALSE(platform.clipboard.hasText);
    }
}

// ------------------------------------------------------------ preview

class PreviewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        platform.folders.program = tmp.filePath(QStringLiteral("program"));
        platform.folders.cache = tmp.filePath(QStringLiteral("cache/vinkring-artikel"));
        QDir().mkpath(platform.folders.program);
    }

    // Each creation makes a new browser; failures as set.
    void provideBrowser(bool failNavigate = false, bool failVisible = false)
    {
        platform.automation.creatable[QStringLiteral("internetexplorer.application")] = [=, this] {
            ++browsersMade;
            return std::make_unique<FakeBrowser>(log, failNavigate, failVisible);
        };
    }

    // A folder that cannot be made: its parent is a regular file.
    QString unwritableFolder(const QString& name)
    {
        const QString blocker = tmp.filePath(name);
        QFile file(blocker);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return blocker + QStringLiteral("/folder");
    }

    QString programPreview() const { return QDir(platform.folders.program).filePath(QStringLiteral("PREVIEW.htm")); }
    QString cachePreview() const { return QDir(platform.folders.cache).filePath(QStringLiteral("PREVIEW.htm")); }

    QTemporaryDir tmp;
    FakePlatform platform;
    FakeBrowser::Log log;
    int browsersMade = 0;
};

TEST_F(PreviewTest, WritesThePageAndShowsIt)
{
    provideBrowser();
    const ArticleDocument doc = sampleDocument(QStringLiteral("Zebravis"));
    showPreviewPage(doc, platform.services);

    const QByteArray bytes = readAll(programPreview());
    EXPECT_EQ(bytes, expectedPreview(doc));
    EXPECT_TRUE(bytes.startsWith("<!DOCTYPE html>\n"));
    EXPECT_TRUE(bytes.endsWith("kweek.htm</a></p>\n</body>\n</html>\n")) << bytes.right(80).toStdString();
    // UTF-8, declared in the page, so that the Dutch letters come back as typed.
    EXPECT_TRUE(QString::fromUtf8(bytes).contains(QStringLiteral("Joëlle Ïsbrücker")));
    EXPECT_EQ(log.navigated, QStringList{QDir::toNativeSeparators(programPreview())});
    EXPECT_EQ(log.shown, 1);
    EXPECT_TRUE(platform.messageBox.shown.empty());
    EXPECT_FALSE(QFileInfo::exists(cachePreview()));
}

TEST_F(PreviewTest, WithoutLinksTheFileEndsAfterTheLinksHeading)
{
    provideBrowser();
    showPreviewPage(ArticleDocument{}, platform.services);
    EXPECT_TRUE(readAll(programPreview()).endsWith("<h1>7. Links</h1>\n</body>\n</html>\n"));
}

TEST_F(PreviewTest, NoBrowserWritesNothing)
{
    {
        QFile old(programPreview());
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("oud");
    }
    showPreviewPage(sampleDocument(QStringLiteral("Vis")), platform.services);

    ASSERT_EQ(platform.messageBox.shown.size(), 1u);
    EXPECT_EQ(platform.messageBox.shown.front().text, kNeedsBrowser);
    EXPECT_EQ(platform.messageBox.shown.front().title, kTitle);
    EXPECT_EQ(platform.messageBox.shown.front().icon, MessageIcon::Exclamation);
    EXPECT_EQ(platform.automation.created, QStringList{QStringLiteral("internetexplorer.application")});
    EXPECT_EQ(readAll(programPreview()), QByteArray("oud"));
    EXPECT_FALSE(QFileInfo::exists(platform.folders.cache));
}

TEST_F(PreviewTest, TwoPreviewsTwoBrowsersOneFile)
{
    provideBrowser();
    const ArticleDocument first = sampleDocument(QStringLiteral("Eerste"));
    const ArticleDocument second = sampleDocument(QStringLiteral("Tweede"));
    showPreviewPage(first, platform.services);
    showPreviewPage(second, platform.services);

    EXPECT_EQ(browsersMade, 2);
    EXPECT_EQ(log.navigated.size(), 2);
    EXPECT_EQ(log.shown, 2);
    EXPECT_EQ(readAll(programPreview()), expectedPreview(second));
    EXPECT_EQ(QDir(platform.folders.program).entryList(QDir::Files), QStringList{QStringLiteral("PREVIEW.htm")});
}

TEST_F(PreviewTest, FailingBrowserIsReportedAfterWriting)
{
    for (const bool failNavigate : {true, false}) {
        platform.messageBox.shown.clear();
        QFile::remove(programPreview());
        provideBrowser(failNavigate, !failNavigate);
        showPreviewPage(sampleDocument(QStringLiteral("Vis")), platform.services);
        ASSERT_EQ(platform.messageBox.shown.size(), 1u) << failNavigate;
        EXPECT_EQ(platform.messageBox.shown.front().text, kNeedsBrowser);
        EXPECT_TRUE(QFileInfo::exists(programPreview()));
    }
    // Visible is set even when loading failed.
    EXPECT_EQ(log.shown, 1);
    EXPECT_EQ(log.navigated.size(), 1);
}

TEST_F(PreviewTest, TheBrowsersReasonShowsBelowTheMessage)
{
    // The first call that failed gives it: navigate2, else Visible.
    const struct {
        bool failNavigate;
        bool failVisible;
        QString detail;
    } cases[] = {
        {true, false, FakeBrowser::kNavigateFailure},
        {false, true, FakeBrowser::kVisibleFailure},
        {true, true, FakeBrowser::kNavigateFailure},
    };
    for (const auto& c : cases) {
        platform.messageBox.shown.clear();
        provideBrowser(c.failNavigate, c.failVisible);
        showPreviewPage(sampleDocument(QStringLiteral("Vis")), platform.services);
        ASSERT_EQ(platform.messageBox.shown.size(), 1u);
        EXPECT_EQ(platform.messageBox.shown.front().text, kNeedsBrowser);
        EXPECT_EQ(platform.messageBox.shown.front().detail, c.detail);
    }
}

TEST_F(PreviewTest, ReadOnlyProgramFolderFallsBackToTheCache)
{
    provideBrowser();
    platform.folders.program = unwritableFolder(QStringLiteral("installed"));
    const ArticleDocument doc = sampleDocument(QStringLiteral("Vis"));
    showPreviewPage(doc, platform.services);

    EXPECT_TRUE(platform.messageBox.shown.empty());
    EXPECT_EQ(readAll(cachePreview()), expectedPreview(doc));
    EXPECT_EQ(log.navigated, QStringList{QDir::toNativeSeparators(cachePreview())});
    EXPECT_EQ(log.shown, 1);
}

TEST_F(PreviewTest, InstalledProgramWritesToTheCacheThoughItCouldWriteItsFolder)
{
    provideBrowser();
    platform.folders.programIsUsers = false;  // e.g. /usr/bin, also for root
    const ArticleDocument doc = sampleDocument(QStringLiteral("Vis"));
    showPreviewPage(doc, platform.services);

    EXPECT_TRUE(platform.messageBox.shown.empty());
    EXPECT_EQ(readAll(cachePreview()), expectedPreview(doc));
    EXPECT_EQ(log.navigated, QStringList{QDir::toNativeSeparators(cachePreview())});
    EXPECT_TRUE(QDir(platform.folders.program).isEmpty());
}

TEST_F(PreviewTest, NeitherFolderWritableIsReported)
{
    provideBrowser();
    platform.folders.program = unwritableFolder(QStringLiteral("installed"));
    platform.folders.cache = unwritableFolder(QStringLiteral("home")) + QStringLiteral("/cache");
    showPreviewPage(sampleDocument(QStringLiteral("Vis")), platform.services);

    ASSERT_EQ(platform.messageBox.shown.size(), 1u);
    const auto& shown = platform.messageBox.shown.front();
    EXPECT_EQ(shown.title, kTitle);
    EXPECT_EQ(shown.icon, MessageIcon::Exclamation);
    EXPECT_TRUE(shown.text.contains(QDir::toNativeSeparators(programPreview()))) << shown.text.toStdString();
    EXPECT_TRUE(shown.text.contains(QDir::toNativeSeparators(cachePreview()))) << shown.text.toStdString();
    // The reason follows each path.
    EXPECT_TRUE(shown.text.contains(QDir::toNativeSeparators(programPreview()) + QStringLiteral(": ")));
    EXPECT_GT(shown.text.size(), programPreview().size() + cachePreview().size() + 10);
    EXPECT_TRUE(log.navigated.isEmpty());
    EXPECT_EQ(log.shown, 0);
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              (QStringList{QStringLiteral("home"), QStringLiteral("installed"), QStringLiteral("program")}));
}

// The preview shows the post as the forum shows it: the whole escaped web
// page, every heading kept, in the same file.
TEST_F(PreviewTest, ThePageShowsThePostAsTheForumDoes)
{
    provideBrowser();
    ArticleDocument doc = sampleDocument(QStringLiteral("Zebravis"));
    doc.field("txtInleiding") = QStringLiteral(
        "Eerste regel.\r\nTweede: [URL]www.vinkring.nl[/URL] en [URL=zebravis.htm]de soort[/URL].\r\n"
        "<script>alert(1)</script><b onclick=\"x()\">klik</b>");
    showPreviewPage(doc, platform.services);

    const QString page = QString::fromUtf8(readAll(programPreview()));
    EXPECT_EQ(log.navigated, QStringList{QDir::toNativeSeparators(programPreview())});
    EXPECT_TRUE(page.startsWith(QStringLiteral("<!DOCTYPE html>\n<html lang=\"nl\">"))) << page.toStdString();
    EXPECT_TRUE(page.contains(QStringLiteral("<meta charset=\"utf-8\">\n")));
    EXPECT_TRUE(page.endsWith(QStringLiteral("</body>\n</html>\n")));
    EXPECT_TRUE(page.contains(QStringLiteral(
        "<p>Eerste regel.<br>Tweede: <a href=\"http://www.vinkring.nl\">www.vinkring.nl</a> en "
        "<a href=\"http://zebravis.htm\">de soort</a>.<br>"
        "&lt;script&gt;alert(1)&lt;/script&gt;&lt;b onclick=&quot;x()&quot;&gt;klik</p>")))
        << page.toStdString();
    EXPECT_FALSE(page.contains(QStringLiteral("<script")));
    EXPECT_TRUE(page.contains(QStringLiteral("<h2>2.2 Beschrijver van de vis</h2>"))) << "an empty section, as posted";
    EXPECT_TRUE(page.contains(QStringLiteral("<h1>Zebravis</h1>\n<p><i>Geschreven door: Joëlle Ïsbrücker</i></p>")));
}

TEST_F(PreviewTest, FolderWithHashAndBlank)
{
    provideBrowser();
    platform.folders.program = tmp.filePath(QStringLiteral("Mijn programma's #2"));
    QDir().mkpath(platform.folders.program);
    showPreviewPage(sampleDocument(QStringLiteral("Vis")), platform.services);
    EXPECT_EQ(log.navigated, QStringList{QDir::toNativeSeparators(programPreview())});
    EXPECT_TRUE(QFileInfo::exists(programPreview()));
}

}  // namespace
}  // namespace vinkring

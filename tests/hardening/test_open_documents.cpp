// Every document file the fuzz seeds and the hardening inputs hold, and a few
// hostile ones, opened in the real window as at start-up: a file the reader
// accepts arrives whole in the window (its title, author and link lines made
// one line each), renders as it reads, and is saved back so; any other file
// changes nothing and is reported.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "window/form/form1.h"
#include "article/articlebuilder.h"
#include "document/documentfile.h"
#include "model/fieldrules.h"
#include "fakes/fakeplatform.h"

namespace vinkring::test {
namespace {

QByteArray documentBytes(const QStringList& fields, const QStringList& links)
{
    QByteArray out;
    for (int i = 0; i < int(kFieldCount); ++i)
        out += (i < fields.size() ? fields.at(i).toLatin1() : QByteArray()) + "<vbcrlf>";
    out += links.join(QStringLiteral("<ulrcrlf>")).toLatin1();
    return out + "\r\n";
}

// name -> content
std::vector<std::pair<QString, QByteArray>> hostileFiles()
{
    std::vector<std::pair<QString, QByteArray>> files;
    files.emplace_back(QStringLiteral("lone-cr-lf.vkv"),
                       documentBytes({QStringLiteral("Titel\rmet CR"), QStringLiteral("Auteur\nmet LF"),
                                      QStringLiteral("a\r\r\nb\n\rc\r")},
                                     {QStringLiteral("Info\r, url\n")}));
    QByteArray controls = documentBytes({QStringLiteral("nul"), QStringLiteral("c1")}, {});
    controls.replace("nul", QByteArray("n\0u\0l", 5));
    controls.replace("c1", QByteArray("\x81\x8d\x8f\x90\x9d\x85\x80\xa0\xad\xff"));
    files.emplace_back(QStringLiteral("controls.vkv"), controls);
    files.emplace_back(QStringLiteral("long-title.vkv"),
                       documentBytes({QString(200000, QLatin1Char('x')), QString(), QString(300000, QLatin1Char('y'))}, {}));
    QStringList manyLinks;
    for (int i = 0; i < kMaxLinkLines; ++i)
        manyLinks << QStringLiteral("L%1, u%1").arg(i);
    files.emplace_back(QStringLiteral("most-links.vkv"), documentBytes({}, manyLinks));
    manyLinks << QStringLiteral("een te veel, u");
    files.emplace_back(QStringLiteral("too-many-links.vkv"), documentBytes({}, manyLinks));
    files.emplace_back(QStringLiteral("empty.vkv"), QByteArray());
    files.emplace_back(QStringLiteral("line-end-only.vkv"), QByteArray("\r\n"));
    files.emplace_back(QStringLiteral("markers-only-26.vkv"), QByteArray("<vbcrlf>").repeated(26));
    return files;
}

class OpenDocuments : public ::testing::Test {
protected:
    QTemporaryDir dir;

    // Copies of the committed inputs and the hostile files, in the temporary folder.
    QStringList inputs()
    {
        QStringList paths;
        const QStringList folders{QStringLiteral(VINKRING_SOURCE_DIR "/fuzz/corpus/document"),
                                  QStringLiteral(VINKRING_SOURCE_DIR "/tests/hardening/inputs/document")};
        for (const QString& folder : folders) {
            for (const QString& name : QDir(folder).entryList(QDir::Files)) {
                if (name.startsWith(QLatin1Char('.')))
                    continue;
                const QString copy = dir.filePath(QStringLiteral("input-") + name);
                EXPECT_TRUE(QFile::copy(QDir(folder).filePath(name), copy)) << qPrintable(name);
                paths << copy;
            }
        }
        for (const auto& [name, bytes] : hostileFiles()) {
            QFile file(dir.filePath(name));
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(bytes);
            paths << file.fileName();
        }
        return paths;
    }
};

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_F(OpenDocuments, AcceptedFilesArriveWholeAndSaveBackUnchanged)
{
    ASSERT_TRUE(dir.isValid());
    const QStringList paths = inputs();
    ASSERT_GE(paths.size(), 15);
    int accepted = 0;
    int refused = 0;
    for (const QString& path : paths) {
        SCOPED_TRACE(qPrintable(QFileInfo(path).fileName()));
        const QByteArray before = contents(path);
        const DocumentReadResult expected = parseDocumentFile(before, path);

        FakePlatform platform;
        Form1 window(platform.services);
        const ArticleDocument untouched = window.document();
        window.openAtStartup(path);

        if (!expected.document) {
            ++refused;
            EXPECT_EQ(window.document(), untouched);
            EXPECT_TRUE(window.currentFileName().isEmpty());
            ASSERT_EQ(platform.messageBox.shown.size(), 1u);
            continue;
        }
        ++accepted;
        // A file read in part says so; any other says nothing.
        if (expected.notice.isEmpty()) {
            EXPECT_TRUE(platform.messageBox.shown.empty());
        } else {
            ASSERT_EQ(platform.messageBox.shown.size(), 1u);
            EXPECT_EQ(platform.messageBox.shown[0].text, expected.notice);
            platform.messageBox.shown.clear();
        }
        EXPECT_EQ(window.currentFileName(), path);
        const ArticleDocument shown = window.document();
        const ArticleDocument fitted = fitToRules(*expected.document);
        EXPECT_EQ(shown, fitted);
        for (const ArticleFlavour flavour : {ArticleFlavour::Html, ArticleFlavour::Forum})
            EXPECT_EQ(BuildArticle(shown, flavour), BuildArticle(fitted, flavour));

        // The quick save writes to the file just opened.
        window.quickSave();
        EXPECT_TRUE(platform.messageBox.shown.empty());
        const DocumentReadResult reread = parseDocumentFile(contents(path), path);
        ASSERT_TRUE(reread.document.has_value()) << qPrintable(reread.reason);
        EXPECT_EQ(*reread.document, fitted);
    }
    EXPECT_GT(accepted, 0);
    EXPECT_GT(refused, 0);
}

}  // namespace
}  // namespace vinkring::test

// "Klembord" and "Preview in IE" pressed in the window, on its last page.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include "window/form/form1.h"
#include "window/formfixture.h"
#include "window/form/passingnote.h"
#include "article/articlebuilder.h"
#include "article/articleparts.h"
#include "article/textexports.h"
#include "fakes/fakeplatform.h"
#include "eventually.h"
#include "samples.h"

namespace vinkring {
namespace {

using test::FakeBrowser;

class OutputButtonsTest : public test::FormTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        platform.folders.program = tmp.filePath(QStringLiteral("program"));
        platform.folders.cache = tmp.filePath(QStringLiteral("cache"));
        QDir().mkpath(platform.folders.program);
    }

    void provideBrowser()
    {
        platform.automation.creatable[QStringLiteral("internetexplorer.application")] = [this] {
            ++browsersMade;
            return std::make_unique<FakeBrowser>(log);
        };
    }

    QPushButton* command5() { return form().findChild<QPushButton*>(QStringLiteral("Command5")); }

    // A document typed into the window, then ">|".
    void fillAndGoToLastPage()
    {
        const ArticleDocument doc = test::zebravis();
        form().setDocument(doc);
        ASSERT_NE(command1(3), nullptr);
        command1(3)->click();
        ASSERT_EQ(form().currentPage(), form().pageCount());
        before = form().document();
        EXPECT_EQ(before.links, doc.links);
        EXPECT_EQ(before.field("txtInleiding"), doc.field("txtInleiding"));
    }

    void expectWindowUntouched()
    {
        EXPECT_EQ(form().document(), before);
        EXPECT_FALSE(form().unsavedChanges());
        EXPECT_TRUE(form().currentFileName().isEmpty());
        EXPECT_EQ(form().currentPage(), form().pageCount());
    }

    QByteArray preview() const
    {
        QFile file(QDir(platform.folders.program).filePath(QStringLiteral("PREVIEW.htm")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir tmp;
    FakeBrowser::Log log;
    int browsersMade = 0;
    ArticleDocument before;
};

TEST_F(OutputButtonsTest, KlembordPutsTheForumText)
{
    fillAndGoToLastPage();
    QPushButton* klembord = command1(2);
    ASSERT_NE(klembord, nullptr);
    ASSERT_TRUE(klembord->isEnabled());
    EXPECT_EQ(klembord->text(), QStringLiteral("Klembord"));
    klembord->click();

    const QString forum = platform.clipboard.text;
    EXPECT_EQ(forum, BuildArticle(before, ArticleFlavour::Forum));
    EXPECT_TRUE(forum.startsWith(QStringLiteral("<b>Zebravis</b>\r\n\r\n<i>Geschreven door: René</i>\r\n\r\n")));
    EXPECT_TRUE(forum.endsWith(QStringLiteral("[URL=zebravis.htm]Soortbeschrijving[/URL]\r\n[URL]kweek.htm[/URL]\r\n")));
    EXPECT_TRUE(platform.messageBox.shown.empty());
    expectWindowUntouched();
}

TEST_F(OutputButtonsTest, KlembordSaysSoOnTheLastPageForAWhile)
{
    fillAndGoToLastPage();
    auto* note = child<QLabel>("lblKlembord");
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->isHidden());
    EXPECT_EQ(note->parentWidget(), page(13));
    command1(2)->click();
    EXPECT_FALSE(note->isHidden());
    const qsizetype characters = platform.clipboard.text.size();
    ASSERT_GT(characters, 1000);
    EXPECT_EQ(note->text(), QStringLiteral("Het artikel staat op het klembord: %1.%2 tekens.")
                                .arg(characters / 1000)
                                .arg(characters % 1000, 3, 10, QLatin1Char('0')));
    EXPECT_TRUE(platform.messageBox.shown.empty()) << "no box to click away";

    static_cast<PassingNote*>(note)->setShowTime(50);
    command1(2)->click();
    EXPECT_EVENTUALLY(note->isHidden());
    expectWindowUntouched();

    // The markup's findings are read on a worker, and added once they are in.
    static_cast<PassingNote*>(note)->setShowTime(PassingNote::kShowMilliseconds);
    ArticleDocument open = test::zebravis();
    open.field("txtInleiding") += QStringLiteral(" <b>vet");
    form().setDocument(open);
    command1(2)->click();
    EXPECT_EVENTUALLY(note->text().endsWith(QStringLiteral(" tekens. Let op: 1 open tag — Beeld > Artikel controleren")));
}

TEST_F(OutputButtonsTest, KlembordThatFailsSaysNothingOnThePage)
{
    platform.clipboard.failClear = true;
    fillAndGoToLastPage();
    command1(2)->click();
    EXPECT_TRUE(child<QLabel>("lblKlembord")->isHidden());
    EXPECT_EQ(platform.messageBox.shown.size(), 1u);
}

TEST_F(OutputButtonsTest, KlembordThatFailsLeavesTheWindow)
{
    platform.clipboard.failSet = true;
    fillAndGoToLastPage();
    command1(2)->click();
    ASSERT_EQ(platform.messageBox.shown.size(), 1u);
    EXPECT_EQ(platform.messageBox.shown.front().title, QStringLiteral("Vinkring Artikel Template Melding"));
    expectWindowUntouched();
}

TEST_F(OutputButtonsTest, PreviewWritesTheFileAndOpensANewBrowser)
{
    provideBrowser();
    fillAndGoToLastPage();
    ASSERT_NE(command5(), nullptr);
    ASSERT_TRUE(command5()->isEnabled());
    EXPECT_EQ(command5()->text(), QStringLiteral("Preview in IE"));
    const int made = browsersMade;

    command5()->click();
    command5()->click();

    EXPECT_EQ(browsersMade, made + 2);
    const QString path = QDir::toNativeSeparators(QDir(platform.folders.program).filePath(QStringLiteral("PREVIEW.htm")));
    EXPECT_EQ(log.navigated, (QStringList{path, path}));
    EXPECT_EQ(log.shown, 2);
    EXPECT_EQ(preview(), webPage(readArticleParts(before, EmptySections::Kept)).toUtf8());
    EXPECT_TRUE(platform.messageBox.shown.empty());
    expectWindowUntouched();
}

TEST_F(OutputButtonsTest, WithoutBrowserThePreviewIsRefused)
{
    fillAndGoToLastPage();
    // The arrival found no browser.
    EXPECT_FALSE(command5()->isEnabled());
    form().Command5_Click();
    ASSERT_EQ(platform.messageBox.shown.size(), 1u);
    EXPECT_EQ(platform.messageBox.shown.front().text, QStringLiteral("De preview vereist Internet Explorer."));
    EXPECT_TRUE(preview().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(QDir(platform.folders.program).filePath(QStringLiteral("PREVIEW.htm"))));
    expectWindowUntouched();
}

}  // namespace
}  // namespace vinkring

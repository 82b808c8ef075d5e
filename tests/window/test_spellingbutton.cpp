// The spelling button's effect on the window's fields.

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QSignalSpy>

#include "fakes/fakeplatform.h"
#include "fakes/recordingsheet.h"
#include "model/fieldrules.h"
#include "window/form/form1.h"

namespace vinkring::test {
namespace {

const QString kExcel = QStringLiteral("excel.application");

// On the window.
class SpellingCheckWindowTest : public ::testing::Test {
protected:
    FakePlatform platform;
    SheetScript script;
};

TEST_F(SpellingCheckWindowTest, CorrectsTheSectionsAndNothingElse)
{
    platform.automation.creatable[kExcel] = [this] { return std::make_unique<RecordingSheet>(script); };
    Form1 form(platform.services);

    ArticleDocument doc;
    for (std::size_t i = 0; i < doc.fields.size(); ++i)
        doc.fields[i] = QStringLiteral("veld %1 fout").arg(i);
    doc.fields[kFirstSectionField + 2] = QStringLiteral("eerste fout\r\ntweede fout");
    doc.links = QStringList{QStringLiteral("Een fout, http://fout.nl"), QStringLiteral("Twee, http://x.nl")};
    form.setDocument(doc);
    ASSERT_FALSE(form.unsavedChanges());

    form.Command6_Click();

    const ArticleDocument after = form.document();
    EXPECT_EQ(after.fields[kTitleField], doc.fields[kTitleField]);
    EXPECT_EQ(after.fields[kAuthorField], doc.fields[kAuthorField]);
    EXPECT_EQ(after.links, doc.links);
    for (std::size_t i = kFirstSectionField; i < doc.fields.size(); ++i) {
        QString expected = doc.fields[i];
        expected.replace(QStringLiteral("fout"), QStringLiteral("goed"));
        EXPECT_EQ(after.fields[i], expected) << i;
    }
    // Sent in the table's order.
    QStringList sent;
    for (const QString& call : script.calls) {
        if (call.startsWith(QStringLiteral("e:")))
            sent << call.mid(2);
    }
    EXPECT_EQ(sent, QStringList(doc.fields.begin() + kFirstSectionField, doc.fields.end()));
    // Corrected texts are changes of the writer's.
    EXPECT_TRUE(form.unsavedChanges());
    EXPECT_TRUE(platform.messageBox.shown.empty());
}

TEST_F(SpellingCheckWindowTest, CorrectionsCanBeUndoneAndOtherFieldsAreNotTouched)
{
    platform.automation.creatable[kExcel] = [this] { return std::make_unique<RecordingSheet>(script); };
    Form1 form(platform.services);
    auto* inleiding = form.findChild<QPlainTextEdit*>(QStringLiteral("txtInleiding"));
    auto* bouw = form.findChild<QPlainTextEdit*>(QStringLiteral("txtBouw"));
    ASSERT_TRUE(inleiding && bouw);
    // Typed by the writer: each field has something to undo.
    inleiding->insertPlainText(QStringLiteral("een fout"));
    bouw->insertPlainText(QStringLiteral("slank"));
    form.session().settle(form.currentFileName());

    form.Command6_Click();
    EXPECT_EQ(form.fields().text(kFirstSectionField), QStringLiteral("een goed"));
    EXPECT_TRUE(form.unsavedChanges());
    // Ctrl+Z takes back the correction, then what was typed before it.
    inleiding->undo();
    EXPECT_EQ(inleiding->toPlainText(), QStringLiteral("een fout"));
    inleiding->undo();
    EXPECT_EQ(inleiding->toPlainText(), QString());
    // A field the check did not change keeps its own history.
    bouw->undo();
    EXPECT_EQ(bouw->toPlainText(), QString());
}

TEST_F(SpellingCheckWindowTest, ACheckThatChangesNothingIsNoChange)
{
    platform.automation.creatable[kExcel] = [this] { return std::make_unique<RecordingSheet>(script); };
    Form1 form(platform.services);
    ArticleDocument doc = form.document();
    doc.field("txtBouw") = QStringLiteral("alles goed\r\nen nog eens");
    form.setDocument(doc);
    QSignalSpy edited(form.findChild<QPlainTextEdit*>(QStringLiteral("txtBouw")), &QPlainTextEdit::textChanged);
    form.Command6_Click();
    EXPECT_EQ(form.document(), doc);
    EXPECT_FALSE(form.unsavedChanges());
    EXPECT_EQ(edited.size(), 0);
}

TEST_F(SpellingCheckWindowTest, WithoutSpreadsheetTheFieldsStayAsTheyAre)
{
    Form1 form(platform.services);
    ArticleDocument doc;
    for (std::size_t i = 0; i < doc.fields.size(); ++i)
        doc.fields[i] = QStringLiteral("veld %1 fout\r\n").arg(i);
    doc.links = QStringList{QStringLiteral("Een, http://een.nl")};
    form.setDocument(doc);

    form.Command6_Click();

    // The title and the author hold one line: a blank for their line end.
    EXPECT_EQ(form.document().fields, fitToRules(doc).fields);
    EXPECT_EQ(form.document().links, doc.links);
    EXPECT_FALSE(form.unsavedChanges());
    EXPECT_TRUE(platform.messageBox.shown.empty());
}

}  // namespace
}  // namespace vinkring::test

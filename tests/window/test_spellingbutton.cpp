// The spelling button's effect on the window's fields.

#include <gtest/gtest.h>

#include "fakes/fakeplatform.h"
#include "fakes/recordingsheet.h"
#include "window/form1.h"

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
    EXPECT_FALSE(form.unsavedChanges());
    EXPECT_TRUE(platform.messageBox.shown.empty());
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

    EXPECT_EQ(form.document().fields, doc.fields);
    EXPECT_EQ(form.document().links, doc.links);
    EXPECT_FALSE(form.unsavedChanges());
    EXPECT_TRUE(platform.messageBox.shown.empty());
}

}  // namespace
}  // namespace vinkring::test

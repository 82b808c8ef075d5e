// The spelling check's conversation with the spreadsheet.

#include <gtest/gtest.h>

#include "fakes/fakeplatform.h"
#include "fakes/recordingsheet.h"
#include "spelling/spellingcheck.h"

namespace vinkring::test {
namespace {

const QString kExcel = QStringLiteral("excel.application");

SectionTexts sampleTexts()
{
    SectionTexts texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
        texts[i] = QStringLiteral("tekst %1 fout").arg(i + 1);
    texts[3] = QStringLiteral("regel fout\r\ntweede regel\r\n");
    texts[7].clear();
    return texts;
}

SectionTexts corrected(SectionTexts texts)
{
    for (QString& t : texts)
        t.replace(QStringLiteral("fout"), QStringLiteral("goed"));
    return texts;
}

// The calls e, f, g for every text, in order.
QStringList cellCalls(const SectionTexts& texts)
{
    QStringList calls;
    for (const QString& t : texts)
        calls << QStringLiteral("e:") + t << QStringLiteral("f") << QStringLiteral("g");
    return calls;
}

class SpellingCheckTest : public ::testing::Test {
protected:
    // A spreadsheet that can only be started (b), or only attached to (a).
    void startable()
    {
        automation.creatable[kExcel] = [this] {
            script.calls << QStringLiteral("b");
            return std::make_unique<RecordingSheet>(script);
        };
    }
    void running()
    {
        automation.running[kExcel] = [this] {
            script.calls << QStringLiteral("a");
            return std::make_unique<RecordingSheet>(script);
        };
    }

    SectionTexts check(const SectionTexts& texts) { return runSpellingCheck(texts, automation); }

    FakeAutomation automation;
    SheetScript script;
};

TEST_F(SpellingCheckTest, StartsAnInstanceWhenNoneRunsAndEndsIt)
{
    startable();
    const SectionTexts texts = sampleTexts();
    const SectionTexts result = check(texts);

    EXPECT_EQ(automation.attached, QStringList{kExcel});
    EXPECT_EQ(automation.created, QStringList{kExcel});
    const QStringList expected = QStringList{"b", "c", "d"} + cellCalls(texts) + QStringList{"h:false", "i"};
    EXPECT_EQ(script.calls, expected);
    EXPECT_EQ(result, corrected(texts));
    EXPECT_EQ(result[3], QStringLiteral("regel goed\r\ntweede regel\r\n")) << "line ends pass unchanged";
}

TEST_F(SpellingCheckTest, AttachesToARunningInstanceAndLeavesItRunning)
{
    running();
    startable();
    const SectionTexts texts = sampleTexts();
    const SectionTexts result = check(texts);

    EXPECT_TRUE(automation.created.isEmpty());
    const QStringList expected = QStringList{"a", "c", "d"} + cellCalls(texts) + QStringList{"h:false"};
    EXPECT_EQ(script.calls, expected);
    EXPECT_EQ(result, corrected(texts));
}

TEST_F(SpellingCheckTest, NoSpreadsheetLeavesEveryText)
{
    const SectionTexts texts = sampleTexts();
    EXPECT_EQ(check(texts), texts);
    EXPECT_EQ(automation.attached, QStringList{kExcel});
    EXPECT_EQ(automation.created, QStringList{kExcel});
    EXPECT_TRUE(script.calls.isEmpty());
}

TEST_F(SpellingCheckTest, AnObjectOfAnotherKindIsNoSpreadsheet)
{
    automation.running[kExcel] = [] { return std::make_unique<AutomationObject>(); };
    startable();
    const SectionTexts texts = sampleTexts();
    EXPECT_EQ(check(texts), corrected(texts));
    EXPECT_EQ(script.calls.first(), QStringLiteral("b"));
    EXPECT_EQ(script.calls.last(), QStringLiteral("i"));
}

TEST_F(SpellingCheckTest, AllEmptyFieldsStillGoThroughTheCell)
{
    startable();
    const SectionTexts empty{};
    const SectionTexts result = check(empty);
    EXPECT_EQ(result, empty);
    EXPECT_EQ(script.calls.count(QStringLiteral("e:")), 25);
    EXPECT_EQ(script.calls.count(QStringLiteral("f")), 25);
    EXPECT_EQ(script.calls.count(QStringLiteral("g")), 25);
}

// Version gate: exact strings only.
TEST_F(SpellingCheckTest, VersionsInTheGateGetAWorkbook)
{
    for (const char* version : {"8.0", "9.0", "10.0", "11.0"}) {
        SCOPED_TRACE(version);
        script = SheetScript{};
        script.version = QString::fromLatin1(version);
        startable();
        const SectionTexts texts = sampleTexts();
        EXPECT_EQ(check(texts), corrected(texts));
        EXPECT_TRUE(script.calls.contains(QStringLiteral("d")));
        EXPECT_TRUE(script.calls.contains(QStringLiteral("h:false")));
    }
}

TEST_F(SpellingCheckTest, OtherVersionsTouchNoWorkbook)
{
    const std::vector<std::optional<QString>> versions{
        QStringLiteral("11"),  QStringLiteral("12.0"), QStringLiteral(" 11.0"), QStringLiteral("11.0 "),
        QStringLiteral("8"),   QStringLiteral("9.00"), QStringLiteral(""),      std::nullopt};
    for (const std::optional<QString>& version : versions) {
        SCOPED_TRACE(version.value_or(QStringLiteral("(unreadable)")).toStdString());
        for (const bool attach : {false, true}) {
            script = SheetScript{};
            script.version = version;
            automation.running.clear();
            startable();
            if (attach)
                running();
            const SectionTexts texts = sampleTexts();
            EXPECT_EQ(check(texts), texts);
            const QStringList expected = attach ? QStringList{"a", "c"} : QStringList{"b", "c", "i"};
            EXPECT_EQ(script.calls, expected) << "no workbook added, none written into or closed";
        }
    }
}

TEST_F(SpellingCheckTest, UnreadableVersionIsSkippedSilently)
{
    startable();
    script.failing['c'] = {0};
    const SectionTexts texts = sampleTexts();
    EXPECT_EQ(check(texts), texts);
    EXPECT_EQ(script.calls, (QStringList{"b", "c", "i"}));
}

TEST_F(SpellingCheckTest, FailingWorkbooksAddSkipsTheCellsAndTheClose)
{
    startable();
    script.failing['d'] = {0};
    const SectionTexts texts = sampleTexts();
    EXPECT_EQ(check(texts), texts);
    EXPECT_EQ(script.calls, (QStringList{"b", "c", "d", "i"}));
}

TEST_F(SpellingCheckTest, FailingCreationLeavesEveryText)
{
    // No instance runs and none can be started: nothing but a and b.
    automation.creatable[kExcel] = [] { return nullptr; };
    const SectionTexts texts = sampleTexts();
    EXPECT_EQ(check(texts), texts);
    EXPECT_EQ(automation.created, QStringList{kExcel});
}

TEST_F(SpellingCheckTest, ACellThatRefusesATextLeavesThatFieldItsOwn)
{
    startable();
    script.failing['e'] = {5};
    SectionTexts texts = sampleTexts();
    texts[4] = QStringLiteral("vijfde fout");
    const SectionTexts result = check(texts);

    SectionTexts expected = corrected(texts);
    expected[4] = texts[4];
    EXPECT_EQ(result, expected) << "never the text the fourth left in the cell";
    EXPECT_EQ(script.calls.count(QStringLiteral("f")), 24);
    EXPECT_EQ(script.calls.last(), QStringLiteral("i"));
}

TEST_F(SpellingCheckTest, RefusedTextsEverywhereLeaveAllFields)
{
    startable();
    script.failing['e'] = {0};
    const SectionTexts texts = sampleTexts();
    EXPECT_EQ(check(texts), texts);
    EXPECT_EQ(script.calls.mid(script.calls.size() - 2), QStringList({"h:false", "i"}));
}

TEST_F(SpellingCheckTest, FailingCheckSpellingReturnsTheTextAsSent)
{
    startable();
    script.failing['f'] = {2};
    const SectionTexts texts = sampleTexts();
    SectionTexts expected = corrected(texts);
    expected[1] = texts[1];
    EXPECT_EQ(check(texts), expected);
    EXPECT_EQ(script.calls.count(QStringLiteral("g")), 25);
}

TEST_F(SpellingCheckTest, UnreadableCellKeepsThePositionsText)
{
    startable();
    script.failing['g'] = {1, 25};
    const SectionTexts texts = sampleTexts();
    SectionTexts expected = corrected(texts);
    expected[0] = texts[0];
    expected[24] = texts[24];
    EXPECT_EQ(check(texts), expected);
}

TEST_F(SpellingCheckTest, FailingCloseStillQuits)
{
    startable();
    script.failing['h'] = {0};
    const SectionTexts texts = sampleTexts();
    EXPECT_EQ(check(texts), corrected(texts));
    EXPECT_EQ(script.calls.mid(script.calls.size() - 2), QStringList({"h:false", "i"}));
}

TEST_F(SpellingCheckTest, FailingQuitKeepsTheCorrections)
{
    startable();
    script.failing['i'] = {0};
    const SectionTexts texts = sampleTexts();
    EXPECT_EQ(check(texts), corrected(texts));
    EXPECT_EQ(script.calls.count(QStringLiteral("i")), 1);
}

}  // namespace
}  // namespace vinkring::test

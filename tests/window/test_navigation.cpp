// Start-up, page navigation, the enabled states and the application probe.
#include "formfixture.h"

#include <QTest>

using namespace vinkring;
using namespace vinkring::test;

namespace {

class Navigation : public FormTest {
protected:
    // The table of enabled states by page number.
    void expectStatesFor(int pageNumber)
    {
        SCOPED_TRACE(pageNumber);
        EXPECT_EQ(form().currentPage(), pageNumber);
        EXPECT_EQ(visiblePages(), std::vector<int>{pageNumber - 1});
        EXPECT_EQ(counter(), QStringLiteral("Formulier %1 van 14").arg(pageNumber));
        EXPECT_EQ(command1(0)->isEnabled(), pageNumber > 1);
        EXPECT_EQ(command1(1)->isEnabled(), pageNumber < 14);
        EXPECT_TRUE(command1(3)->isEnabled());
        EXPECT_EQ(command1(2)->isEnabled(), pageNumber == 14);
    }

    int probes()
    {
        return int(platform.automation.created.count(QStringLiteral("internetexplorer.application")));
    }
};

TEST_F(Navigation, StartsOnTheFirstPage)
{
    EXPECT_EQ(form().pageCount(), 14);
    expectStatesFor(1);
    EXPECT_TRUE(child<QPushButton>("Command5")->isEnabled());
    EXPECT_TRUE(child<QPushButton>("Command6")->isEnabled());
    EXPECT_TRUE(form().currentFileName().isEmpty());
    EXPECT_FALSE(form().unsavedChanges());
    EXPECT_TRUE(platform.automation.created.isEmpty()) << "no probe before the last page";
}

TEST_F(Navigation, NextWalksEveryPageAndProbesOnceAtTheEnd)
{
    for (int n = 2; n <= 14; ++n) {
        QTest::mouseClick(command1(1), Qt::LeftButton);
        expectStatesFor(n);
        EXPECT_EQ(probes(), n == 14 ? 1 : 0);
    }
    // ">" is disabled on the last page: a click changes nothing.
    QTest::mouseClick(command1(1), Qt::LeftButton);
    expectStatesFor(14);
    EXPECT_EQ(probes(), 1);
}

TEST_F(Navigation, PreviousWalksBackToTheFirstPage)
{
    form().Command1_Click(3);
    for (int n = 13; n >= 1; --n) {
        QTest::mouseClick(command1(0), Qt::LeftButton);
        expectStatesFor(n);
    }
    QTest::mouseClick(command1(0), Qt::LeftButton);
    expectStatesFor(1);
    EXPECT_EQ(probes(), 1);
}

TEST_F(Navigation, LastJumpsFromAnyPageAndProbesEveryTime)
{
    for (int start = 1; start <= 14; ++start) {
        form().Command1_Click(3);
        while (form().currentPage() > start)
            form().Command1_Click(0);
        expectStatesFor(start);
        QTest::mouseClick(command1(3), Qt::LeftButton);
        expectStatesFor(14);
    }
    // Once per jump, and once for each of the jumps made to go back.
    EXPECT_EQ(probes(), 28);
}

TEST_F(Navigation, LastOnTheLastPageStaysAndProbesAgain)
{
    form().Command1_Click(3);
    form().Command1_Click(3);
    expectStatesFor(14);
    EXPECT_EQ(probes(), 2);
}

TEST_F(Navigation, BackAndForthAroundTheLastPage)
{
    form().Command1_Click(3);
    form().Command1_Click(0);
    expectStatesFor(13);
    form().Command1_Click(1);
    expectStatesFor(14);
    EXPECT_EQ(probes(), 2);
}

// Which applications the probe finds, and the buttons it leaves enabled.
struct ProbeCase {
    bool browser;
    bool spreadsheet;
};

class Probe : public Navigation, public ::testing::WithParamInterface<ProbeCase> {};

TEST_P(Probe, DisablesTheButtonOfEachMissingApplicationSilently)
{
    const ProbeCase c = GetParam();
    if (c.browser)
        provide(texts::kProgIdBrowser);
    if (c.spreadsheet)
        provide(texts::kProgIdSpreadsheet);
    form().Command1_Click(3);
    EXPECT_EQ(child<QPushButton>("Command5")->isEnabled(), c.browser);
    EXPECT_EQ(child<QPushButton>("Command6")->isEnabled(), c.spreadsheet);
    EXPECT_TRUE(command1(2)->isEnabled());
    EXPECT_TRUE(platform.messageBox.shown.empty());
    EXPECT_EQ(platform.automation.created,
              QStringList({QStringLiteral("internetexplorer.application"), QStringLiteral("excel.application")}));
}

INSTANTIATE_TEST_SUITE_P(Applications, Probe,
                         ::testing::Values(ProbeCase{true, true}, ProbeCase{false, true}, ProbeCase{true, false},
                                           ProbeCase{false, false}));

TEST_F(Navigation, ProbeNeverEnablesAgain)
{
    form().Command1_Click(3);
    provide(texts::kProgIdBrowser);
    provide(texts::kProgIdSpreadsheet);
    form().Command1_Click(0);
    form().Command1_Click(1);
    EXPECT_FALSE(child<QPushButton>("Command5")->isEnabled());
    EXPECT_FALSE(child<QPushButton>("Command6")->isEnabled());
}

TEST_F(Navigation, NewStartsOnTheFirstPage)
{
    form().Command1_Click(1);
    form().Command1_Click(1);
    form().mnuBestandNieuw_Click();
    expectStatesFor(1);
}

}  // namespace

// The links editor on page 12: add, select, change and remove link lines.
#include "formfixture.h"

#include <QSignalSpy>
#include <QTest>

#include "window/form/linkseditor.h"

using namespace vinkring;
using namespace vinkring::test;

namespace {

class LinksEditor : public FormTest {
protected:
    void SetUp() override
    {
        form().show();
        form().Command1_Click(3);
        form().Command1_Click(0);  // page 12
        url = child<QLineEdit>("txtURL");
        description = child<QLineEdit>("txtLinkOMS");
        list = child<QListWidget>("List1");
        add = child<QPushButton>("Command2");
        remove = child<QPushButton>("Command3");
        change = child<QPushButton>("Command4");
    }

    void addLink(const QString& desc, const QString& address)
    {
        description->setText(desc);
        url->setText(address);
        QTest::mouseClick(add, Qt::LeftButton);
    }

    QStringList lines() const
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }

    void select(int row) { list->setCurrentRow(row); }

    QLineEdit* url = nullptr;
    QLineEdit* description = nullptr;
    QListWidget* list = nullptr;
    QPushButton* add = nullptr;
    QPushButton* remove = nullptr;
    QPushButton* change = nullptr;
};

TEST_F(LinksEditor, OpensWithOnlyAddEnabled)
{
    EXPECT_TRUE(add->isEnabled());
    EXPECT_FALSE(remove->isEnabled());
    EXPECT_FALSE(change->isEnabled());
    EXPECT_EQ(list->count(), 0);
}

TEST_F(LinksEditor, AddAppendsTheLineAndEmptiesTheFields)
{
    addLink(QStringLiteral("Soortbeschrijving"), QStringLiteral("zebravis.htm"));
    addLink(QStringLiteral("Soortbeschrijving"), QStringLiteral("zebravis.htm"));
    EXPECT_EQ(lines(), QStringList({QStringLiteral("Soortbeschrijving, zebravis.htm"),
                                    QStringLiteral("Soortbeschrijving, zebravis.htm")}));
    EXPECT_TRUE(url->text().isEmpty());
    EXPECT_TRUE(description->text().isEmpty());
    EXPECT_EQ(list->currentRow(), -1);
    EXPECT_TRUE(platform.messageBox.shown.empty());
    EXPECT_EQ(form().document().links, lines());
}

TEST_F(LinksEditor, AddWithoutUrlWarnsAndKeepsTheFields)
{
    description->setText(QStringLiteral("Alleen tekst"));
    QTest::mouseClick(add, Qt::LeftButton);
    ASSERT_EQ(platform.messageBox.shown.size(), 1u);
    const auto& box = platform.messageBox.shown.front();
    EXPECT_EQ(box.text, QStringLiteral("U heeft geen URL opgegeven. Dus u kunt niets toevoegen."));
    EXPECT_EQ(box.title, QStringLiteral("Vinkring Artikel Template Melding"));
    EXPECT_EQ(box.icon, MessageIcon::Exclamation);
    EXPECT_EQ(box.buttons, MessageButtons::Ok);
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(description->text(), QStringLiteral("Alleen tekst"));
}

TEST_F(LinksEditor, EmptyDescriptionStartsWithTheComma)
{
    addLink(QString(), QStringLiteral("kweek.htm"));
    EXPECT_EQ(lines(), QStringList{QStringLiteral(", kweek.htm")});
    description->setText(QStringLiteral("oud"));
    select(0);
    EXPECT_TRUE(description->text().isEmpty());
    EXPECT_EQ(url->text(), QStringLiteral("kweek.htm"));
    EXPECT_TRUE(remove->isEnabled());
    EXPECT_TRUE(change->isEnabled());
}

TEST_F(LinksEditor, SpacesAroundUrlAreStoredAndTrimmedOnSelection)
{
    addLink(QStringLiteral("  Info "), QStringLiteral("  page.htm  "));
    EXPECT_EQ(lines(), QStringList{QStringLiteral("  Info ,   page.htm  ")});
    select(0);
    EXPECT_EQ(url->text(), QStringLiteral("page.htm"));
    EXPECT_EQ(description->text(), QStringLiteral("  Info "));
}

TEST_F(LinksEditor, UrlOfSpacesIsAcceptedAndShowsEmpty)
{
    addLink(QStringLiteral("Leeg"), QStringLiteral("   "));
    EXPECT_TRUE(platform.messageBox.shown.empty());
    ASSERT_EQ(list->count(), 1);
    select(0);
    EXPECT_TRUE(url->text().isEmpty());
}

TEST_F(LinksEditor, DescriptionWithCommasKeepsItsUrl)
{
    addLink(QStringLiteral("Cichliden, verzorging en kweek"), QStringLiteral("http://www.aquarium.nl/cichliden"));
    EXPECT_EQ(lines(), QStringList{QStringLiteral("Cichliden, verzorging en kweek, http://www.aquarium.nl/cichliden")});
    select(0);
    EXPECT_EQ(description->text(), QStringLiteral("Cichliden, verzorging en kweek"));
    EXPECT_EQ(url->text(), QStringLiteral("http://www.aquarium.nl/cichliden"));
    // "Wijzig" right after selecting leaves the line as it was.
    QTest::mouseClick(change, Qt::LeftButton);
    EXPECT_EQ(lines(), QStringList{QStringLiteral("Cichliden, verzorging en kweek, http://www.aquarium.nl/cichliden")});
}

TEST_F(LinksEditor, UrlWithCommaAndBlankIsWrittenSoItStaysWhole)
{
    addLink(QStringLiteral("Kaart"), QStringLiteral("http://a.nl/?plaats=Delft, Leiden"));
    EXPECT_EQ(lines(), QStringList{QStringLiteral("Kaart, http://a.nl/?plaats=Delft,%20Leiden")});
    select(0);
    EXPECT_EQ(description->text(), QStringLiteral("Kaart"));
    EXPECT_EQ(url->text(), QStringLiteral("http://a.nl/?plaats=Delft,%20Leiden"));
}

TEST_F(LinksEditor, FieldsTakeTextsOfAnyLength)
{
    const QString longUrl = QStringLiteral("http://a.nl/") + QString(100000, QLatin1Char('x'));
    url->setText(longUrl);
    description->setText(QString(40000, QLatin1Char('d')));
    EXPECT_EQ(url->text().size(), longUrl.size());
    QTest::mouseClick(add, Qt::LeftButton);
    ASSERT_EQ(list->count(), 1);
    select(0);
    EXPECT_EQ(url->text(), longUrl);
    EXPECT_EQ(description->text().size(), 40000);
}

TEST_F(LinksEditor, AddWhileSelectedKeepsTheOldSelection)
{
    addLink(QStringLiteral("Een"), QStringLiteral("een.htm"));
    select(0);
    addLink(QStringLiteral("Twee"), QStringLiteral("twee.htm"));
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_TRUE(remove->isEnabled());
    EXPECT_TRUE(change->isEnabled());
    // Both fields are empty now: a change turns the old line into ", ".
    QTest::mouseClick(change, Qt::LeftButton);
    EXPECT_EQ(lines(), QStringList({QStringLiteral(", "), QStringLiteral("Twee, twee.htm")}));
}

TEST_F(LinksEditor, ChangeReplacesTheSelectedLineInPlace)
{
    addLink(QStringLiteral("Een"), QStringLiteral("een.htm"));
    addLink(QStringLiteral("Twee"), QStringLiteral("twee.htm"));
    addLink(QStringLiteral("Drie"), QStringLiteral("drie.htm"));
    select(1);
    description->setText(QStringLiteral("Nieuw"));
    url->clear();
    QTest::mouseClick(change, Qt::LeftButton);
    EXPECT_EQ(lines(), QStringList({QStringLiteral("Een, een.htm"), QStringLiteral("Nieuw, "),
                                    QStringLiteral("Drie, drie.htm")}));
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_EQ(description->text(), QStringLiteral("Nieuw"));
    EXPECT_TRUE(platform.messageBox.shown.empty());
}

TEST_F(LinksEditor, RemoveClearsSelectionFieldsAndButtons)
{
    addLink(QStringLiteral("Een"), QStringLiteral("een.htm"));
    addLink(QStringLiteral("Twee"), QStringLiteral("twee.htm"));
    addLink(QStringLiteral("Drie"), QStringLiteral("drie.htm"));
    select(1);
    QTest::mouseClick(remove, Qt::LeftButton);
    EXPECT_EQ(lines(), QStringList({QStringLiteral("Een, een.htm"), QStringLiteral("Drie, drie.htm")}));
    EXPECT_EQ(list->currentRow(), -1);
    EXPECT_TRUE(url->text().isEmpty());
    EXPECT_TRUE(description->text().isEmpty());
    EXPECT_FALSE(remove->isEnabled());
    EXPECT_FALSE(change->isEnabled());
}

TEST_F(LinksEditor, RemoveAndChangeWithoutSelectionDoNothing)
{
    addLink(QStringLiteral("Een"), QStringLiteral("een.htm"));
    select(0);
    form().mnuBestandNieuw_Click();  // empties the list, buttons stay enabled
    ASSERT_TRUE(remove->isEnabled());
    form().linksEditor().Command3_Click();
    form().linksEditor().Command4_Click();
    EXPECT_EQ(list->count(), 0);

    addLink(QStringLiteral("Twee"), QStringLiteral("twee.htm"));
    form().linksEditor().Command3_Click();
    form().linksEditor().Command4_Click();
    EXPECT_EQ(lines(), QStringList{QStringLiteral("Twee, twee.htm")});
}

TEST_F(LinksEditor, LineWithoutCommaCanBeSelected)
{
    ArticleDocument doc = form().document();
    doc.links = QStringList{QStringLiteral("zonder komma")};
    form().setDocument(doc);
    select(0);
    EXPECT_EQ(description->text(), QStringLiteral("zonder komma"));
    EXPECT_TRUE(url->text().isEmpty());
}

TEST_F(LinksEditor, EditingTheListWithTheMouseIsAnUnsavedChange)
{
    QSignalSpy edited(&form().linksEditor(), &vinkring::LinksEditor::linksChanged);
    addLink(QStringLiteral("Een"), QStringLiteral("een.htm"));
    EXPECT_TRUE(form().unsavedChanges());
    EXPECT_EQ(edited.size(), 1);

    for (QPushButton* button : {change, remove}) {
        form().session().settle(form().currentFileName());  // as after a save
        ASSERT_FALSE(form().unsavedChanges());
        select(0);
        description->setText(QStringLiteral("Anders"));
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_TRUE(form().unsavedChanges()) << button->objectName().toStdString();
    }
    EXPECT_EQ(edited.size(), 3);
    // A list put in place by a load is no change.
    form().session().settle(form().currentFileName());
    form().setDocument(form().document());
    EXPECT_FALSE(form().unsavedChanges());
}

TEST_F(LinksEditor, AddingStopsAtTheListLimit)
{
    ArticleDocument doc = form().document();
    for (int i = 0; i < kMaxLinkLines; ++i)
        doc.links << QStringLiteral("x, y");
    form().setDocument(doc);
    addLink(QStringLiteral("Te veel"), QStringLiteral("veel.htm"));
    EXPECT_EQ(list->count(), kMaxLinkLines);
    ASSERT_EQ(platform.messageBox.shown.size(), 1u);
    EXPECT_EQ(url->text(), QStringLiteral("veel.htm"));
}

}  // namespace

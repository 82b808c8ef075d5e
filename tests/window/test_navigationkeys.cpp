// The pages by keyboard and for screen readers: spoken names of the
// navigation buttons, the page keys, Enter in the link fields.
#include "formfixture.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QTest>

using namespace vinkring;
using namespace vinkring::test;

namespace {

class NavigationKeys : public FormTest {
protected:
    void SetUp() override
    {
        form().show();
        QApplication::setActiveWindow(&form());
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    }

    // A key pressed in the control that has the focus.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers)
    {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &form();
        QTest::keyClick(target, key, modifiers);
    }

    int probes() { return int(platform.automation.created.count(toQString(texts::kProgIdBrowser))); }
};

TEST_F(NavigationKeys, ButtonsKeepTheirCaptionsAndAreSpokenByName)
{
    const struct {
        int index;
        const char* caption;
        const char* name;
    } buttons[] = {{0, "<", "Vorige pagina"}, {1, ">", "Volgende pagina"}, {3, ">|", "Laatste pagina"}};
    for (const auto& b : buttons) {
        QAccessibleInterface* acc = QAccessible::queryAccessibleInterface(command1(b.index));
        ASSERT_NE(acc, nullptr);
        EXPECT_EQ(command1(b.index)->text(), QString::fromUtf8(b.caption));
        EXPECT_EQ(acc->text(QAccessible::Name), QString::fromUtf8(b.name));
        EXPECT_EQ(acc->role(), QAccessible::Button);
        EXPECT_FALSE(acc->text(QAccessible::Description).isEmpty()) << b.name;
    }
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(command1(1))
                    ->text(QAccessible::Description)
                    .contains(QStringLiteral("Alt+pijl rechts")));
}

TEST_F(NavigationKeys, AltArrowsAndCtrlPageKeysTurnThePages)
{
    auto* title = child<QLineEdit>("txtTitel");
    title->setFocus();
    QTest::keyClicks(title, QStringLiteral("Guppy"));
    title->setCursorPosition(2);

    press(Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(form().currentPage(), 2);
    EXPECT_EQ(counter(), QStringLiteral("Formulier 2 van 14"));
    EXPECT_TRUE(command1(0)->isEnabled());
    press(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(form().currentPage(), 3);
    press(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(form().currentPage(), 2);
    press(Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(form().currentPage(), 1);
    EXPECT_FALSE(command1(0)->isEnabled());
    EXPECT_EQ(visiblePages(), std::vector<int>{0});

    // The field that had the focus did not take the keys.
    EXPECT_EQ(title->text(), QStringLiteral("Guppy"));
    EXPECT_EQ(title->cursorPosition(), 2);

    // Arrows without Alt, and Alt with other keys, stay the field's.
    title->setFocus();
    press(Qt::Key_Right, Qt::NoModifier);
    press(Qt::Key_Right, Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_EQ(form().currentPage(), 1);
    EXPECT_EQ(title->cursorPosition(), 3);
}

TEST_F(NavigationKeys, AfterAPageKeyTheWriterTypesOnInTheNewPage)
{
    provide(texts::kProgIdBrowser);
    // The first field of each page; the first link field, the first button.
    const auto firstControl = [this](int p) -> QWidget* {
        if (p == 12)
            return child("txtURL");
        if (p == 13)
            return child("Command5");
        for (const FieldInfo& f : kFields) {
            if (f.page == p)
                return form().findChild<QWidget*>(toQString(f.name));
        }
        return nullptr;
    };
    child("txtTitel")->setFocus();
    for (int p = 1; p < 14; ++p) {
        press(p % 2 ? Qt::Key_Right : Qt::Key_PageDown, p % 2 ? Qt::AltModifier : Qt::ControlModifier);
        ASSERT_EQ(QApplication::focusWidget(), firstControl(p)) << "page " << p;
    }
    for (int p = 12; p >= 0; --p) {
        press(p % 2 ? Qt::Key_Left : Qt::Key_PageUp, p % 2 ? Qt::AltModifier : Qt::ControlModifier);
        ASSERT_EQ(QApplication::focusWidget(), firstControl(p)) << "page " << p;
    }
    // The blank goes into the field, not to a button.
    press(Qt::Key_Right, Qt::AltModifier);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Een vis"));
    EXPECT_EQ(form().currentPage(), 2);
    EXPECT_EQ(form().fields().text(kFirstSectionField), QStringLiteral("Een vis"));
}

TEST_F(NavigationKeys, EveryPageKeyStillReachesTheKeyHandler)
{
    EXPECT_FALSE(form().unsavedChanges());
    form().Command1_Click(1);  // a page whose only control is a text field
    child<QWidget>("txtInleiding")->setFocus();
    // The arrow alone, with Alt held: no separate press of the Alt key.
    QKeyEvent altRight(QEvent::KeyPress, Qt::Key_Right, Qt::AltModifier);
    QApplication::sendEvent(QApplication::focusWidget(), &altRight);
    EXPECT_EQ(form().currentPage(), 3) << "the key handler did not see Alt+Right";
    EXPECT_FALSE(form().unsavedChanges()) << "paging changes nothing";
}

TEST_F(NavigationKeys, DisabledButtonsMakeTheKeysDoNothing)
{
    command1(1)->setFocus();
    press(Qt::Key_Left, Qt::AltModifier);
    press(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(form().currentPage(), 1);

    provide(texts::kProgIdBrowser);
    for (int n = 2; n <= 14; ++n)
        press(Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(form().currentPage(), 14);
    // Arriving at the last page probes, as ">" does; beyond it nothing happens.
    EXPECT_EQ(probes(), 1);
    EXPECT_TRUE(command1(2)->isEnabled());
    press(Qt::Key_Right, Qt::AltModifier);
    press(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(form().currentPage(), 14);
    EXPECT_EQ(probes(), 1);
    press(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(form().currentPage(), 13);
    EXPECT_FALSE(command1(2)->isEnabled());
}

TEST_F(NavigationKeys, EnterInEitherLinkFieldAddsTheLink)
{
    form().Command1_Click(3);
    form().Command1_Click(0);  // the links page
    auto* url = child<QLineEdit>("txtURL");
    auto* description = child<QLineEdit>("txtLinkOMS");
    auto* list = child<QListWidget>("List1");

    url->setFocus();
    QTest::keyClicks(url, QStringLiteral("kweek.htm"));
    QTest::keyClick(url, Qt::Key_Return);
    description->setFocus();
    QTest::keyClicks(description, QStringLiteral("Foto"));
    url->setText(QStringLiteral("foto.jpg"));
    QTest::keyClick(description, Qt::Key_Enter);  // the keypad's Enter
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral(", kweek.htm"));
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("Foto, foto.jpg"));
    EXPECT_TRUE(url->text().isEmpty());
    EXPECT_TRUE(description->text().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), url);

    // Without a URL: the same message as "Voeg toe" gives, nothing added.
    description->setFocus();
    QTest::keyClicks(description, QStringLiteral("Leeg"));
    QTest::keyClick(description, Qt::Key_Return);
    EXPECT_EQ(list->count(), 2);
    ASSERT_EQ(platform.messageBox.shown.size(), 1u);
    EXPECT_EQ(platform.messageBox.shown[0].text, toQString(messages::kNoUrl));
    EXPECT_EQ(description->text(), QStringLiteral("Leeg"));
}

}  // namespace

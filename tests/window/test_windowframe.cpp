// Message boxes with their titles as written, centred over the window;
// actions that wait for the window on the screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "window/form/form1.h"
#include "window/dialogs/qtmessagebox.h"
#include "window/form/windowframe.h"
#include "eventually.h"
#include "fakes/fakeplatform.h"

using namespace vinkring;

namespace {

struct SeenBox {
    QString title;
    QPoint centre;
    QString text;
};

// Shows a box over parent and notes what it looked like before closing it.
SeenBox showAndLook(QWidget* parent, const QString& title, MessageButtons buttons)
{
    SeenBox seen;
    QTimer::singleShot(0, [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = {box->windowTitle(), box->frameGeometry().center(), box->text()};
        box->done(0);
    });
    QtMessageBox messages(parent);
    messages.show(QStringLiteral("Tekst"), title, MessageIcon::Exclamation, buttons, QString());
    return seen;
}

TEST(MessageBoxes, ShowTheirTitlesExactlyOverTheWindow)
{
    QWidget window;
    window.setGeometry(300, 200, 700, 500);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    const SeenBox failure = showAndLook(&window, QStringLiteral("Vinkring Artikel Template Melding"),
                                        MessageButtons::Ok);
    EXPECT_EQ(failure.title, QStringLiteral("Vinkring Artikel Template Melding"));
    EXPECT_EQ(failure.text, QStringLiteral("Tekst"));
    // Qt leaves room for a title bar it cannot see here: up to 40 pixels.
    const QPoint middle = window.frameGeometry().center();
    EXPECT_LE((failure.centre - middle).manhattanLength(), 50) << failure.centre.x() << "," << failure.centre.y();

    // The close prompt passes no title: the application's title shows.
    EXPECT_EQ(showAndLook(&window, QString(), MessageButtons::YesNo).title,
              QStringLiteral("Vinkring Artikel Template"));

    // Over the window wherever it stands.
    window.move(20, 30);
    const SeenBox moved = showAndLook(&window, QStringLiteral("x"), MessageButtons::Ok);
    EXPECT_LE((moved.centre - window.frameGeometry().center()).manhattanLength(), 50);
}

TEST(WindowFrame, ActionWaitsForTheWindowOnTheScreenAndRunsOnce)
{
    QWidget window;
    int runs = 0;
    whenOnScreen(window, [&runs] { ++runs; });
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 0) << "ran before the window was shown";
    window.show();
    EXPECT_EVENTUALLY(runs == 1);
    window.hide();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 1);

    // A window already on the screen: at the next turn of the event loop.
    whenOnScreen(window, [&runs] { ++runs; });
    EXPECT_EQ(runs, 1);
    EXPECT_EVENTUALLY(runs == 2);
}

// The quick start: the menu bar is whole from the first paint; a click or
// keys before the other pages are built reach their control; once on the
// screen the window completes itself.
TEST(QuickStart, NothingTypedBeforeTheRestIsBuiltIsLost)
{
    test::FakePlatform platform;
    const auto pages = [](const Form1& form) { return form.findChildren<QGroupBox*>(QStringLiteral("Frame1")).size(); };
    {
        Form1 form(platform.services, nullptr, Form1::Pages::AfterFirstPaint);
        QStringList menus;
        for (QAction* menu : form.menuBar()->actions())
            menus << menu->text();
        EXPECT_EQ(menus, (QStringList{"&Bestand", "Beel&d", "&Opmaak", "&Zoeken"}));
        EXPECT_EQ(pages(form), 1);
        // A click on ">" first.
        QTest::mouseClick(form.findChildren<QPushButton*>(QStringLiteral("Command1")).at(1), Qt::LeftButton);
        EXPECT_EQ(pages(form), 14);
        EXPECT_EQ(form.currentPage(), 2);
    }
    {
        Form1 form(platform.services, nullptr, Form1::Pages::AfterFirstPaint);
        auto* title = form.findChild<QLineEdit*>(QStringLiteral("txtTitel"));
        QTest::keyClicks(title, QStringLiteral("Guppy"));
        QTest::keyClick(title, Qt::Key_Right, Qt::AltModifier);
        EXPECT_EQ(form.document().fields[0], QStringLiteral("Guppy"));
        EXPECT_TRUE(form.unsavedChanges());
        EXPECT_EQ(form.currentPage(), 2);
    }
    Form1 form(platform.services, nullptr, Form1::Pages::AfterFirstPaint);
    QSignalSpy completed(&form, &Form1::completed);
    form.show();
    ASSERT_TRUE(completed.wait());
    EXPECT_EQ(pages(form), 14);
    EXPECT_FALSE(form.findChild<QLabel*>(QStringLiteral("Image1"))->pixmap().isNull());
    EXPECT_FALSE(form.unsavedChanges());
}

}  // namespace

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
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
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

// A kept place on a smaller screen, or too small, or maximized: fitted to
// the screen's room, never below the least size, whole on the screen, near
// where it stood. (Laptop is 1366 by 768 at 0,0; Wide 1920 by 1080 at 2390,0.)
TEST(WindowFrame, KeptPlaceFitsTheScreenItOpensOn)
{
    struct Row {
        const char* screen;
        QRect screenArea;
        QRect kept;
        bool maximized;
        const char* opensOn;
        QSize least;  // at least this size; at most the screen's
        QPoint at;    // where it stands, or (-1,-1): anywhere on the screen
    };
    const Row rows[] = {
        // The laptop's screen was 1920 by 1080: as high as the screen, so at its top.
        {"Laptop", {0, 0, 1920, 1080}, {100, 60, 1200, 900}, false, "Laptop", {1200, 700}, {100, 0}},
        // Smaller than the least size, at Wide's bottom right: grown, moved in.
        {"Wide", {2390, 0, 1920, 1080}, {4200, 1000, 400, 300}, false, "Wide", {790, 560}, {-1, -1}},
        // A screen that is gone: the first, as far from its top left.
        {"HDMI-2", {5000, 0, 1920, 1080}, {5040, 30, 900, 600}, true, "Laptop", {900, 600}, {40, 30}},
    };
    for (const Row& row : rows) {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("venster.conf"));
        {
            QSettings settings(file, QSettings::IniFormat);
            settings.setValue(QStringLiteral("plaats"), row.kept);
            settings.setValue(QStringLiteral("gemaximaliseerd"), row.maximized);
            settings.setValue(QStringLiteral("scherm"), QString::fromLatin1(row.screen));
            settings.setValue(QStringLiteral("schermvlak"), row.screenArea);
        }
        QWidget window;
        window.setMinimumSize(790, 560);
        restorePlace(window, file);
        ASSERT_NE(window.screen(), nullptr);
        EXPECT_EQ(window.screen()->name(), QString::fromLatin1(row.opensOn)) << row.screen;
        const QRect available = window.screen()->availableGeometry();
        EXPECT_GE(window.width(), row.least.width()) << row.screen;
        EXPECT_GE(window.height(), row.least.height()) << row.screen;
        EXPECT_TRUE(available.contains(QRect(window.pos(), window.size()))) << row.screen;
        if (row.at != QPoint(-1, -1)) {
            EXPECT_EQ(window.pos(), row.at) << row.screen;
        }
        EXPECT_EQ(window.isMaximized(), row.maximized) << row.screen;
    }
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

// New, the key handler, the quick save and the close prompt, on a real window
// with real key presses (offscreen platform).
#include <gtest/gtest.h>

#include <functional>

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QPushButton>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include "window/form/form1.h"
#include "document/documentfile.h"
#include "fakes/fakeplatform.h"

using namespace vinkring;
using namespace vinkring::test;

namespace {

class Lifecycle : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<Form1>(platform.services);
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        title = form->findChild<QLineEdit*>(QStringLiteral("txtTitel"));
        ASSERT_TRUE(title);
        title->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::focusWidget() == title; }));
    }

    void TearDown() override
    {
        // Close quietly whatever a test left.
        platform.messageBox.answers.clear();
        platform.fileDialog.answers.clear();
        form.reset();
    }

    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), k, mods);
    }

    // Saves through the menu to path, leaving the flag as it was.
    void saveAs(const QString& path)
    {
        platform.fileDialog.answers.push_back(path);
        form->mnuBestandBewaren_Click();
        ASSERT_EQ(form->currentFileName(), path);
    }

    std::size_t promptsShown() const
    {
        std::size_t n = 0;
        for (const auto& shown : platform.messageBox.shown)
            n += shown.text == QStringLiteral("Wilt u uw wijzigingen bewaren?") ? 1 : 0;
        return n;
    }

    ArticleDocument fileDocument(const QString& path) const
    {
        const DocumentReadResult read = ReadDocumentFile(path);
        EXPECT_TRUE(read.document) << read.reason.toStdString();
        return read.document.value_or(ArticleDocument{});
    }

    QTemporaryDir dir;
    FakePlatform platform;
    std::unique_ptr<Form1> form;
    QLineEdit* title = nullptr;
};

}  // namespace

TEST_F(Lifecycle, CloseRightAfterStartAsksNothing)
{
    EXPECT_FALSE(form->unsavedChanges());
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(platform.messageBox.shown.empty());
}

TEST_F(Lifecycle, OneKeyMakesItAskAndNoWritesNothing)
{
    key(Qt::Key_G);
    EXPECT_EQ(title->text(), QStringLiteral("g"));  // the field still gets the key
    EXPECT_TRUE(form->unsavedChanges());
    platform.messageBox.answers.push_back(MessageAnswer::No);
    form->close();
    EXPECT_FALSE(form->isVisible());
    ASSERT_EQ(platform.messageBox.shown.size(), 1u);
    const auto& asked = platform.messageBox.shown[0];
    EXPECT_EQ(asked.text, QStringLiteral("Wilt u uw wijzigingen bewaren?"));
    EXPECT_EQ(asked.title, QString());
    EXPECT_EQ(asked.icon, MessageIcon::Information);
    EXPECT_EQ(asked.buttons, MessageButtons::YesNoCancel);
    EXPECT_TRUE(platform.fileDialog.shown.empty());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST_F(Lifecycle, TheCloseQuestionComesOnlyForWorkThatDiffers)
{
    const QString opened = dir.filePath(QStringLiteral("guppy.vkv"));
    ArticleDocument doc;
    doc.field("txtTitel") = QStringLiteral("Guppy");
    ASSERT_TRUE(WriteDocumentFile(opened, doc).ok);
    auto open = [&] {
        platform.fileDialog.answers.push_back(opened);
        form->mnuBestandOpenen_Click();
    };
    auto inIntro = [&] {
        form->Command1_Click(1);
        auto* intro = form->findChild<QPlainTextEdit*>(QStringLiteral("txtInleiding"));
        intro->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == intro; }));
    };
    const struct {
        const char* name;
        std::function<void()> act;
        bool asks;
    } cases[] = {
        {"paging only",
         [&] {
             key(Qt::Key_Right, Qt::AltModifier);
             key(Qt::Key_Shift);
             form->Command1_Click(3);
             form->Command1_Click(0);
         },
         false},
        {"typed and taken back",
         [&] {
             key(Qt::Key_G);
             key(Qt::Key_Backspace);
             inIntro();
             key(Qt::Key_X);
             key(Qt::Key_Z, Qt::ControlModifier);
         },
         false},
        {"saved, then Ctrl+S",
         [&] {
             key(Qt::Key_G);
             saveAs(dir.filePath(QStringLiteral("bewaard.VKV")));
             key(Qt::Key_H);
             key(Qt::Key_S, Qt::ControlModifier);
         },
         false},
        {"opened, then paged", [&] { open(); key(Qt::Key_Right, Qt::AltModifier); }, false},
        {"never saved and empty",
         [&] {
             platform.messageBox.answers.push_back(MessageAnswer::No);
             form->mnuBestandNieuw_Click();
         },
         false},
        {"a key", [&] { inIntro(); key(Qt::Key_X); }, true},
        {"opened, then a key", [&] { open(); key(Qt::Key_X); }, true},
        {"the mouse",
         [&] {
             form->Command1_Click(3);
             form->Command1_Click(0);
             form->findChild<QLineEdit*>(QStringLiteral("txtURL"))->setText(QStringLiteral("https://vinkring.nl"));
             form->findChild<QLineEdit*>(QStringLiteral("txtLinkOMS"))->setText(QStringLiteral("Het forum"));
             QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("Command2")), Qt::LeftButton);
         },
         true},
        {"typed, imported, and all taken back",
         [&] {
             platform.messageBox.answers.push_back(MessageAnswer::No);
             form->mnuBestandNieuw_Click();
             QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Nieuwe titel"));
             key(Qt::Key_Tab);
             QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Piet Jansen"));
             form->session().imported(doc);
             for (int n = 0; n < 30; ++n)
                 key(Qt::Key_Z, Qt::ControlModifier);
             ASSERT_EQ(title->text(), QString());
         },
         false},
        {"imported, then typed and taken back",
         [&] {
             form->session().imported(doc);
             key(Qt::Key_G);
             key(Qt::Key_Backspace);
         },
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        c.act();
        platform.messageBox.shown.clear();
        platform.messageBox.answers.assign({MessageAnswer::No});
        form->close();
        EXPECT_EQ(promptsShown(), c.asks ? 1u : 0u);
        TearDown();
    }
}

TEST_F(Lifecycle, CtrlSWithAFileNameWritesWithoutDialog)
{
    const QString path = dir.filePath(QStringLiteral("guppy.vkv"));
    saveAs(path);
    key(Qt::Key_G);
    key(Qt::Key_U);
    EXPECT_TRUE(form->unsavedChanges());
    key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(form->unsavedChanges());
    EXPECT_EQ(platform.fileDialog.shown.size(), 1u);  // only the first save
    EXPECT_EQ(fileDocument(path).field("txtTitel"), QStringLiteral("gu"));
    form->close();
    EXPECT_TRUE(platform.messageBox.shown.empty());
}

TEST_F(Lifecycle, CtrlShiftSAndCtrlAltSActLikeCtrlS)
{
    const QString path = dir.filePath(QStringLiteral("guppy.vkv"));
    saveAs(path);
    for (const Qt::KeyboardModifiers mods : {Qt::ControlModifier | Qt::ShiftModifier,
                                             Qt::ControlModifier | Qt::AltModifier}) {
        key(Qt::Key_X);
        EXPECT_TRUE(form->unsavedChanges());
        const QString typed = title->text();
        key(Qt::Key_S, mods);
        EXPECT_EQ(fileDocument(path).field("txtTitel"), typed);
        // Saved; unless the field took the key as text after the save (as
        // AltGr), which is then a change of its own.
        EXPECT_EQ(form->unsavedChanges(), title->text() != typed) << int(mods);
    }
    // Alt+S alone is an ordinary key press.
    key(Qt::Key_S, Qt::AltModifier);
    EXPECT_TRUE(form->unsavedChanges());
    EXPECT_EQ(platform.fileDialog.shown.size(), 1u);
}

TEST_F(Lifecycle, CtrlSWithoutAFileNameRunsSaveThenTheCloseSavesWithoutDialog)
{
    key(Qt::Key_G);
    const QString path = dir.filePath(QStringLiteral("nieuw.VKV"));
    platform.fileDialog.answers.push_back(path);
    key(Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(platform.fileDialog.shown.size(), 1u);
    EXPECT_TRUE(platform.fileDialog.shown[0].save);
    EXPECT_EQ(form->currentFileName(), path);
    EXPECT_FALSE(form->unsavedChanges());
    EXPECT_EQ(fileDocument(path).field("txtTitel"), QStringLiteral("g"));

    // Written again, the file changed meanwhile gets its question.
    ASSERT_TRUE(WriteDocumentFile(path, ArticleDocument{}).ok);
    key(Qt::Key_H);
    platform.messageBox.answers.push_back(MessageAnswer::Yes);
    platform.messageBox.answers.push_back(MessageAnswer::Yes);
    form->close();
    EXPECT_EQ(promptsShown(), 1u);
    EXPECT_EQ(platform.messageBox.shown.back().text,
              QStringLiteral("Het bestand is intussen door een ander programma gewijzigd. Toch overschrijven?"));
    EXPECT_EQ(platform.fileDialog.shown.size(), 1u);  // no second dialog
    EXPECT_EQ(fileDocument(path).field("txtTitel"), QStringLiteral("gh"));
}

TEST_F(Lifecycle, NewAfterTypingAsksThenEmptiesEverything)
{
    const QString path = dir.filePath(QStringLiteral("oud.vkv"));
    saveAs(path);
    ArticleDocument doc = defaultDocument();
    doc.field("txtTitel") = QStringLiteral("Guppy");
    doc.field("txtConclusie") = QStringLiteral("Mooi.");
    doc.links << QStringLiteral("Foto, foto.jpg");
    form->setDocument(doc);
    form->findChild<QLineEdit*>(QStringLiteral("txtURL"))->setText(QStringLiteral("http://x"));
    form->findChild<QLineEdit*>(QStringLiteral("txtLinkOMS"))->setText(QStringLiteral("X"));
    form->Command1_Click(1);
    form->Command1_Click(1);
    const qint16 page = form->currentPage();
    title->setFocus();
    key(Qt::Key_A);
    EXPECT_TRUE(form->unsavedChanges());

    platform.messageBox.answers.push_back(MessageAnswer::No);
    form->mnuBestandNieuw_Click();
    ASSERT_EQ(promptsShown(), 1u);
    EXPECT_EQ(platform.messageBox.shown[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(form->document(), ArticleDocument{});  // txtFamilie too
    EXPECT_TRUE(form->findChild<QLineEdit*>(QStringLiteral("txtURL"))->text().isEmpty());
    EXPECT_TRUE(form->findChild<QLineEdit*>(QStringLiteral("txtLinkOMS"))->text().isEmpty());
    EXPECT_EQ(form->findChild<QListWidget*>(QStringLiteral("List1"))->count(), 0);
    EXPECT_EQ(form->currentFileName(), QString());
    // A new article starts on the first page, in the title.
    EXPECT_NE(page, 1);
    EXPECT_EQ(form->currentPage(), 1);
    EXPECT_EQ(QApplication::focusWidget(), title);
    EXPECT_FALSE(form->unsavedChanges());
    form->close();
    EXPECT_EQ(promptsShown(), 1u);

    // The old file is untouched, and the next Save starts with an empty name.
    EXPECT_EQ(fileDocument(path).field("txtTitel"), QString());
}

TEST_F(Lifecycle, YesThenCancelledDialogKeepsTheWindowWithTheWork)
{
    key(Qt::Key_G);
    platform.messageBox.answers.push_back(MessageAnswer::Yes);
    platform.fileDialog.answers.push_back(std::nullopt);
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(promptsShown(), 1u);
    ASSERT_EQ(platform.fileDialog.shown.size(), 1u);
    EXPECT_TRUE(platform.fileDialog.shown[0].save);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    EXPECT_EQ(form->currentFileName(), QString());
    EXPECT_EQ(title->text(), QStringLiteral("g"));
    EXPECT_TRUE(form->unsavedChanges());
}

TEST_F(Lifecycle, CancelOrEscapeInTheClosePromptKeepsTheWindow)
{
    key(Qt::Key_G);
    // The real box answers Cancel to Escape and to closing it.
    platform.messageBox.answers.push_back(MessageAnswer::Cancel);
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(platform.fileDialog.shown.empty());
    EXPECT_EQ(title->text(), QStringLiteral("g"));
    EXPECT_TRUE(form->unsavedChanges());
    platform.messageBox.answers.push_back(MessageAnswer::No);
    EXPECT_TRUE(form->close());
    EXPECT_EQ(promptsShown(), 2u);
}

TEST_F(Lifecycle, FailedQuickSaveReportsAndStaysUnsaved)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("map")));
    const QString path = dir.filePath(QStringLiteral("map/guppy.vkv"));
    saveAs(path);
    ASSERT_TRUE(QDir(dir.filePath(QStringLiteral("map"))).removeRecursively());
    key(Qt::Key_G);
    key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(form->unsavedChanges());
    ASSERT_EQ(platform.messageBox.shown.size(), 1u);
    EXPECT_EQ(platform.messageBox.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(platform.messageBox.shown[0].title, QStringLiteral("Vinkring Artikel Template Melding"));
    EXPECT_TRUE(platform.messageBox.shown[0].text.contains(path));
    EXPECT_EQ(form->currentFileName(), path);

    // The close prompt's save fails the same way: the window stays open with
    // the work, so the writer can save it elsewhere.
    platform.messageBox.answers.push_back(MessageAnswer::Yes);
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(platform.messageBox.shown.size(), 3u);
    EXPECT_EQ(form->document().field("txtTitel"), QStringLiteral("g"));

    // Saved elsewhere, it closes after all.
    saveAs(dir.filePath(QStringLiteral("elders.vkv")));
    key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(form->unsavedChanges());
    EXPECT_TRUE(form->close());
    EXPECT_EQ(fileDocument(dir.filePath(QStringLiteral("elders.vkv"))).field("txtTitel"), QStringLiteral("g"));
}

TEST_F(Lifecycle, RefusedSaveAtCloseKeepsTheWindow)
{
    // Yes, then a save dialog whose file cannot be written: not a cancel.
    key(Qt::Key_G);
    platform.messageBox.answers.push_back(MessageAnswer::Yes);
    platform.fileDialog.answers.push_back(dir.filePath(QStringLiteral("geen/map/guppy.vkv")));
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->currentFileName(), QString());
    EXPECT_TRUE(form->unsavedChanges());

    // No closes without a word more.
    platform.messageBox.answers.push_back(MessageAnswer::No);
    EXPECT_TRUE(form->close());
}

TEST_F(Lifecycle, OpenAndSaveSettleTheWork)
{
    const QString path = dir.filePath(QStringLiteral("guppy.vkv"));
    ArticleDocument doc;
    doc.field("txtTitel") = QStringLiteral("Guppy");
    doc.links << QStringLiteral("Foto, foto.jpg");
    ASSERT_TRUE(WriteDocumentFile(path, doc).ok);

    key(Qt::Key_A);
    platform.messageBox.answers.push_back(MessageAnswer::No);  // the work typed so far may go
    platform.fileDialog.answers.push_back(path);
    form->mnuBestandOpenen_Click();
    EXPECT_EQ(form->document(), doc);
    EXPECT_EQ(form->currentFileName(), path);
    EXPECT_FALSE(form->unsavedChanges());
    // Saved without a change, the file is what it was.
    const QByteArray before = [&] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    saveAs(dir.filePath(QStringLiteral("kopie.vkv")));
    QFile copy(dir.filePath(QStringLiteral("kopie.vkv")));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), before);
    EXPECT_FALSE(form->unsavedChanges());
}

TEST_F(Lifecycle, CtrlSCountsWhenKeysArriveAlike)
{
    // A window system hands each key over in an event object at the same place,
    // and two presses can share a timestamp: each must reach the key handler.
    const QString path = dir.filePath(QStringLiteral("guppy.vkv"));
    saveAs(path);
    std::optional<QKeyEvent> event;
    auto press = [&](QWidget* to, Qt::Key k, Qt::KeyboardModifiers mods, const QString& text) {
        event.emplace(QEvent::KeyPress, k, mods, text);
        event->setTimestamp(4242);
        QApplication::sendEvent(to, &*event);
    };
    form->Command1_Click(1);
    auto* inleiding = form->findChild<QPlainTextEdit*>(QStringLiteral("txtInleiding"));
    auto* next = form->findChildren<QPushButton*>(QStringLiteral("Command1")).value(1);
    ASSERT_TRUE(inleiding && next);
    for (QWidget* to : std::initializer_list<QWidget*>{title, inleiding, next}) {
        press(to, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        EXPECT_EQ(form->unsavedChanges(), to != next);  // a letter on a button changes nothing
        press(to, Qt::Key_Control, Qt::ControlModifier, QString());
        press(to, Qt::Key_S, Qt::ControlModifier, QStringLiteral("\x13"));
        EXPECT_FALSE(form->unsavedChanges()) << to->objectName().toStdString();
        press(to, Qt::Key_B, Qt::NoModifier, QStringLiteral("b"));
        press(to, Qt::Key_S, Qt::ControlModifier, QStringLiteral("\x13"));
        EXPECT_FALSE(form->unsavedChanges()) << to->objectName().toStdString() << " without Ctrl first";
    }
}

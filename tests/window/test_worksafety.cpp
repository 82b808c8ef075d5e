// The writer's work is not lost: every change is noticed, nothing is
// replaced or dropped without asking, texts are kept whole, and a recovery
// copy follows unsaved work and is offered again after a crash.
#include "formfixture.h"

#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QSyntaxHighlighter>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include "document/documentfile.h"
#include "document/recovery.h"

using namespace vinkring;
using namespace vinkring::test;

namespace {

const QString kSaveQuestion = QStringLiteral("Wilt u uw wijzigingen bewaren?");

class WorkSafety : public FormTest {
protected:
    // The window goes before its folder does.
    void TearDown() override { closeForm(); }

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        platform.folders.state = dir.filePath(QStringLiteral("state/vinkring-artikel"));
        form().show();
        title = child<QLineEdit>("txtTitel");
        inleiding = child<QPlainTextEdit>("txtInleiding");
    }

    QString state() const { return platform.folders.state; }

    QStringList copies() const
    {
        return QDir(state()).entryList({QStringLiteral("*.herstel")}, QDir::Files);
    }

    std::optional<RecoveryCopy> onlyCopy() const
    {
        const QStringList found = copies();
        if (found.size() != 1)
            return std::nullopt;
        QFile file(QDir(state()).filePath(found.first()));
        return file.open(QIODevice::ReadOnly) ? parseRecovery(file.readAll()) : std::nullopt;
    }

    // The copy on the disk is the work in the window.
    bool copyIsCurrent()
    {
        const std::optional<RecoveryCopy> copy = onlyCopy();
        return copy && copy->document == form().document() && copy->fileName == form().currentFileName();
    }

    // A copy as a run that was killed leaves it.
    void leaveCopy(const ArticleDocument& doc, const QString& fileName, const QDateTime& when)
    {
        RecoveryStore crashed(state());
        ASSERT_TRUE(crashed.write(RecoveryCopy{doc, fileName, when}).ok);
    }

    std::size_t asked(const QString& text) const
    {
        std::size_t n = 0;
        for (const auto& shown : platform.messageBox.shown)
            n += shown.text == text ? 1 : 0;
        return n;
    }

    void type(QWidget* field, const QString& text)
    {
        field->setFocus();
        QTest::keyClicks(field, text);
    }

    QTemporaryDir dir;
    QLineEdit* title = nullptr;
    QPlainTextEdit* inleiding = nullptr;
};

// Paints every "vis" bold: formats only, as a spelling highlighter does.
class FishHighlighter final : public QSyntaxHighlighter {
public:
    using QSyntaxHighlighter::QSyntaxHighlighter;

protected:
    void highlightBlock(const QString& text) override
    {
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        for (qsizetype at = text.indexOf(QStringLiteral("vis")); at >= 0; at = text.indexOf(QStringLiteral("vis"), at + 1))
            setFormat(int(at), 3, bold);
    }
};

}  // namespace

TEST_F(WorkSafety, PastingAndDroppingWithTheMouseAreChanges)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("geplakt"));
    title->paste();  // the context menu's "Plakken"
    EXPECT_EQ(title->text(), QStringLiteral("geplakt"));
    EXPECT_TRUE(form().unsavedChanges());

    form().session().settle(form().currentFileName());
    inleiding->paste();
    EXPECT_TRUE(form().unsavedChanges());

    form().session().settle(form().currentFileName());
    QMimeData dropped;
    dropped.setText(QStringLiteral("gesleept"));
    const QPointF at(5, 5);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(title, &enter);
    QDropEvent drop(at, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(title, &drop);
    EXPECT_TRUE(title->text().contains(QStringLiteral("gesleept")));
    EXPECT_TRUE(form().unsavedChanges());
}

TEST_F(WorkSafety, EachEditIsOneNoticeAndLoadsAndHighlightingNone)
{
    ArticleDocument doc = form().document();
    doc.field("txtInleiding") = QStringLiteral("een vis\r\nnog een vis");
    QSignalSpy notices(&form().session(), &DocumentSession::documentChanged);
    form().setDocument(doc);
    FishHighlighter highlighter(inleiding->document());
    highlighter.rehighlight();
    EXPECT_FALSE(form().unsavedChanges());
    EXPECT_TRUE(copies().empty());
    EXPECT_EQ(notices.size(), 0);

    const DocumentChange inInleiding = DocumentChange::inField(*fieldIndex("txtInleiding"));
    type(inleiding, QStringLiteral("x"));
    EXPECT_TRUE(form().unsavedChanges());
    // As many characters in as out, with the highlighter going over it again.
    QTextCursor cursor(inleiding->document());
    cursor.setPosition(4);
    cursor.setPosition(7, QTextCursor::KeepAnchor);
    cursor.insertText(QStringLiteral("kat"));
    highlighter.rehighlight();
    inleiding->undo();
    highlighter.rehighlight();
    ASSERT_EQ(notices.size(), 3);
    for (const QList<QVariant>& notice : notices)
        EXPECT_EQ(notice.at(0).value<DocumentChange>(), inInleiding);
    EXPECT_EQ(form().document().field("txtInleiding"), inleiding->toPlainText().replace(u'\n', QStringLiteral("\r\n")));
}

TEST_F(WorkSafety, TextsOfAnyLengthAreKeptWhole)
{
    const QString pasted(102000, QLatin1Char('t'));
    QGuiApplication::clipboard()->setText(pasted);
    title->paste();
    child<QLineEdit>("txtAuteur")->setFocus();
    child<QLineEdit>("txtAuteur")->paste();
    EXPECT_EQ(form().document().field("txtTitel"), pasted);
    EXPECT_EQ(form().document().field("txtAuteur"), pasted);
    EXPECT_EQ(title->text().size(), pasted.size());
}

TEST_F(WorkSafety, NewAsksAndAnnulerenChangesNothing)
{
    type(title, QStringLiteral("Guppy"));
    const ArticleDocument before = form().document();
    platform.messageBox.answers.push_back(MessageAnswer::Cancel);
    form().mnuBestandNieuw_Click();
    ASSERT_EQ(platform.messageBox.shown.size(), 1u);
    EXPECT_EQ(platform.messageBox.shown[0].text, kSaveQuestion);
    EXPECT_EQ(platform.messageBox.shown[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(form().document(), before);
    EXPECT_TRUE(form().unsavedChanges());

    // Ja with a dialog cancelled: still nothing.
    platform.messageBox.answers.push_back(MessageAnswer::Yes);
    platform.fileDialog.answers.push_back(std::nullopt);
    form().mnuBestandNieuw_Click();
    EXPECT_EQ(form().document(), before);

    // Ja and a save that writes: saved, then emptied.
    const QString path = dir.filePath(QStringLiteral("guppy.vkv"));
    platform.messageBox.answers.push_back(MessageAnswer::Yes);
    platform.fileDialog.answers.push_back(path);
    form().mnuBestandNieuw_Click();
    EXPECT_EQ(ReadDocumentFile(path).document, before);
    EXPECT_EQ(form().document(), ArticleDocument{});
    EXPECT_EQ(form().currentFileName(), QString());
}

TEST_F(WorkSafety, OpenAsksBeforeItsDialog)
{
    const QString path = dir.filePath(QStringLiteral("ander.vkv"));
    ASSERT_TRUE(WriteDocumentFile(path, ArticleDocument{}).ok);
    type(title, QStringLiteral("Guppy"));
    platform.messageBox.answers.push_back(MessageAnswer::Cancel);
    form().mnuBestandOpenen_Click();
    EXPECT_TRUE(platform.fileDialog.shown.empty());
    EXPECT_EQ(title->text(), QStringLiteral("Guppy"));

    // Ja saves to the work's own file first, without a dialog.
    const QString own = dir.filePath(QStringLiteral("eigen.vkv"));
    ASSERT_TRUE(WriteDocumentFile(own, ArticleDocument{}).ok);
    platform.fileDialog.answers.push_back(own);
    form().mnuBestandBewaren_Click();
    type(title, QStringLiteral("!"));
    platform.messageBox.answers.push_back(MessageAnswer::Yes);
    platform.fileDialog.answers.push_back(path);
    form().mnuBestandOpenen_Click();
    EXPECT_EQ(ReadDocumentFile(own).document->field("txtTitel"), QStringLiteral("Guppy!"));
    EXPECT_EQ(form().currentFileName(), path);
    EXPECT_EQ(form().document(), ArticleDocument{});
    EXPECT_EQ(asked(kSaveQuestion), 2u);
}

TEST_F(WorkSafety, ADocumentOnTheCommandLineAsksAboutRestoredWork)
{
    const QString path = dir.filePath(QStringLiteral("dubbelklik.vkv"));
    ASSERT_TRUE(WriteDocumentFile(path, ArticleDocument{}).ok);
    ArticleDocument work = defaultDocument();
    work.field("txtTitel") = QStringLiteral("Teruggezet");
    leaveCopy(work, QString(), QDateTime::currentDateTime());
    platform.messageBox.answers = {MessageAnswer::Yes, MessageAnswer::Cancel};
    form().offerLeftOverWork();
    form().openAtStartup(path);
    EXPECT_EQ(asked(kSaveQuestion), 1u);
    EXPECT_EQ(form().document(), work);
    EXPECT_TRUE(form().currentFileName().isEmpty());
}

TEST_F(WorkSafety, TheCopyFollowsUnsavedWorkUntilItIsSaved)
{
    type(title, QStringLiteral("Nooit bewaard"));
    QTRY_VERIFY(copyIsCurrent());
    EXPECT_TRUE(onlyCopy()->fileName.isEmpty());

    type(inleiding, QStringLiteral("Regel een"));
    QTest::keyClick(inleiding, Qt::Key_Return);
    type(inleiding, QStringLiteral("Regel twee"));
    QTRY_VERIFY(copyIsCurrent());
    EXPECT_EQ(onlyCopy()->document.field("txtInleiding"), QStringLiteral("Regel een\r\nRegel twee"));

    const QString path = dir.filePath(QStringLiteral("bewaard.vkv"));
    platform.fileDialog.answers.push_back(path);
    form().mnuBestandBewaren_Click();
    QTRY_VERIFY(copies().empty());

    type(title, QStringLiteral("?"));
    QTRY_VERIFY(copyIsCurrent());
    EXPECT_EQ(onlyCopy()->fileName, path);
    // Typed back to what was saved: nothing to recover.
    title->setText(title->text().chopped(1));
    QTRY_VERIFY(copies().empty());
}

TEST_F(WorkSafety, TheCopyGoesWhenTheWriterLetsTheWorkGo)
{
    type(title, QStringLiteral("Weg ermee"));
    QTRY_VERIFY(copyIsCurrent());
    platform.messageBox.answers.push_back(MessageAnswer::No);
    form().mnuBestandNieuw_Click();
    QTRY_VERIFY(copies().empty());

    type(title, QStringLiteral("Ook weg"));
    QTRY_VERIFY(copyIsCurrent());
    platform.messageBox.answers.push_back(MessageAnswer::Cancel);
    EXPECT_FALSE(form().close());
    form().session().recovery().waitForDisk();
    EXPECT_EQ(copies().size(), 1u);
    platform.messageBox.answers.push_back(MessageAnswer::No);
    EXPECT_TRUE(form().close());
    form().session().recovery().waitForDisk();
    EXPECT_TRUE(copies().empty());
}

TEST_F(WorkSafety, ARunThatEndsNormallyLeavesNothing)
{
    type(title, QStringLiteral("Iets"));
    QTRY_VERIFY(copyIsCurrent());
    EXPECT_EQ(QDir(state()).entryList({QStringLiteral("*.lock")}, QDir::Files).size(), 1);
    platform.messageBox.answers.push_back(MessageAnswer::No);
    ASSERT_TRUE(form().close());
    closeForm();
    EXPECT_TRUE(QDir(state()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(WorkSafety, WorkOfACrashedRunIsOfferedAndRestored)
{
    ArticleDocument work = defaultDocument();
    work.field("txtTitel") = QString::fromUtf8("Gered 🐟 – ł");
    work.field("txtBouw") = QStringLiteral("met <vbcrlf> erin");
    work.links << QStringLiteral("Cichliden, verzorging, http://a.nl");
    const QString file = dir.filePath(QStringLiteral("gered.VKV"));
    leaveCopy(work, file, QDateTime(QDate(2024, 6, 5), QTime(14, 32, 7)));

    platform.messageBox.answers.push_back(MessageAnswer::Yes);
    form().offerLeftOverWork();
    ASSERT_EQ(platform.messageBox.shown.size(), 1u);
    const auto& offer = platform.messageBox.shown[0];
    EXPECT_EQ(offer.title, QStringLiteral("Vinkring Artikel Template Melding"));
    EXPECT_EQ(offer.buttons, MessageButtons::YesNoCancel);
    EXPECT_TRUE(offer.text.contains(QStringLiteral("woensdag 5 juni 2024 om 14:32:07"))) << offer.text.toStdString();
    EXPECT_TRUE(offer.text.contains(quotedPath(file))) << offer.text.toStdString();

    EXPECT_EQ(form().document(), work);
    EXPECT_EQ(form().currentFileName(), file);
    EXPECT_TRUE(form().unsavedChanges());
    // The copy is this run's own now, and follows the next change.
    ASSERT_EQ(copies().size(), 1u);
    type(title, QStringLiteral("!"));
    QTRY_VERIFY(copyIsCurrent());
}

TEST_F(WorkSafety, WorkOfAFileInUtf8IsSavedInItAgainWithoutAQuestion)
{
    ArticleDocument work = defaultDocument();
    work.field("txtTitel") = QString::fromUtf8("Gered 🐟");
    const QString file = dir.filePath(QStringLiteral("gered.VKV"));
    ASSERT_TRUE(WriteDocumentFile(file, defaultDocument(), FileEncoding::Utf8).ok);
    leaveCopy(work, file, QDateTime::currentDateTime());
    platform.messageBox.answers.push_back(MessageAnswer::Yes);
    form().offerLeftOverWork();
    ASSERT_EQ(form().document(), work);
    EXPECT_EQ(form().session().quickSave(), SaveOutcome::Written);
    EXPECT_EQ(platform.messageBox.shown.size(), 1u) << "only the offer";
    EXPECT_EQ(ReadDocumentFile(file).document, work);
}

TEST_F(WorkSafety, WorkThatWasNeverSavedCanBeThrownAway)
{
    ArticleDocument work = defaultDocument();
    work.field("txtTitel") = QStringLiteral("Nooit bewaard");
    leaveCopy(work, QString(), QDateTime::currentDateTime());
    platform.messageBox.answers.push_back(MessageAnswer::No);
    form().offerLeftOverWork();
    ASSERT_EQ(platform.messageBox.shown.size(), 1u);
    EXPECT_TRUE(platform.messageBox.shown[0].text.contains(QStringLiteral("nog nooit bewaard")));
    EXPECT_EQ(form().document(), defaultDocument());
    EXPECT_FALSE(form().unsavedChanges());
    EXPECT_TRUE(copies().empty());
}

TEST_F(WorkSafety, AnnulerenKeepsTheWorkForTheNextStart)
{
    ArticleDocument work = defaultDocument();
    work.field("txtTitel") = QStringLiteral("Later");
    leaveCopy(work, QString(), QDateTime::currentDateTime());
    platform.messageBox.answers.push_back(MessageAnswer::Cancel);
    form().offerLeftOverWork();
    EXPECT_EQ(form().document(), defaultDocument());
    EXPECT_EQ(copies().size(), 1u);

    FakePlatform next;
    next.folders.state = state();
    next.messageBox.answers.push_back(MessageAnswer::Yes);
    Form1 started(next.services);
    started.offerLeftOverWork();
    EXPECT_EQ(started.document(), work);
}

TEST_F(WorkSafety, ASecondProgramDoesNotTakeTheFirstsWork)
{
    type(title, QStringLiteral("Van de eerste"));
    QTRY_VERIFY(copyIsCurrent());
    FakePlatform second;
    second.folders.state = state();
    Form1 other(second.services);
    other.offerLeftOverWork();
    EXPECT_TRUE(second.messageBox.shown.empty());
    EXPECT_EQ(other.document(), defaultDocument());
    // Both keep their own.
    QTest::keyClicks(other.findChild<QLineEdit*>(QStringLiteral("txtTitel")), QStringLiteral("Van de tweede"));
    QTRY_COMPARE(copies().size(), 2);
    QStringList titles;
    for (const QString& name : copies()) {
        QFile file(QDir(state()).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        titles << parseRecovery(file.readAll()).value_or(RecoveryCopy{}).document.field("txtTitel");
    }
    titles.sort();
    EXPECT_EQ(titles, QStringList({QStringLiteral("Van de eerste"), QStringLiteral("Van de tweede")}));
}

TEST_F(WorkSafety, AnUnwritableCopyIsSaidOnceInTheTitleAndTriedAgain)
{
    closeForm();
    QFile blocker(dir.filePath(QStringLiteral("geblokkeerd")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    platform.folders.state = blocker.fileName() + QStringLiteral("/vinkring-artikel");
    form().show();
    title = child<QLineEdit>("txtTitel");
    QSignalSpy said(&form().session().recovery(), &RecoveryScheduler::problemChanged);

    type(title, QStringLiteral("a"));
    QTRY_COMPARE(said.size(), 1);
    EXPECT_EQ(form().windowHandle()->title(), QStringLiteral("*Vinkring Artikel Template - let op: werk niet veiliggesteld"));
    EXPECT_TRUE(form().toolTip().contains(QStringLiteral("een deel van het pad is geen map"))) << form().toolTip().toStdString();
    for (int i = 0; i < 3; ++i) {
        type(title, QStringLiteral("b"));
        form().session().recovery().flush();
    }
    EXPECT_EQ(said.size(), 1);
    EXPECT_TRUE(platform.messageBox.shown.empty());
    EXPECT_EQ(title->text(), QStringLiteral("abbb"));

    // Once the folder can be made, the next change writes the copy.
    ASSERT_TRUE(QFile::remove(blocker.fileName()));
    type(title, QStringLiteral("c"));
    QTRY_VERIFY(copyIsCurrent());
    QTRY_COMPARE(form().windowHandle()->title(), QStringLiteral("*Vinkring Artikel Template"));
    EXPECT_TRUE(form().toolTip().isEmpty());
    EXPECT_EQ(said.size(), 2);
}

TEST_F(WorkSafety, ChangesInQuickSuccessionMakeOneWrite)
{
    int snapshots = 0;
    RecoveryScheduler scheduler(dir.filePath(QStringLiteral("eigen")), [&] {
        ++snapshots;
        return RecoveryCopy{ArticleDocument{}, QString(), QDateTime::currentDateTimeUtc()};
    });
    for (int i = 0; i < 100; ++i)
        scheduler.changed();
    QTRY_VERIFY(scheduler.hasCopy());
    EXPECT_EQ(snapshots, 1);
    scheduler.changed();
    QTRY_COMPARE(snapshots, 2);
}

TEST_F(WorkSafety, AFileWithMoreFieldsOpensAndSaysWhatWasLeftOut)
{
    const QString path = dir.filePath(QStringLiteral("nieuwer.vkv"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Titel<vbcrlf>" + QByteArray("<vbcrlf>").repeated(26) + "Foto, foto.jpg<vbcrlf>Veld 28\r\n");
    file.close();
    platform.fileDialog.answers.push_back(path);
    form().mnuBestandOpenen_Click();
    EXPECT_EQ(form().document().field("txtTitel"), QStringLiteral("Titel"));
    EXPECT_EQ(form().document().links, QStringList{QStringLiteral("Foto, foto.jpg")});
    EXPECT_EQ(form().currentFileName(), path);
    ASSERT_EQ(platform.messageBox.shown.size(), 1u);
    EXPECT_EQ(platform.messageBox.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(platform.messageBox.shown[0].text.contains(QStringLiteral("weggelaten")));
}

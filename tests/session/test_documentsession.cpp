// The Open and Save commands and the checked writing, with a recording view.
#include <gtest/gtest.h>

#include <functional>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

#include "model/fieldtable.h"
#include "session/documentsession.h"
#include "document/documentfile.h"
#include "fakes/fakeplatform.h"
#include "samples.h"

using namespace vinkring;
using namespace vinkring::test;

namespace {

class FakeView final : public DocumentView {
public:
    ArticleDocument doc;
    int applied = 0;
    int reads = 0;  // texts read back from the window

    QString fieldText(std::size_t index) override
    {
        ++reads;
        return doc.fields.at(index);
    }
    QStringList linkLines() override
    {
        ++reads;
        return doc.links;
    }
    void showDocument(const ArticleDocument& d, Arrival) override
    {
        doc = d;
        ++applied;
    }
};

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

ArticleDocument sample()
{
    return test::neonTetra();
}

struct Fixture {
    QTemporaryDir dir;
    QTemporaryDir stateDir;
    FakePlatform platform;
    const bool keepsCopies = (platform.folders.state = stateDir.filePath(QStringLiteral("state")), true);
    FakeView view;
    DocumentSession session{view, platform.services};

    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    // The window holds doc, as file name holds it (none: never saved).
    void holds(const ArticleDocument& doc, const char* name = nullptr)
    {
        session.begin(doc, name ? path(name) : QString());
        view.applied = 0;
    }
    // The writer changes a field.
    void type(const char* field, const QString& text)
    {
        view.doc.field(field) = text;
        session.changed(DocumentChange::inField(*fieldIndex(field)));
    }
};

// The recovery copy's file, told apart from an earlier one (each write makes
// a new file that takes the old one's place); 0 when there is none.
ino_t copyFile(const QString& folder)
{
    const QStringList found = QDir(folder).entryList({QStringLiteral("*.herstel")}, QDir::Files);
    struct stat status {};
    if (found.size() != 1 || ::stat(QFile::encodeName(QDir(folder).filePath(found[0])).constData(), &status) != 0)
        return 0;
    return status.st_ino;
}

void expectWarning(const FakeMessageBox::Shown& shown)
{
    EXPECT_EQ(shown.title, QStringLiteral("Vinkring Artikel Template Melding"));
    EXPECT_EQ(shown.icon, MessageIcon::Exclamation);
    EXPECT_EQ(shown.buttons, MessageButtons::Ok);
}

}  // namespace

TEST(SaveCommand, AsksForAPathWritesAndRemembersIt)
{
    Fixture f;
    f.holds(sample());
    const QString path = f.path("guppy.VKV");
    f.platform.fileDialog.answers.push_back(path);
    f.session.save();

    ASSERT_EQ(f.platform.fileDialog.shown.size(), 1u);
    const auto& shown = f.platform.fileDialog.shown[0];
    EXPECT_TRUE(shown.save);
    EXPECT_EQ(shown.request.title, QStringLiteral("Bestand Bewaren"));
    EXPECT_EQ(shown.request.filterDescription, QStringLiteral("Vinkring Vis (*.vvk)"));
    EXPECT_EQ(shown.request.filterPattern, QStringLiteral("*.VKV"));
    EXPECT_TRUE(shown.request.confirmOverwrite);
    EXPECT_EQ(shown.initialName, QString());
    EXPECT_EQ(readBytes(path), documentFileBytes(sample()));
    EXPECT_EQ(f.session.currentFileName(), path);
    EXPECT_TRUE(f.platform.messageBox.shown.empty());

    // The next save offers the current name, whatever the dialog returned last.
    f.platform.fileDialog.lastName = f.path("elders.vkv");
    f.platform.fileDialog.answers.push_back(std::nullopt);
    f.session.save();
    EXPECT_EQ(f.platform.fileDialog.shown.at(1).initialName, path);

    // With no current name (a new document) it starts empty.
    f.holds(sample());
    f.platform.fileDialog.answers.push_back(std::nullopt);
    f.session.save();
    EXPECT_EQ(f.platform.fileDialog.shown.at(2).initialName, QString());
}

TEST(SaveCommand, ANameTypedWithoutExtensionGetsTheDocumentFilesOnEveryRoute)
{
    const std::pair<const char*, const char*> names[] = {
        {"honinggoerami", "honinggoerami.VKV"}, {"guppy.vkv", "guppy.vkv"}, {"notities.txt", "notities.txt"}};
    // The menu's Save, Ctrl+S on a never-saved document, and the close question's Ja.
    const std::function<void(Fixture&)> routes[] = {
        [](Fixture& f) { f.session.save(); },
        [](Fixture& f) { f.session.quickSave(); },
        [](Fixture& f) {
            f.platform.messageBox.answers.push_back(MessageAnswer::Yes);
            EXPECT_TRUE(f.session.mayClose());
        },
    };
    for (const auto& [typed, written] : names) {
        for (const auto& route : routes) {
            SCOPED_TRACE(typed);
            Fixture f;
            f.holds(sample());
            f.type("txtTitel", QStringLiteral("Honinggoerami"));
            f.platform.fileDialog.answers.push_back(f.path(typed));
            route(f);
            // The dialog's own question about replacing a file concerns that name.
            EXPECT_EQ(f.platform.fileDialog.shown.at(0).request.finalPath(f.path(typed), 0), f.path(written));
            EXPECT_EQ(f.session.currentFileName(), f.path(written));
            EXPECT_EQ(QDir(f.dir.path()).entryList(QDir::Files), QStringList{QString::fromLatin1(written)});
        }
    }

    // The question about replacing a file names the file with the extension.
    Fixture f;
    f.holds(sample());
    const QString existing = f.path("honinggoerami.VKV");
    ASSERT_TRUE(WriteDocumentFile(existing, ArticleDocument{}).ok);
    const QByteArray before = readBytes(existing);
    f.platform.fileDialog.answers.push_back(f.path("honinggoerami"));
    f.platform.messageBox.answers.push_back(MessageAnswer::No);
    EXPECT_EQ(f.session.save(), SaveOutcome::NotWritten);
    ASSERT_EQ(f.platform.messageBox.shown.size(), 1u);
    EXPECT_TRUE(f.platform.messageBox.shown[0].text.contains(existing));
    EXPECT_EQ(readBytes(existing), before);
    f.platform.fileDialog.answers.push_back(f.path("honinggoerami"));
    f.platform.messageBox.answers.push_back(MessageAnswer::Yes);
    EXPECT_EQ(f.session.save(), SaveOutcome::Written);
    EXPECT_EQ(readBytes(existing), documentFileBytes(sample()));
}

TEST(SaveCommand, CancelChangesNothing)
{
    Fixture f;
    f.holds(sample(), "oud.vkv");
    f.platform.fileDialog.answers.push_back(std::nullopt);
    f.session.save();
    EXPECT_EQ(f.session.currentFileName(), f.path("oud.vkv"));
    EXPECT_TRUE(QDir(f.dir.path()).isEmpty());
    EXPECT_TRUE(f.platform.messageBox.shown.empty());
}

TEST(SaveCommand, FailureKeepsTheNameAndReportsIt)
{
    Fixture f;
    f.holds(sample(), "oud.vkv");
    const QString bad = f.path("nergens/nieuw.vkv");
    f.platform.fileDialog.answers.push_back(bad);
    f.session.save();
    EXPECT_EQ(f.session.currentFileName(), f.path("oud.vkv"));
    ASSERT_EQ(f.platform.messageBox.shown.size(), 1u);
    expectWarning(f.platform.messageBox.shown[0]);
    EXPECT_TRUE(f.platform.messageBox.shown[0].text.contains(QStringLiteral("nieuw.vkv")));
}

TEST(OpenCommand, ReadsReplacesAndRemembers)
{
    Fixture f;
    const QString path = f.path("guppy.vkv");
    ASSERT_TRUE(WriteDocumentFile(path, sample()).ok);
    ArticleDocument old;
    old.field("txtTitel") = QStringLiteral("Oud");
    old.links << QStringLiteral("a, b") << QStringLiteral("c, d");
    f.holds(old);
    f.platform.fileDialog.lastName = f.path("vorige.vkv");
    f.platform.fileDialog.answers.push_back(path);
    f.session.open();

    ASSERT_EQ(f.platform.fileDialog.shown.size(), 1u);
    const auto& shown = f.platform.fileDialog.shown[0];
    EXPECT_FALSE(shown.save);
    EXPECT_EQ(shown.request.title, QStringLiteral("Bestand Openen"));
    EXPECT_EQ(shown.request.filterDescription, QStringLiteral("Vinkring Vis (*.vvk)"));
    EXPECT_EQ(shown.request.filterPattern, QStringLiteral("*.VKV"));
    EXPECT_FALSE(shown.request.confirmOverwrite);
    EXPECT_EQ(shown.initialName, f.path("vorige.vkv"));  // the dialog's last name
    EXPECT_EQ(f.view.doc, sample());
    EXPECT_EQ(f.session.currentFileName(), path);

    // Cancelling leaves all as it is.
    f.type("txtTitel", QStringLiteral("Bewerkt"));
    f.platform.fileDialog.answers.push_back(std::nullopt);
    f.session.open();
    EXPECT_EQ(f.platform.fileDialog.shown.at(1).initialName, path);
    EXPECT_EQ(f.view.doc.field("txtTitel"), QStringLiteral("Bewerkt"));
    EXPECT_EQ(f.view.applied, 1);
}

TEST(OpenCommand, BadFilesChangeNothing)
{
    Fixture f;
    f.holds(sample(), "huidig.vkv");
    QFile few(f.path("kort.vkv"));
    ASSERT_TRUE(few.open(QIODevice::WriteOnly));
    few.write(QByteArray("<vbcrlf>").repeated(26) + "\r\n");
    few.close();

    for (const char* name : {"kort.vkv", "bestaat-niet.vkv"}) {
        f.platform.messageBox.shown.clear();
        f.platform.fileDialog.answers.push_back(f.path(name));
        f.session.open();
        EXPECT_EQ(f.view.applied, 0);
        EXPECT_EQ(f.view.doc, sample());
        EXPECT_EQ(f.session.currentFileName(), f.path("huidig.vkv"));
        ASSERT_EQ(f.platform.messageBox.shown.size(), 1u);
        expectWarning(f.platform.messageBox.shown[0]);
        EXPECT_TRUE(f.platform.messageBox.shown[0].text.contains(f.path(name)));
    }
    EXPECT_FALSE(f.session.openFile(f.dir.path()));
    EXPECT_EQ(f.view.applied, 0);
}

TEST(WriteCommand, AsksBeforeReplacingCharacters)
{
    Fixture f;
    const QString path = f.path("artikel.vkv");
    ASSERT_TRUE(WriteDocumentFile(path, sample()).ok);
    const QByteArray old = readBytes(path);
    const QString fish = QString::fromUtf8("\xF0\x9F\x90\x9F");
    ArticleDocument doc = sample();
    doc.field("txtAuteur") = QString::fromUtf8("Paweł");
    doc.field("txtConclusie") = fish;
    doc.links << QStringLiteral("Vis ") + fish + QStringLiteral(", vis.htm");
    f.holds(doc);

    // No: nothing is written.
    f.platform.messageBox.answers.push_back(MessageAnswer::No);
    EXPECT_FALSE(f.session.write(path));
    ASSERT_EQ(f.platform.messageBox.shown.size(), 1u);
    const FakeMessageBox::Shown& asked = f.platform.messageBox.shown[0];
    EXPECT_EQ(asked.buttons, MessageButtons::YesNoKeep);
    EXPECT_EQ(asked.title, QStringLiteral("Vinkring Artikel Template Melding"));
    EXPECT_EQ(asked.icon, MessageIcon::Exclamation);
    for (const QString& part : {QStringLiteral("Naam van de auteur(s):"), QStringLiteral("Stap 11: Conclusie"),
                                QStringLiteral("link 2"), QString::fromUtf8("ł"), fish, QStringLiteral("\"?\""),
                                path})
        EXPECT_TRUE(asked.text.contains(part)) << part.toStdString() << " in " << asked.text.toStdString();
    EXPECT_FALSE(asked.text.contains(QStringLiteral("Titel van het artikel")));
    EXPECT_EQ(readBytes(path), old);

    // Yes: written with "?" in their place; the window's texts stay as they are.
    f.platform.messageBox.answers.push_back(MessageAnswer::Yes);
    EXPECT_TRUE(f.session.write(path));
    EXPECT_EQ(f.platform.messageBox.shown.size(), 2u);
    const DocumentReadResult read = ReadDocumentFile(path);
    ASSERT_TRUE(read.document);
    EXPECT_EQ(read.document->field("txtAuteur"), QStringLiteral("Pawe?"));
    EXPECT_EQ(read.document->field("txtConclusie"), QStringLiteral("?"));
    EXPECT_EQ(read.document->links.at(1), QStringLiteral("Vis ?, vis.htm"));
    EXPECT_EQ(f.view.doc.field("txtAuteur"), QString::fromUtf8("Paweł"));
}

TEST(WriteCommand, RefusesMarkersNamingTheField)
{
    Fixture f;
    const QString path = f.path("artikel.vkv");
    ASSERT_TRUE(WriteDocumentFile(path, sample()).ok);
    const QByteArray old = readBytes(path);

    ArticleDocument doc = sample();
    doc.field("txtWaterwaarden") = QStringLiteral("pH 7<vbcrlf>");
    doc.field("txtTitel") = QString::fromUtf8("ł");  // no question: refused first
    f.holds(doc);
    EXPECT_FALSE(f.session.write(path));
    ASSERT_EQ(f.platform.messageBox.shown.size(), 1u);
    expectWarning(f.platform.messageBox.shown[0]);
    EXPECT_TRUE(f.platform.messageBox.shown[0].text.contains(QStringLiteral("Waterwaarden:")));
    EXPECT_TRUE(f.platform.messageBox.shown[0].text.contains(QStringLiteral("<vbcrlf>")));
    EXPECT_EQ(readBytes(path), old);

    f.platform.messageBox.shown.clear();
    doc = sample();
    doc.links << QStringLiteral("a<ulrcrlf>b, c.htm");
    f.holds(doc, "oud.vkv");
    f.platform.fileDialog.answers.push_back(path);
    f.session.save();
    ASSERT_EQ(f.platform.messageBox.shown.size(), 1u);
    EXPECT_TRUE(f.platform.messageBox.shown[0].text.contains(QStringLiteral("link 2")));
    EXPECT_TRUE(f.platform.messageBox.shown[0].text.contains(QStringLiteral("<ulrcrlf>")));
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(f.session.currentFileName(), f.path("oud.vkv"));
}

TEST(RecoveryCopy, ReadsOnlyWhatChangedAndWritesOnlyWhatDiffers)
{
    Fixture f;
    f.holds(sample(), "guppy.vkv");
    RecoveryScheduler& recovery = f.session.recovery();
    const auto written = [&] {
        recovery.flush();
        recovery.waitForDisk();
        return copyFile(f.platform.folders.state);
    };
    f.view.reads = 0;
    f.type("txtTitel", QStringLiteral("Guppy's"));
    const ino_t first = written();
    ASSERT_NE(first, ino_t(0));
    EXPECT_EQ(f.view.reads, 1);

    // The same text again, and a notice that changed nothing: no new write.
    f.type("txtTitel", QStringLiteral("Guppy's"));
    f.session.changed(DocumentChange::inLinks());
    EXPECT_EQ(written(), first);
    EXPECT_EQ(f.view.reads, 3);

    f.type("txtAuteur", QStringLiteral("Wim"));
    const ino_t second = written();
    EXPECT_NE(second, first);
    EXPECT_NE(second, ino_t(0));

    // Back as the file holds it: nothing to recover.
    f.type("txtTitel", sample().field("txtTitel"));
    f.type("txtAuteur", sample().field("txtAuteur"));
    EXPECT_EQ(written(), ino_t(0));
}

TEST(QuickSave, AFileTheWindowCannotShowAsItIsStaysUnsavedWithItsCopy)
{
    Fixture f;
    const QString path = f.path("lodz.vkv");
    ASSERT_TRUE(WriteDocumentFile(path, sample()).ok);
    ASSERT_TRUE(f.session.openFile(path));
    f.type("txtTitel", QString::fromUtf8("Łódź ŉ 🐟"));
    f.platform.messageBox.answers.push_back(MessageAnswer::Yes);  // replace by "?"
    EXPECT_EQ(f.session.quickSave(), SaveOutcome::Written);
    EXPECT_EQ(ReadDocumentFile(path).document->field("txtTitel"), QStringLiteral("?\u00f3d? ? ?"));
    EXPECT_TRUE(f.session.unsavedChanges());
    f.session.recovery().flush();
    f.session.recovery().waitForDisk();
    EXPECT_NE(copyFile(f.platform.folders.state), ino_t(0));

    // Kept in UTF-8: the file holds what the window shows, and the work is saved.
    f.platform.messageBox.answers.push_back(MessageAnswer::Keep);
    EXPECT_EQ(f.session.quickSave(), SaveOutcome::Written);
    EXPECT_TRUE(readBytes(path).startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(ReadDocumentFile(path).document, f.view.doc);
    EXPECT_FALSE(f.session.unsavedChanges());
    f.session.recovery().waitForDisk();
    EXPECT_EQ(copyFile(f.platform.folders.state), ino_t(0));
}

TEST(QuickSave, AsksBeforeOverwritingAFileChangedByAnotherProgram)
{
    Fixture f;
    const QString path = f.path("guppy.vkv");
    ASSERT_TRUE(WriteDocumentFile(path, sample()).ok);
    ASSERT_TRUE(f.session.openFile(path));
    ArticleDocument other = sample();
    other.field("txtAuteur") = QStringLiteral("Iemand anders, met een langere naam");
    ASSERT_TRUE(WriteDocumentFile(path, other).ok);
    const QByteArray theirs = readBytes(path);
    f.type("txtTitel", QStringLiteral("Mijn guppy"));

    f.platform.messageBox.answers.push_back(MessageAnswer::No);
    EXPECT_EQ(f.session.quickSave(), SaveOutcome::NotWritten);
    ASSERT_EQ(f.platform.messageBox.shown.size(), 1u);
    EXPECT_EQ(f.platform.messageBox.shown[0].text,
              QStringLiteral("Het bestand is intussen door een ander programma gewijzigd. Toch overschrijven?"));
    // Enter answers "Nee": a reflex keeps the other's save.
    EXPECT_EQ(f.platform.messageBox.shown[0].buttons, MessageButtons::YesNoKeepOld);
    EXPECT_EQ(readBytes(path), theirs);
    EXPECT_TRUE(f.session.unsavedChanges());

    f.platform.messageBox.answers.push_back(MessageAnswer::Yes);
    EXPECT_EQ(f.session.quickSave(), SaveOutcome::Written);
    EXPECT_EQ(ReadDocumentFile(path).document->field("txtTitel"), QStringLiteral("Mijn guppy"));
    // Written by this run: the next save asks nothing.
    f.type("txtTitel", QStringLiteral("Onze guppy"));
    EXPECT_EQ(f.session.quickSave(), SaveOutcome::Written);
    EXPECT_EQ(f.platform.messageBox.shown.size(), 2u);
}

// The Open and Save commands and the checked writing, with a recording host.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "model/fieldtable.h"
#include "window/documentcommands.h"
#include "document/documentfile.h"
#include "fakes/fakeplatform.h"
#include "samples.h"

using namespace vinkring;
using namespace vinkring::test;

namespace {

class FakeHost final : public DocumentHost {
public:
    ArticleDocument doc;
    QString fileName;
    int applied = 0;

    ArticleDocument currentDocument() const override { return doc; }
    void applyDocument(const ArticleDocument& d) override
    {
        doc = d;
        ++applied;
    }
    QString currentFileName() const override { return fileName; }
    void setCurrentFileName(const QString& path) override { fileName = path; }
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
    FakePlatform platform;
    FakeHost host;
    DocumentCommands commands{host, platform.services};

    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

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
    f.host.doc = sample();
    const QString path = f.path("guppy.VKV");
    f.platform.fileDialog.answers.push_back(path);
    f.commands.save();

    ASSERT_EQ(f.platform.fileDialog.shown.size(), 1u);
    const auto& shown = f.platform.fileDialog.shown[0];
    EXPECT_TRUE(shown.save);
    EXPECT_EQ(shown.request.title, QStringLiteral("Bestand Bewaren"));
    EXPECT_EQ(shown.request.filterDescription, QStringLiteral("Vinkring Vis (*.vvk)"));
    EXPECT_EQ(shown.request.filterPattern, QStringLiteral("*.VKV"));
    EXPECT_TRUE(shown.request.confirmOverwrite);
    EXPECT_EQ(shown.initialName, QString());
    EXPECT_EQ(readBytes(path), documentFileBytes(sample()));
    EXPECT_EQ(f.host.fileName, path);
    EXPECT_TRUE(f.platform.messageBox.shown.empty());

    // The next save offers the current name, whatever the dialog returned last.
    f.platform.fileDialog.lastName = f.path("elders.vkv");
    f.platform.fileDialog.answers.push_back(std::nullopt);
    f.commands.save();
    EXPECT_EQ(f.platform.fileDialog.shown.at(1).initialName, path);

    // With no current name (a new document) it starts empty.
    f.host.fileName.clear();
    f.platform.fileDialog.answers.push_back(std::nullopt);
    f.commands.save();
    EXPECT_EQ(f.platform.fileDialog.shown.at(2).initialName, QString());
}

TEST(SaveCommand, CancelChangesNothing)
{
    Fixture f;
    f.host.doc = sample();
    f.host.fileName = f.path("oud.vkv");
    f.platform.fileDialog.answers.push_back(std::nullopt);
    f.commands.save();
    EXPECT_EQ(f.host.fileName, f.path("oud.vkv"));
    EXPECT_TRUE(QDir(f.dir.path()).isEmpty());
    EXPECT_TRUE(f.platform.messageBox.shown.empty());
}

TEST(SaveCommand, FailureKeepsTheNameAndReportsIt)
{
    Fixture f;
    f.host.doc = sample();
    f.host.fileName = f.path("oud.vkv");
    const QString bad = f.path("nergens/nieuw.vkv");
    f.platform.fileDialog.answers.push_back(bad);
    f.commands.save();
    EXPECT_EQ(f.host.fileName, f.path("oud.vkv"));
    ASSERT_EQ(f.platform.messageBox.shown.size(), 1u);
    expectWarning(f.platform.messageBox.shown[0]);
    EXPECT_TRUE(f.platform.messageBox.shown[0].text.contains(QStringLiteral("nieuw.vkv")));
}

TEST(OpenCommand, ReadsReplacesAndRemembers)
{
    Fixture f;
    const QString path = f.path("guppy.vkv");
    ASSERT_TRUE(WriteDocumentFile(path, sample()).ok);
    f.host.doc.field("txtTitel") = QStringLiteral("Oud");
    f.host.doc.links << QStringLiteral("a, b") << QStringLiteral("c, d");
    f.platform.fileDialog.lastName = f.path("vorige.vkv");
    f.platform.fileDialog.answers.push_back(path);
    f.commands.open();

    ASSERT_EQ(f.platform.fileDialog.shown.size(), 1u);
    const auto& shown = f.platform.fileDialog.shown[0];
    EXPECT_FALSE(shown.save);
    EXPECT_EQ(shown.request.title, QStringLiteral("Bestand Openen"));
    EXPECT_EQ(shown.request.filterDescription, QStringLiteral("Vinkring Vis (*.vvk)"));
    EXPECT_EQ(shown.request.filterPattern, QStringLiteral("*.VKV"));
    EXPECT_FALSE(shown.request.confirmOverwrite);
    EXPECT_EQ(shown.initialName, f.path("vorige.vkv"));  // the dialog's last name
    EXPECT_EQ(f.host.doc, sample());
    EXPECT_EQ(f.host.fileName, path);

    // Cancelling leaves all as it is.
    f.host.doc.field("txtTitel") = QStringLiteral("Bewerkt");
    f.platform.fileDialog.answers.push_back(std::nullopt);
    f.commands.open();
    EXPECT_EQ(f.platform.fileDialog.shown.at(1).initialName, path);
    EXPECT_EQ(f.host.doc.field("txtTitel"), QStringLiteral("Bewerkt"));
    EXPECT_EQ(f.host.applied, 1);
}

TEST(OpenCommand, BadFilesChangeNothing)
{
    Fixture f;
    f.host.doc = sample();
    f.host.fileName = f.path("huidig.vkv");
    QFile few(f.path("kort.vkv"));
    ASSERT_TRUE(few.open(QIODevice::WriteOnly));
    few.write(QByteArray("<vbcrlf>").repeated(26) + "\r\n");
    few.close();

    for (const char* name : {"kort.vkv", "bestaat-niet.vkv"}) {
        f.platform.messageBox.shown.clear();
        f.platform.fileDialog.answers.push_back(f.path(name));
        f.commands.open();
        EXPECT_EQ(f.host.applied, 0);
        EXPECT_EQ(f.host.doc, sample());
        EXPECT_EQ(f.host.fileName, f.path("huidig.vkv"));
        ASSERT_EQ(f.platform.messageBox.shown.size(), 1u);
        expectWarning(f.platform.messageBox.shown[0]);
        EXPECT_TRUE(f.platform.messageBox.shown[0].text.contains(f.path(name)));
    }
    EXPECT_FALSE(f.commands.openFile(f.dir.path()));
    EXPECT_EQ(f.host.applied, 0);
}

TEST(WriteCommand, AsksBeforeReplacingCharacters)
{
    Fixture f;
    const QString path = f.path("artikel.vkv");
    ASSERT_TRUE(WriteDocumentFile(path, sample()).ok);
    const QByteArray old = readBytes(path);
    const QString fish = QString::fromUtf8("\xF0\x9F\x90\x9F");
    f.host.doc = sample();
    f.host.doc.field("txtAuteur") = QString::fromUtf8("Paweł");
    f.host.doc.field("txtConclusie") = fish;
    f.host.doc.links << QStringLiteral("Vis ") + fish + QStringLiteral(", vis.htm");

    // No: nothing is written.
    f.platform.messageBox.answers.push_back(MessageAnswer::No);
    EXPECT_FALSE(f.commands.write(path));
    ASSERT_EQ(f.platform.messageBox.shown.size(), 1u);
    const FakeMessageBox::Shown& asked = f.platform.messageBox.shown[0];
    EXPECT_EQ(asked.buttons, MessageButtons::YesNo);
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
    EXPECT_TRUE(f.commands.write(path));
    EXPECT_EQ(f.platform.messageBox.shown.size(), 2u);
    const DocumentReadResult read = ReadDocumentFile(path);
    ASSERT_TRUE(read.document);
    EXPECT_EQ(read.document->field("txtAuteur"), QStringLiteral("Pawe?"));
    EXPECT_EQ(read.document->field("txtConclusie"), QStringLiteral("?"));
    EXPECT_EQ(read.document->links.at(1), QStringLiteral("Vis ?, vis.htm"));
    EXPECT_EQ(f.host.doc.field("txtAuteur"), QString::fromUtf8("Paweł"));
}

TEST(WriteCommand, RefusesMarkersNamingTheField)
{
    Fixture f;
    const QString path = f.path("artikel.vkv");
    ASSERT_TRUE(WriteDocumentFile(path, sample()).ok);
    const QByteArray old = readBytes(path);

    f.host.doc = sample();
    f.host.doc.field("txtWaterwaarden") = QStringLiteral("pH 7<vbcrlf>");
    f.host.doc.field("txtTitel") = QString::fromUtf8("ł");  // no question: refused first
    EXPECT_FALSE(f.commands.write(path));
    ASSERT_EQ(f.platform.messageBox.shown.size(), 1u);
    expectWarning(f.platform.messageBox.shown[0]);
    EXPECT_TRUE(f.platform.messageBox.shown[0].text.contains(QStringLiteral("Waterwaarden:")));
    EXPECT_TRUE(f.platform.messageBox.shown[0].text.contains(QStringLiteral("<vbcrlf>")));
    EXPECT_EQ(readBytes(path), old);

    f.platform.messageBox.shown.clear();
    f.host.doc = sample();
    f.host.doc.links << QStringLiteral("a<ulrcrlf>b, c.htm");
    f.platform.fileDialog.answers.push_back(path);
    f.host.fileName = f.path("oud.vkv");
    f.commands.save();
    ASSERT_EQ(f.platform.messageBox.shown.size(), 1u);
    EXPECT_TRUE(f.platform.messageBox.shown[0].text.contains(QStringLiteral("link 2")));
    EXPECT_TRUE(f.platform.messageBox.shown[0].text.contains(QStringLiteral("<ulrcrlf>")));
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(f.host.fileName, f.path("oud.vkv"));
}

// Document files on disk: writing, reading, and every way they can fail.
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "document/documentfile.h"
#include "document/documentformat.h"
#include "document/windows1252.h"
#include "samples.h"

using namespace vinkring;

namespace {

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

ArticleDocument sample()
{
    return test::neonTetra();
}

// Files in a folder, apart from the ones named.
QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

// Limits the size of any file this process writes, like a disk that fills up.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ok_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    bool ok() const { return ok_; }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
    bool ok_ = false;
};

}  // namespace

TEST(DocumentFile, WritesTheBytesAndReadsThemBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("neon.VKV"));
    const Outcome written = WriteDocumentFile(path, sample());
    ASSERT_TRUE(written.ok) << written.reason.toStdString();
    const QByteArray bytes = readBytes(path);
    EXPECT_EQ(bytes, documentFileBytes(sample()));
    EXPECT_TRUE(bytes.endsWith("Foto, foto.jpg\r\n"));
    EXPECT_EQ(bytes.count('\x80'), 1);  // the euro sign, one byte
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("neon.VKV")});

    const DocumentReadResult read = ReadDocumentFile(path);
    ASSERT_TRUE(read.document) << read.reason.toStdString();
    EXPECT_EQ(*read.document, sample());
}

TEST(DocumentFile, OpenAndSaveUnchangedIsByteIdentical)
{
    QTemporaryDir dir;
    // Every byte value in a field, and texts an editor of another kind might leave.
    QByteArray every;
    for (int i = 0; i < 256; ++i) {
        if (i != '<')
            every.append(char(i));
    }
    const QByteArray original = "Titel" + QByteArray("<vbcrlf>") + every + QByteArray("<vbcrlf>").repeated(25) +
                                "\r\n \t" + QByteArray("<vbcrlf>") + "a, b<ulrcrlf><ulrcrlf>c\r\r\n";
    const QString first = dir.filePath(QStringLiteral("eerste.vkv"));
    writeBytes(first, original);
    const DocumentReadResult read = ReadDocumentFile(first);
    ASSERT_TRUE(read.document) << read.reason.toStdString();
    ASSERT_TRUE(WriteDocumentFile(first, *read.document).ok);
    EXPECT_EQ(readBytes(first), original);

    // And a file of this program, written over itself.
    const QString second = dir.filePath(QStringLiteral("tweede.vkv"));
    ASSERT_TRUE(WriteDocumentFile(second, sample()).ok);
    const QByteArray before = readBytes(second);
    const DocumentReadResult again = ReadDocumentFile(second);
    ASSERT_TRUE(again.document);
    ASSERT_TRUE(WriteDocumentFile(second, *again.document).ok);
    EXPECT_EQ(readBytes(second), before);
}

TEST(DocumentFile, ReadFailuresNameTheFileAndTheReason)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("weg.vkv"));
    DocumentReadResult r = ReadDocumentFile(missing);
    EXPECT_FALSE(r.document);
    EXPECT_TRUE(r.reason.contains(QLatin1Char('"') + missing + QStringLiteral("\" bestaat niet"))) << r.reason.toStdString();

    r = ReadDocumentFile(dir.path());
    EXPECT_FALSE(r.document);
    EXPECT_TRUE(r.reason.contains(QStringLiteral("kan niet worden gelezen"))) << r.reason.toStdString();

    const QString fifo = dir.filePath(QStringLiteral("pijp.vkv"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    r = ReadDocumentFile(fifo);  // must not wait for a writer
    EXPECT_FALSE(r.document);
    EXPECT_TRUE(r.reason.contains(QStringLiteral("geen gewoon bestand"))) << r.reason.toStdString();

    const QString empty = dir.filePath(QStringLiteral("leeg.vkv"));
    writeBytes(empty, QByteArray());
    r = ReadDocumentFile(empty);
    EXPECT_FALSE(r.document);
    EXPECT_TRUE(r.reason.contains(QLatin1Char('"') + empty + QStringLiteral("\" is leeg"))) << r.reason.toStdString();

    const QString few = dir.filePath(QStringLiteral("kort.vkv"));
    writeBytes(few, QByteArray("<vbcrlf>").repeated(20) + "\r\n");
    r = ReadDocumentFile(few);
    EXPECT_FALSE(r.document);
    EXPECT_TRUE(r.reason.contains(QLatin1Char('"') + few + QLatin1Char('"'))) << r.reason.toStdString();
    EXPECT_TRUE(r.reason.contains(QStringLiteral("20 van de 27"))) << r.reason.toStdString();

    const QString many = dir.filePath(QStringLiteral("veel.vkv"));
    writeBytes(many, QByteArray("<vbcrlf>").repeated(27) + QByteArray("x<ulrcrlf>").repeated(32767) + "y\r\n");
    r = ReadDocumentFile(many);
    EXPECT_FALSE(r.document);
    EXPECT_TRUE(r.reason.contains(QStringLiteral("32768 links"))) << r.reason.toStdString();
}

TEST(DocumentFile, UnreadableFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads files without read permission";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("geheim.vkv"));
    writeBytes(path, *documentFileBytes(sample()));
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::WriteOwner));
    const DocumentReadResult r = ReadDocumentFile(path);
    EXPECT_FALSE(r.document);
    EXPECT_TRUE(r.reason.contains(QStringLiteral("kan niet worden gelezen"))) << r.reason.toStdString();
}

TEST(DocumentFile, FullDiskLeavesTheOldFileWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("artikel.vkv"));
    ASSERT_TRUE(WriteDocumentFile(path, sample()).ok);
    const QByteArray old = readBytes(path);

    ArticleDocument longer = sample();
    longer.field("txtBouw") = QStringLiteral("lang verhaal ").repeated(2000);
    Outcome result;
    {
        FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.ok());
        result = WriteDocumentFile(path, longer);
    }
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.reason.contains(QLatin1Char('"') + path + QLatin1Char('"'))) << result.reason.toStdString();
    EXPECT_TRUE(result.reason.contains(QStringLiteral("niet gewijzigd"))) << result.reason.toStdString();
    // The system's cause in Dutch, not the C library's English.
    EXPECT_TRUE(result.reason.contains(QStringLiteral(": het bestand is te groot voor de schijf.")))
        << result.reason.toStdString();
    EXPECT_FALSE(result.reason.contains(QStringLiteral("File too large"))) << result.reason.toStdString();
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("artikel.vkv")});  // no temporary file left

    // With room again the same document is written whole.
    ASSERT_TRUE(WriteDocumentFile(path, longer).ok);
    EXPECT_EQ(readBytes(path), documentFileBytes(longer));
}

TEST(DocumentFile, WriteWhereNoFileCanBe)
{
    QTemporaryDir dir;
    const QString plain = dir.filePath(QStringLiteral("gewoon"));
    writeBytes(plain, "geen map");
    const QString under = plain + QStringLiteral("/artikel.vkv");
    Outcome result = WriteDocumentFile(under, sample());
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.reason.contains(QLatin1Char('"') + under + QLatin1Char('"'))) << result.reason.toStdString();
    EXPECT_TRUE(result.reason.endsWith(QStringLiteral(": een deel van het pad is geen map."))) << result.reason.toStdString();
    EXPECT_FALSE(result.reason.contains(QStringLiteral("Not a directory"))) << result.reason.toStdString();
    EXPECT_EQ(readBytes(plain), QByteArray("geen map"));

    const QString missingFolder = dir.filePath(QStringLiteral("nergens/artikel.vkv"));
    result = WriteDocumentFile(missingFolder, sample());
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(QFile::exists(missingFolder));

    // A folder of that name is not replaced.
    const QString folder = dir.filePath(QStringLiteral("map.vkv"));
    ASSERT_TRUE(QDir().mkdir(folder));
    writeBytes(folder + QStringLiteral("/binnen"), "blijft");
    result = WriteDocumentFile(folder, sample());
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(readBytes(folder + QStringLiteral("/binnen")), QByteArray("blijft"));
}

TEST(DocumentFile, ReadOnlyFolderLeavesTheOldFileWhole)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("alleen-lezen"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString path = folder + QStringLiteral("/artikel.vkv");
    ASSERT_TRUE(WriteDocumentFile(path, sample()).ok);
    const QByteArray old = readBytes(path);
    ASSERT_TRUE(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    ArticleDocument changed = sample();
    changed.field("txtTitel") = QStringLiteral("Anders");
    const Outcome result = WriteDocumentFile(path, changed);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.reason.contains(QLatin1Char('"') + path + QLatin1Char('"'))) << result.reason.toStdString();
    EXPECT_EQ(readBytes(path), old);
}

TEST(DocumentFile, RefusesWhatWouldNotReadBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("artikel.vkv"));
    ASSERT_TRUE(WriteDocumentFile(path, sample()).ok);
    const QByteArray old = readBytes(path);

    ArticleDocument field = sample();
    field.field("txtGrootte") = QStringLiteral("5 cm<vbcrlf>6 cm");
    ArticleDocument link = sample();
    link.links << QStringLiteral("a<ulrcrlf>b, c.htm");
    ArticleDocument linkField = sample();
    linkField.links.prepend(QStringLiteral("a<vbcrlf>b, c.htm"));
    ArticleDocument letter = sample();
    letter.field("txtAuteur") = QString::fromUtf8("Paweł");

    for (const ArticleDocument& doc : {field, link, linkField, letter}) {
        const Outcome result = WriteDocumentFile(path, doc);
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.reason.isEmpty());
        EXPECT_FALSE(documentFileBytes(doc));
        EXPECT_EQ(readBytes(path), old);
    }
    EXPECT_EQ(placesWithMarkers(field), (std::vector<DocumentPlace>{{DocumentPlace::Kind::Field, 9}}));
    EXPECT_EQ(placesWithMarkers(link), (std::vector<DocumentPlace>{{DocumentPlace::Kind::Link, 1}}));
    EXPECT_EQ(placesWithMarkers(linkField), (std::vector<DocumentPlace>{{DocumentPlace::Kind::Link, 0}}));
    EXPECT_TRUE(placesWithMarkers(letter).empty());
    // A link marker in a field reads back fine.
    ArticleDocument harmless = sample();
    harmless.field("txtBouw") = QStringLiteral("<ulrcrlf>");
    EXPECT_TRUE(placesWithMarkers(harmless).empty());
}

TEST(DocumentFile, PlacesAreNamedAsTheWriterSeesThem)
{
    ArticleDocument doc;
    const QString fish = QString::fromUtf8("\xF0\x9F\x90\xA0");
    doc.field("txtTitel") = QString::fromUtf8("Łososiowate");
    doc.field("txtInleiding") = QStringLiteral("vis ") + fish;
    doc.field("txtGedragLeeftijd") = QString::fromUtf8("ł");
    doc.field("txtConclusie") = fish + fish;
    doc.links << QStringLiteral("goed, a.htm") << QStringLiteral("Foto ") + fish + QStringLiteral(", b.htm");

    const std::vector<UnencodableText> found = placesWithUnencodable(doc);
    ASSERT_EQ(found.size(), 5u);
    QStringList names;
    for (const UnencodableText& f : found)
        names << describePlace(doc, f.place);
    EXPECT_EQ(names, QStringList({QStringLiteral("Titel van het artikel:"), QStringLiteral("Stap 1: Inleiding"),
                                  QStringLiteral("Gedrag in relatie tot leeftijd"), QStringLiteral("Stap 11: Conclusie"),
                                  QStringLiteral("link 2 (\"Foto ") + fish + QStringLiteral(", b.htm\")")}));
    EXPECT_EQ(found[0].characters, QStringList{QString::fromUtf8("Ł")});
    EXPECT_EQ(found[3].characters, QStringList{fish});

    const ArticleDocument replaced = withUnencodableReplaced(doc);
    EXPECT_EQ(replaced.field("txtTitel"), QStringLiteral("?ososiowate"));
    EXPECT_EQ(replaced.field("txtConclusie"), QStringLiteral("??"));
    EXPECT_EQ(replaced.links.at(1), QStringLiteral("Foto ?, b.htm"));
    EXPECT_TRUE(placesWithUnencodable(replaced).empty());
    EXPECT_TRUE(documentFileBytes(replaced));
}

TEST(DocumentFile, FilesInUtf8FromElsewhereReadAsUtf8)
{
    const QByteArray fields = QByteArray("<vbcrlf>").repeated(26);
    // Valid UTF-8 beyond ASCII: an editor on another system saved it.
    DocumentReadResult r = parseDocumentFile("Caf\xC3\xA9 na\xC3\xAF\xC3\xAB" "f \xE2\x82\xAC \xC5\x82<vbcrlf>" + fields +
                                                 "Caf\xC3\xA9, caf\xC3\xA9.htm\r\n",
                                             QStringLiteral("utf8.vkv"));
    ASSERT_TRUE(r.document) << r.reason.toStdString();
    EXPECT_EQ(r.document->field("txtTitel"), QString::fromUtf8("Café naïëf € ł"));
    EXPECT_EQ(r.document->links, QStringList{QString::fromUtf8("Café, café.htm")});
    EXPECT_TRUE(r.notice.isEmpty());

    // A byte-order mark makes it UTF-8 even when all else is ASCII; the mark is no text.
    r = parseDocumentFile("\xEF\xBB\xBFGuppy<vbcrlf>" + fields + "\r\n", QStringLiteral("bom.vkv"));
    ASSERT_TRUE(r.document) << r.reason.toStdString();
    EXPECT_EQ(r.document->field("txtTitel"), QStringLiteral("Guppy"));

    // A character cut by the reader's pieces (64 KB) is still one character.
    const QByteArray longTitle = QByteArray(64 * 1024 - 1, 'a') + "\xC3\xA9";
    r = parseDocumentFile(longTitle + "<vbcrlf>" + fields + "\r\n", QStringLiteral("lang.vkv"));
    ASSERT_TRUE(r.document) << r.reason.toStdString();
    EXPECT_TRUE(r.document->field("txtTitel").endsWith(QStringLiteral("a\u00e9")));
    EXPECT_EQ(r.document->field("txtTitel").size(), 64 * 1024);
}

TEST(DocumentFile, Windows1252StaysWindows1252)
{
    const QByteArray fields = QByteArray("<vbcrlf>").repeated(26);
    // Bytes that are no UTF-8: this program's own files.
    DocumentReadResult r = parseDocumentFile("Caf\xE9 \x80<vbcrlf>" + fields + "\r\n", QStringLiteral("a.vkv"));
    ASSERT_TRUE(r.document);
    EXPECT_EQ(r.document->field("txtTitel"), QString::fromUtf8("Café €"));
    // One byte that is not UTF-8 anywhere in the file decides, also far after valid sequences.
    r = parseDocumentFile("Caf\xC3\xA9<vbcrlf>" + fields + QByteArray(100000, 'x') + "\xE9\r\n",
                          QStringLiteral("b.vkv"));
    ASSERT_TRUE(r.document);
    EXPECT_EQ(r.document->field("txtTitel"), QString::fromUtf8("CafÃ©"));
    EXPECT_TRUE(r.document->links.first().endsWith(QString::fromUtf8("xé")));
    // Written back, it is the same bytes.
    EXPECT_EQ(documentFileBytes(*r.document),
              "Caf\xC3\xA9<vbcrlf>" + fields + QByteArray(100000, 'x') + "\xE9\r\n");
}

TEST(DocumentFile, MoreThanTwentySevenFieldsOpensWithANotice)
{
    const QByteArray bytes = "Titel<vbcrlf>" + QByteArray("<vbcrlf>").repeated(26) +
                             "Foto, foto.jpg<vbcrlf>Veld 28<vbcrlf>Veld 29\r\n";
    const DocumentReadResult r = parseDocumentFile(bytes, QStringLiteral("/map/nieuwer.vkv"));
    ASSERT_TRUE(r.document) << r.reason.toStdString();
    EXPECT_TRUE(r.reason.isEmpty());
    EXPECT_EQ(r.document->field("txtTitel"), QStringLiteral("Titel"));
    EXPECT_EQ(r.document->links, QStringList{QStringLiteral("Foto, foto.jpg")});
    EXPECT_TRUE(r.notice.contains(QStringLiteral("\"/map/nieuwer.vkv\""))) << r.notice.toStdString();
    EXPECT_TRUE(r.notice.contains(QStringLiteral("meer dan 27 veldmarkeringen"))) << r.notice.toStdString();
    EXPECT_TRUE(r.notice.contains(QStringLiteral("weggelaten"))) << r.notice.toStdString();

    // Exactly 27: nothing to say.
    EXPECT_TRUE(parseDocumentFile(QByteArray("<vbcrlf>").repeated(27) + "\r\n", QStringLiteral("x")).notice.isEmpty());
}

TEST(DocumentFile, TextThatLooksLikeUtf8ReadsBackAsWritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("mojibake.vkv"));
    ArticleDocument doc = sample();
    doc.field("txtTitel") = QString::fromUtf8("CafÃ©");  // its Windows-1252 bytes are UTF-8 for "é"
    doc.field("txtInleiding") = QStringLiteral("Regel");
    ASSERT_TRUE(WriteDocumentFile(path, doc).ok);
    EXPECT_TRUE(readBytes(path).startsWith("\xEF\xBB\xBF"));
    const DocumentReadResult read = ReadDocumentFile(path);
    ASSERT_TRUE(read.document) << read.reason.toStdString();
    EXPECT_EQ(*read.document, doc);

    // A text that starts as the mark does in the code page.
    doc.field("txtTitel") = QString::fromUtf8("ï»¿ begin");
    ASSERT_TRUE(WriteDocumentFile(path, doc).ok);
    EXPECT_EQ(ReadDocumentFile(path).document, doc);

    // Everything else stays one byte per character, without a mark.
    ASSERT_TRUE(WriteDocumentFile(path, sample()).ok);
    EXPECT_FALSE(readBytes(path).startsWith("\xEF\xBB\xBF"));
}

// The recovery copy: its file, the store of one running program, and the
// copies that runs which did not end normally leave behind.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "document/documentformat.h"
#include "document/recovery.h"

using namespace vinkring;

namespace {

RecoveryCopy sampleCopy()
{
    RecoveryCopy copy;
    copy.document = defaultDocument();
    copy.document.field("txtTitel") = QString::fromUtf8("Łódź-guppy 🐟 – 鱼");
    copy.document.field("txtInleiding") = QStringLiteral("Regel een\r\nRegel twee\r\n");
    // Texts the document file cannot carry come back too.
    copy.document.field("txtBouw") = QStringLiteral("een <vbcrlf> in de tekst");
    copy.document.links << QStringLiteral("Foto, foto.jpg") << QStringLiteral("a<ulrcrlf>b, c") << QString();
    copy.fileName = QStringLiteral("/home/els/artikelen/\"guppy\"\n.VKV");
    copy.savedAt = QDateTime(QDate(2024, 6, 5), QTime(14, 32, 7, 123), Qt::UTC);
    return copy;
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// A program that wrote a copy in folder and waits; killed, it is a crash.
class WritingProgram {
public:
    WritingProgram(const QString& folder, const QString& title)
    {
        process_.start(QStringLiteral(VINKRING_RECOVERY_WRITER), {folder, title});
        if (process_.waitForReadyRead(30000))
            copyPath_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
    }
    ~WritingProgram() { crash(); }
    QString copyPath() const { return copyPath_; }
    void crash()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();  // SIGKILL
            process_.waitForFinished();
        }
    }

private:
    QProcess process_;
    QString copyPath_;
};

}  // namespace

TEST(RecoveryFile, KeepsEveryCharacterAndEveryText)
{
    const RecoveryCopy copy = sampleCopy();
    const QByteArray bytes = recoveryBytes(copy);
    // A header line, then the document string in UTF-8.
    const qsizetype lineEnd = bytes.indexOf('\n');
    ASSERT_GT(lineEnd, 0);
    EXPECT_EQ(bytes.mid(lineEnd + 1), SerializeDocument(copy.document).toUtf8());

    const std::optional<RecoveryCopy> back = parseRecovery(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, copy);
    EXPECT_EQ(back->document.field("txtTitel"), copy.document.field("txtTitel"));
    EXPECT_EQ(back->savedAt.time().msec(), 123);

    RecoveryCopy empty;
    empty.savedAt = copy.savedAt;
    EXPECT_EQ(parseRecovery(recoveryBytes(empty)), empty);
}

TEST(RecoveryFile, RefusesAnythingButAWholeCopy)
{
    const QByteArray bytes = recoveryBytes(sampleCopy());
    // Cut short anywhere: never taken for a copy.
    for (qsizetype size = 0; size < bytes.size(); ++size)
        EXPECT_FALSE(parseRecovery(bytes.first(size))) << size;
    EXPECT_FALSE(parseRecovery(bytes + "x"));
    // A text one character longer than its header says.
    QByteArray longer = bytes;
    longer.replace("Regel een", "Regel eenn");
    EXPECT_FALSE(parseRecovery(longer));
    // Not UTF-8, another format, a document file.
    QByteArray broken = bytes;
    broken.replace("Regel", "R\xff\xfegel");
    EXPECT_FALSE(parseRecovery(broken));
    QByteArray other = bytes;
    other.replace("herstelkopie", "iets anders");
    EXPECT_FALSE(parseRecovery(other));
    EXPECT_FALSE(parseRecovery(QByteArray("<vbcrlf>").repeated(27) + "\r\n"));
}

TEST(RecoveryStore, WritesRemovesAndKeepsToItsOwnFile)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("state/vinkring-artikel"));
    RecoveryStore first(folder);
    ASSERT_TRUE(first.isOpen()) << first.problem().toStdString();
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(QFileInfo(folder).permissions() & (QFile::ReadOther | QFile::WriteOther | QFile::ReadGroup),
              QFile::Permissions());
    RecoveryStore second(folder);
    ASSERT_TRUE(second.isOpen());
    EXPECT_NE(first.copyPath(), second.copyPath());

    const RecoveryCopy copy = sampleCopy();
    const Outcome written = first.write(copy);
    ASSERT_TRUE(written.ok) << written.reason.toStdString();
    EXPECT_EQ(parseRecovery(readBytes(first.copyPath())), copy);
    // The other program running beside it does not take it.
    EXPECT_TRUE(second.takeLeftOvers().empty());
    EXPECT_TRUE(QFile::exists(first.copyPath()));

    first.remove();
    EXPECT_FALSE(QFile::exists(first.copyPath()));
}

TEST(RecoveryStore, CopiesOfCrashedRunsAreLeftOverAndOthersNot)
{
    QTemporaryDir dir;
    WritingProgram crashed(dir.path(), QStringLiteral("gecrasht"));
    WritingProgram running(dir.path(), QStringLiteral("loopt nog"));
    ASSERT_FALSE(crashed.copyPath().isEmpty());
    ASSERT_FALSE(running.copyPath().isEmpty());
    crashed.crash();

    RecoveryStore store(dir.path());
    std::vector<RecoveryStore::LeftOver> found = store.takeLeftOvers();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].path, crashed.copyPath());
    ASSERT_TRUE(found[0].copy);
    EXPECT_EQ(found[0].copy->document.field("txtTitel"), QStringLiteral("gecrasht"));
    EXPECT_EQ(found[0].copy->fileName, QStringLiteral("/ergens/artikel.VKV"));

    // While this run holds it, a third program does not see it either.
    RecoveryStore third(dir.path());
    EXPECT_TRUE(third.takeLeftOvers().empty());

    ASSERT_TRUE(store.adopt(found[0]));
    EXPECT_FALSE(QFile::exists(crashed.copyPath()));
    EXPECT_EQ(parseRecovery(readBytes(store.copyPath()))->document.field("txtTitel"), QStringLiteral("gecrasht"));
    EXPECT_TRUE(third.takeLeftOvers().empty());  // it is the first store's own copy now
}

TEST(RecoveryStore, LeftOversComeNewestFirstAndCanBeThrownAwayOrKept)
{
    QTemporaryDir dir;
    for (int minute : {10, 30, 20}) {
        RecoveryStore ended(dir.path());
        RecoveryCopy copy = sampleCopy();
        copy.savedAt = QDateTime(QDate(2024, 6, 5), QTime(14, minute), Qt::UTC);
        ASSERT_TRUE(ended.write(copy).ok);
    }  // each store lets go of its lock and leaves its copy: as a run that was killed
    QFile broken(dir.filePath(QStringLiteral("20240101-000000-1.herstel")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("{\"format\":\"vinkring-artikel herstelkopie\"");
    broken.close();

    RecoveryStore store(dir.path());
    {
        std::vector<RecoveryStore::LeftOver> found = store.takeLeftOvers();
        ASSERT_EQ(found.size(), 4u);
        EXPECT_EQ(found[0].copy->savedAt.time().minute(), 30);
        EXPECT_EQ(found[1].copy->savedAt.time().minute(), 20);
        EXPECT_EQ(found[2].copy->savedAt.time().minute(), 10);
        EXPECT_FALSE(found[3].copy);
        store.discard(found[0]);
        const QString aside = store.setAside(found[3]);
        EXPECT_TRUE(aside.endsWith(QStringLiteral(".onleesbaar")));
        EXPECT_EQ(readBytes(aside), QByteArray("{\"format\":\"vinkring-artikel herstelkopie\""));
    }  // the other two are let go
    std::vector<RecoveryStore::LeftOver> again = store.takeLeftOvers();
    ASSERT_EQ(again.size(), 2u);
    EXPECT_EQ(again[0].copy->savedAt.time().minute(), 20);
}

TEST(RecoveryStore, LocksOfEndedRunsWithoutACopyAreClearedAway)
{
    QTemporaryDir dir;
    {
        WritingProgram crashed(dir.path(), QStringLiteral("x"));
        ASSERT_FALSE(crashed.copyPath().isEmpty());
        crashed.crash();
        ASSERT_TRUE(QFile::remove(crashed.copyPath()));
    }
    ASSERT_EQ(filesIn(dir.path()).filter(QStringLiteral(".lock")).size(), 1);
    RecoveryStore store(dir.path());
    EXPECT_TRUE(store.takeLeftOvers().empty());
    // Only this run's own lock is left.
    EXPECT_EQ(filesIn(dir.path()).filter(QStringLiteral(".lock")).size(), 1);
}

TEST(RecoveryStore, AFolderThatCannotBeMadeSaysWhy)
{
    QTemporaryDir dir;
    QFile plain(dir.filePath(QStringLiteral("bestand")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    RecoveryStore store(plain.fileName() + QStringLiteral("/vinkring-artikel"));
    EXPECT_FALSE(store.isOpen());
    EXPECT_EQ(store.problem().toStdString(), "een deel van het pad is geen map");
    const Outcome result = store.write(sampleCopy());
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.reason, store.problem());
    EXPECT_TRUE(store.takeLeftOvers().empty());
}

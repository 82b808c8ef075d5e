// The recovery copy: its file, the store of one running program, and the
// copies that runs which did not end normally leave behind.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <future>
#include <thread>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/stat.h>

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

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// A program that wrote a copy in folder and waits; killed, it is a crash.
// Started through a command (unshare ...) when one is given.
class WritingProgram {
public:
    WritingProgram(const QString& folder, const QString& title, QStringList through = {})
    {
        through << QStringLiteral(VINKRING_RECOVERY_WRITER) << folder << title;
        process_.start(through.takeFirst(), through);
        if (process_.waitForReadyRead(30000))
            copyPath_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
    }
    ~WritingProgram() { crash(); }
    QString copyPath() const { return copyPath_; }
    void crash()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        // Started through a command, the writer is its child: killed first,
        // so that the command ends only once the writer has.
        const QString pid = QString::number(process_.processId());
        const QByteArray children = readBytes(QStringLiteral("/proc/%1/task/%1/children").arg(pid)).trimmed();
        if (children.isEmpty())
            process_.kill();  // SIGKILL
        else
            for (const QByteArray& child : children.split(' '))
                ::kill(child.toInt(), SIGKILL);
        process_.waitForFinished();
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
    const auto others = QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
    EXPECT_EQ(QFile::permissions(first.copyPath()) & others, QFile::Permissions());
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

TEST(RecoveryStore, OnlyALivingRunHoldsALock)
{
    // Whatever is left of a killed run's lock file, its copy is offered, and
    // held for this run while it is offered.
    const std::vector<std::pair<const char*, std::function<void(const QString&)>>> spoiled = {
        {"leeg", [](const QString& lock) { QFile(lock).resize(0); }},
        {"nullen", [](const QString& lock) { writeBytes(lock, QByteArray(4096, '\0')); }},
        // Names a process that is always alive, on another machine.
        {"onzin", [](const QString& lock) { writeBytes(lock, "1\nvinkring-artikel\nandere-machine\n\xff\xfe"); }},
        {"map", [](const QString& lock) { QFile::remove(lock), QDir().mkpath(lock + QStringLiteral("/binnen")); }},
    };
    for (const auto& [title, spoil] : spoiled) {
        SCOPED_TRACE(title);
        QTemporaryDir dir;
        WritingProgram crashed(dir.path(), QString::fromLatin1(title));
        ASSERT_FALSE(crashed.copyPath().isEmpty());
        crashed.crash();
        spoil(crashed.copyPath().chopped(8) + QStringLiteral(".lock"));

        RecoveryStore store(dir.path());
        std::vector<RecoveryStore::LeftOver> found = store.takeLeftOvers();
        ASSERT_EQ(found.size(), 1u);
        ASSERT_TRUE(found[0].copy);
        EXPECT_EQ(found[0].copy->document.field("txtTitel"), QString::fromLatin1(title));
        RecoveryStore other(dir.path());
        EXPECT_TRUE(other.takeLeftOvers().empty());
    }

    // In process namespaces of their own, all runs have the same process
    // number; one that is alive keeps its copy, one that was killed does not.
    QTemporaryDir dir;
    const QStringList unshare = {QStringLiteral("unshare"), QStringLiteral("--pid"), QStringLiteral("--fork"),
                                 QStringLiteral("--mount-proc")};
    WritingProgram killed(dir.path(), QStringLiteral("gedood"), unshare);
    if (killed.copyPath().isEmpty())
        GTEST_SKIP() << "no process namespace can be made here";
    killed.crash();
    WritingProgram living(dir.path(), QStringLiteral("levend"), unshare);
    ASSERT_FALSE(living.copyPath().isEmpty());
    RecoveryStore store(dir.path());
    std::vector<RecoveryStore::LeftOver> found = store.takeLeftOvers();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].path, killed.copyPath());
}

TEST(RecoveryStore, AStartNeverWaitsOnWhatIsInItsFolder)
{
    // Beside a good left-over copy, each of these: one that bears a copy's
    // name is set aside as unreadable, unread; the others are no lock held.
    const auto sparse = [](qint64 size) {
        return [size](const QString& path) { return QFile(path).open(QIODevice::WriteOnly) && QFile::resize(path, size); };
    };
    const auto fifo = [](const QString& path) { return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0; };
    const auto folder = [](const QString& path) { return QDir().mkpath(path); };
    const std::vector<std::pair<QString, std::function<bool(const QString&)>>> strangers = {
        {QStringLiteral("30gb.herstel"), sparse(30LL << 30)},
        {QStringLiteral("4gb.herstel"), sparse(4LL << 30)},
        {QStringLiteral("nul.herstel"), [](const QString& path) { return QFile::link("/dev/zero", path); }},
        {QStringLiteral("pijp.herstel"), fifo},
        {QStringLiteral("map.herstel"), folder},
        {QStringLiteral("goed.lock"), fifo},
        {QStringLiteral("goed.lock"), folder},
        {QStringLiteral("ander.lock"), fifo},
    };
    for (const auto& [name, make] : strangers) {
        SCOPED_TRACE(name.toStdString());
        QTemporaryDir dir;
        const QString good = dir.filePath(QStringLiteral("goed.herstel"));
        writeBytes(good, recoveryBytes(sampleCopy()));
        const QString stranger = dir.filePath(name);
        ASSERT_TRUE(make(stranger));

        // A start that waits would never return: the test ends there.
        std::packaged_task<std::vector<RecoveryStore::LeftOver>()> start([&] {
            RecoveryStore store(dir.path());
            std::vector<RecoveryStore::LeftOver> found = store.takeLeftOvers();
            if (!found.empty() && !found.back().copy)
                store.setAside(found.back());
            return found;
        });
        std::future<std::vector<RecoveryStore::LeftOver>> done = start.get_future();
        std::thread(std::move(start)).detach();
        if (done.wait_for(std::chrono::seconds(60)) != std::future_status::ready) {
            ADD_FAILURE() << "the start waits on " << name.toStdString();
            std::_Exit(1);
        }
        const std::vector<RecoveryStore::LeftOver> found = done.get();

        const bool copyName = name.endsWith(QStringLiteral(".herstel"));
        ASSERT_EQ(found.size(), copyName ? 2u : 1u);
        EXPECT_EQ(found[0].copy, sampleCopy());
        if (copyName) {
            EXPECT_FALSE(found[1].copy);
            EXPECT_FALSE(QFileInfo(stranger).exists() || QFileInfo(stranger).isSymLink());
        }
    }
}

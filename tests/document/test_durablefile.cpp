// Whole-file writing and the Dutch reasons of file failures.
#include <gtest/gtest.h>

#include <cerrno>

#include <sys/mount.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "document/durablefile.h"

using namespace vinkring;

namespace {

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A small file system of its own, where the system allows mounting one.
class SmallFileSystem {
public:
    explicit SmallFileSystem(const QString& at, const char* options) : at_(QFile::encodeName(at))
    {
        mounted_ = ::mount("tmpfs", at_.constData(), "tmpfs", 0, options) == 0;
    }
    ~SmallFileSystem()
    {
        if (mounted_)
            ::umount(at_.constData());
    }
    bool mounted() const { return mounted_; }

private:
    QByteArray at_;
    bool mounted_ = false;
};

}  // namespace

TEST(failureReason, NamesTheCauseInDutch)
{
    EXPECT_EQ(failureReason(QFileDevice::WriteError, ENOSPC), QStringLiteral("de schijf is vol"));
    EXPECT_EQ(failureReason(QFileDevice::WriteError, EDQUOT), QStringLiteral("de schijf is vol"));
    EXPECT_EQ(failureReason(QFileDevice::OpenError, EROFS), QStringLiteral("het bestandssysteem is alleen-lezen"));
    EXPECT_EQ(failureReason(QFileDevice::OpenError, EACCES), QStringLiteral("u heeft er geen toegang toe"));
    EXPECT_EQ(failureReason(QFileDevice::OpenError, ENOENT), QStringLiteral("de map bestaat niet"));
    EXPECT_EQ(failureReason(QFileDevice::WriteError, EFBIG), QStringLiteral("het bestand is te groot voor de schijf"));
    // Without a cause the writer can act on, the kind of failure.
    EXPECT_EQ(failureReason(QFileDevice::ReadError, EIO), QStringLiteral("er trad een leesfout op"));
    EXPECT_EQ(failureReason(QFileDevice::ResourceError, 0), QStringLiteral("de schijf is vol"));
    EXPECT_EQ(failureReason(QFileDevice::UnspecifiedError, 0), QStringLiteral("er ging iets mis"));
}

TEST(DurableWrite, ReplacesWholeAndLeavesNothingBeside)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kopie"));
    ASSERT_TRUE(writeFileDurably(path, "eerste").ok);
    ASSERT_TRUE(writeFileDurably(path, "tweede, langer").ok);
    EXPECT_EQ(readBytes(path), QByteArray("tweede, langer"));
    ASSERT_TRUE(writeFileDurably(path, QByteArrayView()).ok);
    EXPECT_EQ(readBytes(path), QByteArray());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("kopie")});
}

TEST(DurableWrite, FailuresGiveTheSystemsCauseInDutch)
{
    QTemporaryDir dir;
    QFile plain(dir.filePath(QStringLiteral("gewoon")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    Outcome result = writeFileDurably(plain.fileName() + QStringLiteral("/kopie"), "x");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.reason, QStringLiteral("een deel van het pad is geen map"));

    result = writeFileDurably(dir.filePath(QStringLiteral("nergens/kopie")), "x");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.reason, QStringLiteral("de map bestaat niet"));
}

TEST(DurableWrite, FullAndReadOnlyFileSystems)
{
    QTemporaryDir dir;
    const QString full = dir.filePath(QStringLiteral("vol"));
    const QString readOnly = dir.filePath(QStringLiteral("alleen-lezen"));
    ASSERT_TRUE(QDir().mkdir(full) && QDir().mkdir(readOnly));
    SmallFileSystem small(full, "size=64k");
    SmallFileSystem locked(readOnly, "ro,size=64k");
    if (!small.mounted() || !locked.mounted())
        GTEST_SKIP() << "this system does not let the tests mount a file system";

    const QString path = full + QStringLiteral("/kopie");
    ASSERT_TRUE(writeFileDurably(path, "oud").ok);
    Outcome result = writeFileDurably(path, QByteArray(256 * 1024, 'x'));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.reason, QStringLiteral("de schijf is vol"));
    EXPECT_EQ(readBytes(path), QByteArray("oud"));

    result = writeFileDurably(readOnly + QStringLiteral("/kopie"), "x");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.reason, QStringLiteral("het bestandssysteem is alleen-lezen"));
}

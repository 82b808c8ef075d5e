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

TEST(FailureReason, NamesTheCauseInDutch)
{
    EXPECT_EQ(FailureReason(QFileDevice::WriteError, ENOSPC), QStringLiteral("de schijf is vol"));
    EXPECT_EQ(FailureReason(QFileDevice::WriteError, EDQUOT), QStringLiteral("de schijf is vol"));
    EXPECT_EQ(FailureReason(QFileDevice::OpenError, EROFS), QStringLiteral("het bestandssysteem is alleen-lezen"));
    EXPECT_EQ(FailureReason(QFileDevice::OpenError, EACCES), QStringLiteral("u heeft er geen toegang toe"));
    EXPECT_EQ(FailureReason(QFileDevice::OpenError, ENOENT), QStringLiteral("de map bestaat niet"));
    EXPECT_EQ(FailureReason(QFileDevice::WriteError, EFBIG), QStringLiteral("het bestand is te groot voor de schijf"));
    // Without a cause the writer can act on, the kind of failure.
    EXPECT_EQ(FailureReason(QFileDevice::ReadError, EIO), QStringLiteral("er trad een leesfout op"));
    EXPECT_EQ(FailureReason(QFileDevice::ResourceError, 0), QStringLiteral("de schijf is vol"));
    EXPECT_EQ(FailureReason(QFileDevice::UnspecifiedError, 0), QStringLiteral("er ging iets mis"));
}

TEST(WriteFileDurably, ReplacesWholeAndLeavesNothingBeside)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kopie"));
    ASSERT_TRUE(WriteFileDurably(path, "eerste").written);
    ASSERT_TRUE(WriteFileDurably(path, "tweede, langer").written);
    EXPECT_EQ(readBytes(path), QByteArray("tweede, langer"));
    ASSERT_TRUE(WriteFileDurably(path, QByteArrayView()).written);
    EXPECT_EQ(readBytes(path), QByteArray());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("kopie")});
}

TEST(WriteFileDurably, FailuresGiveTheSystemsCauseInDutch)
{
    QTemporaryDir dir;
    QFile plain(dir.filePath(QStringLiteral("gewoon")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    DurableWriteResult result = WriteFileDurably(plain.fileName() + QStringLiteral("/kopie"), "x");
    EXPECT_FALSE(result.written);
    EXPECT_EQ(result.reason, QStringLiteral("een deel van het pad is geen map"));

    result = WriteFileDurably(dir.filePath(QStringLiteral("nergens/kopie")), "x");
    EXPECT_FALSE(result.written);
    EXPECT_EQ(result.reason, QStringLiteral("de map bestaat niet"));
}

TEST(WriteFileDurably, FullAndReadOnlyFileSystems)
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
    ASSERT_TRUE(WriteFileDurably(path, "oud").written);
    DurableWriteResult result = WriteFileDurably(path, QByteArray(256 * 1024, 'x'));
    EXPECT_FALSE(result.written);
    EXPECT_EQ(result.reason, QStringLiteral("de schijf is vol"));
    EXPECT_EQ(readBytes(path), QByteArray("oud"));

    result = WriteFileDurably(readOnly + QStringLiteral("/kopie"), "x");
    EXPECT_FALSE(result.written);
    EXPECT_EQ(result.reason, QStringLiteral("het bestandssysteem is alleen-lezen"));
}

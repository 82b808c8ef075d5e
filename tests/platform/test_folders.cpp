// Which folders count as the user's own: a build or a portable copy, never a
// system folder, never another user's.
#include <gtest/gtest.h>

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/folders.h"

using namespace vinkring;

namespace {

TEST(UsersFolder, OwnFolderOnlyForItsOwner)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const unsigned me = geteuid();
    EXPECT_TRUE(isUsersFolder(tmp.path(), me));
    EXPECT_FALSE(isUsersFolder(tmp.path(), me + 1));
    // A path that is not a folder, or nothing at all.
    QFile file(tmp.filePath(QStringLiteral("vinkring-artikel")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    EXPECT_FALSE(isUsersFolder(file.fileName(), me));
    EXPECT_FALSE(isUsersFolder(tmp.filePath(QStringLiteral("weg")), me));
    EXPECT_FALSE(isUsersFolder(QString(), me));
}

TEST(UsersFolder, SystemFoldersNeverEvenForTheirOwner)
{
    for (const char* folder : {"/usr/bin", "/usr/local/bin", "/usr", "/opt", "/bin"}) {
        const QFileInfo info(QString::fromLatin1(folder));
        if (!info.isDir())
            continue;
        EXPECT_FALSE(isUsersFolder(info.filePath(), info.ownerId())) << folder;
        EXPECT_FALSE(isUsersFolder(info.filePath(), 0)) << folder;
    }
    // Also through a link of the user's own that leads there.
    QTemporaryDir tmp;
    const QString link = tmp.filePath(QStringLiteral("bin"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/usr/bin"), link));
    EXPECT_FALSE(isUsersFolder(link, QFileInfo(QStringLiteral("/usr/bin")).ownerId()));
    // A folder whose name only starts like a system folder's is not one.
    EXPECT_TRUE(isUsersFolder(tmp.path(), geteuid()));
}

TEST(UsersFolder, TheProgramsFolderOfABuildIsTheUsers)
{
    QtFolders folders;
    EXPECT_EQ(folders.programFolder(), QCoreApplication::applicationDirPath());
    EXPECT_EQ(folders.programFolderIsUsers(), QFileInfo(folders.programFolder()).ownerId() == geteuid());
}

}  // namespace

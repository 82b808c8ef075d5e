// The recent documents' list file: what is no plain file is passed over,
// never waited on.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QFile>
#include <QTemporaryDir>

#include "document/recentdocuments.h"

using namespace vinkring;

namespace {

TEST(RecentDocuments, AListFileThatIsNoPlainFileIsPassedOver)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("recent-documents"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_TRUE(RecentDocuments(fifo).paths().isEmpty());  // would wait for a writer for ever

    const QString device = dir.filePath(QStringLiteral("zero"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), device));
    EXPECT_TRUE(RecentDocuments(device).paths().isEmpty());

    // A link to a plain list is read, as dotfiles kept elsewhere are.
    const QString real = dir.filePath(QStringLiteral("kept"));
    RecentDocuments(real).add(dir.filePath(QStringLiteral("a.vvk")));
    const QString linked = dir.filePath(QStringLiteral("linked"));
    ASSERT_TRUE(QFile::link(real, linked));
    EXPECT_EQ(RecentDocuments(linked).paths(), QStringList{dir.filePath("a.vvk")});
}

}  // namespace

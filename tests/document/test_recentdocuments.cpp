// The recent documents kept across runs: newest first, each once, at most
// eight; a list file that is no plain file is passed over, never waited on.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "document/recentdocuments.h"

using namespace vinkring;

namespace {

TEST(RecentDocuments, NewestFirstOnceAtMostEightAndKeptAcrossRuns)
{
    QTemporaryDir dir;
    const QString list = dir.filePath(QStringLiteral("recent-documents"));
    RecentDocuments recent(list);
    for (int i = 0; i < 10; ++i)
        recent.add(dir.filePath(QStringLiteral("doc%1.vvk").arg(i)));
    recent.add(dir.filePath(QStringLiteral("doc5.vvk")));
    recent.remove(dir.filePath(QStringLiteral("doc9.vvk")));

    const QStringList expected{dir.filePath("doc5.vvk"), dir.filePath("doc8.vvk"), dir.filePath("doc7.vvk"),
                               dir.filePath("doc6.vvk"), dir.filePath("doc4.vvk"), dir.filePath("doc3.vvk"),
                               dir.filePath("doc2.vvk")};
    EXPECT_EQ(recent.paths(), expected);
    EXPECT_EQ(RecentDocuments(list).paths(), expected);
}

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

// The command line takes one optional document and nothing else.
#include <gtest/gtest.h>

#include <QDir>

#include "app/startuparguments.h"

using vinkring::parseStartupArguments;

TEST(StartupArguments, NoArgumentOpensNothing)
{
    const auto args = parseStartupArguments({QStringLiteral("vinkring-artikel")});
    EXPECT_TRUE(args.ok);
    EXPECT_FALSE(args.document.has_value());
}

TEST(StartupArguments, OneDocumentIsMadeAbsolute)
{
    const auto args = parseStartupArguments({QStringLiteral("vinkring-artikel"), QStringLiteral("Guppy.VKV")});
    ASSERT_TRUE(args.ok);
    ASSERT_TRUE(args.document.has_value());
    EXPECT_EQ(*args.document, QDir::current().absoluteFilePath(QStringLiteral("Guppy.VKV")));

    const auto spaced = parseStartupArguments({QStringLiteral("x"), QStringLiteral("/tmp/mijn vis #1.vkv")});
    EXPECT_EQ(spaced.document.value(), QStringLiteral("/tmp/mijn vis #1.vkv"));
}

TEST(StartupArguments, AnythingElseIsRefusedWithUsage)
{
    for (const QStringList& line : {QStringList{"x", "a.vkv", "b.vkv"}, QStringList{"x", "--onzin"},
                                    QStringList{"x", "-v"}}) {
        const auto args = parseStartupArguments(line);
        EXPECT_FALSE(args.ok) << line.join(' ').toStdString();
        EXPECT_TRUE(args.reason.contains(QStringLiteral("Gebruik: vinkring-artikel [DOCUMENT.VKV]")));
    }
    EXPECT_TRUE(parseStartupArguments({"x", "--onzin"}).reason.contains(QStringLiteral("--onzin")));
}


#pragma once
// Enchant looks in a configuration folder of the test's own: the project's
// small test dictionary (language "vk") in its hunspell/ folder, the personal
// word lists beside it. Needs VINKRING_SPELLING_TEST_DATA.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace vinkring::test {

class EnchantFolder {
public:
    EnchantFolder()
    {
        previous_ = qgetenv("ENCHANT_CONFIG_DIR");
        hadPrevious_ = qEnvironmentVariableIsSet("ENCHANT_CONFIG_DIR");
        const QString hunspell = dir_.filePath(QStringLiteral("hunspell"));
        QDir().mkpath(hunspell);
        for (const char* name : {"vk.aff", "vk.dic"}) {
            const QString from = QStringLiteral(VINKRING_SPELLING_TEST_DATA "/hunspell/") + QLatin1String(name);
            EXPECT_TRUE(QFile::copy(from, hunspell + QLatin1Char('/') + QLatin1String(name))) << name;
        }
        qputenv("ENCHANT_CONFIG_DIR", QFile::encodeName(dir_.path()));
    }
    ~EnchantFolder()
    {
        if (hadPrevious_)
            qputenv("ENCHANT_CONFIG_DIR", previous_);
        else
            qunsetenv("ENCHANT_CONFIG_DIR");
    }
    EnchantFolder(const EnchantFolder&) = delete;
    EnchantFolder& operator=(const EnchantFolder&) = delete;

    QString personalWordList(const QString& language) const
    {
        return dir_.filePath(language + QStringLiteral(".dic"));
    }

private:
    QTemporaryDir dir_;
    QByteArray previous_;
    bool hadPrevious_ = false;
};

}  // namespace vinkring::test

// Test main for tests that need a QApplication (headless: offscreen).
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vinkring-artikel-tests"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vinkring Artikel Template"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

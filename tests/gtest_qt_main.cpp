// GoogleTest main on the kind of Qt application a test binary needs:
// QCoreApplication, QGuiApplication or QApplication (headless: offscreen).
#include <gtest/gtest.h>

#if defined(VINKRING_TEST_WIDGETS)
#include <QApplication>
using TestApplication = QApplication;
#elif defined(VINKRING_TEST_GUI)
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TestApplication app(argc, argv);
    TestApplication::setApplicationName(QStringLiteral("vinkring-artikel-tests"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

#include <cstdio>
#include <optional>

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QMetaObject>

#include "app/form1.h"
#include "platform/automation.h"
#include "platform/clipboard.h"
#include "platform/filedialog.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "platform/systembrowser.h"
#include "spelling/spellingsheet.h"

namespace {

// The command line holds nothing but, optionally, one document file to open
// at start-up (a double-clicked file). Anything else prints the usage.
struct StartupArguments {
    bool valid = false;
    std::optional<QString> document;
};

StartupArguments parseArguments(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("document"), QString());
    QString problem;
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        const QString dashes = unknown.value(0).size() == 1 ? QStringLiteral("-") : QStringLiteral("--");
        problem = unknown.isEmpty() ? parser.errorText()
                                    : QStringLiteral("onbekende optie: %1%2").arg(dashes, unknown.first());
    } else if (parser.positionalArguments().size() > 1) {
        problem = QStringLiteral("niet meer dan één document tegelijk");
    }
    if (!problem.isEmpty()) {
        const QString usage = QStringLiteral("vinkring-artikel: %1\n"
                                             "Gebruik: vinkring-artikel [DOCUMENT.VKV]\n")
                                  .arg(problem);
        std::fputs(qPrintable(usage), stderr);
        return {};
    }
    StartupArguments result{true, std::nullopt};
    if (!parser.positionalArguments().isEmpty()) {
        const QString path = parser.positionalArguments().first();
        result.document = path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
    }
    return result;
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vinkring-artikel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vinkring Artikel Template"));
    // Ties the window to its desktop entry and icon once installed.
    QGuiApplication::setDesktopFileName(QStringLiteral("nl.vinkring.Artikel"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("nl.vinkring.Artikel")));

    // Qt's own dialogs (file dialog, replace question) speak Dutch as well.
    QTranslator qtDutch;
    if (qtDutch.load(QLocale(QLocale::Dutch, QLocale::Netherlands), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtDutch);

    const StartupArguments startup = parseArguments(QApplication::arguments());
    if (!startup.valid)
        return 2;

    vinkring::QtMessageBox messageBox;
    vinkring::QtClipboard clipboard;
    vinkring::QtFileDialog fileDialog;
    vinkring::QtFolders folders;
    vinkring::RegistryAutomation automation;
    vinkring::SpellingSheetFactory spellingSheets(messageBox);
    automation.registerClass(QStringLiteral("excel.application"), [&spellingSheets] { return spellingSheets.create(); });
    automation.registerClass(QStringLiteral("internetexplorer.application"), [] { return vinkring::createSystemBrowser(); });
    vinkring::PlatformServices services{messageBox, clipboard, fileDialog, folders, automation};

    vinkring::Form1 window(services);
    messageBox.setParent(&window);
    fileDialog.setParent(&window);
    window.show();
    if (startup.document) {
        // Once the window is up, so that a message about the file has its parent.
        QMetaObject::invokeMethod(
            &window, [&window, path = *startup.document] { window.openAtStartup(path); }, Qt::QueuedConnection);
    }
    return QApplication::exec();
}

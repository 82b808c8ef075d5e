#include <cstdio>

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QMetaObject>

#include "app/form1.h"
#include "app/startuparguments.h"
#include "platform/automation.h"
#include "platform/clipboard.h"
#include "platform/filedialog.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "platform/systembrowser.h"
#include "spelling/spellingsheet.h"

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

    const vinkring::StartupArguments startup = vinkring::parseStartupArguments(QApplication::arguments());
    if (!startup.valid) {
        std::fputs(qPrintable(startup.problem), stderr);
        return 2;
    }

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

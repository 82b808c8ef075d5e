#include "app/programservices.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>

#include "model/fieldtable.h"
#include "model/texts.h"
#include "platform/systembrowser.h"

namespace vinkring {

ProgramServices::ProgramServices()
{
    automation.registerClass(toQString(texts::kProgIdSpreadsheet),
                             [this] { return spellingSheets.create(); });
    automation.registerClass(toQString(texts::kProgIdBrowser),
                             [] { return createSystemBrowser(); });
}

void setUpApplication(QTranslator& qtDutch)
{
    QApplication::setApplicationName(QStringLiteral("vinkring-artikel"));
    // No display name: Qt would append it to every window title that does not
    // end with it ("... Melding — Vinkring Artikel Template"). Each window sets
    // its own title.
    // Ties the window to its desktop entry and icon once installed.
    QGuiApplication::setDesktopFileName(QStringLiteral("nl.vinkring.Artikel"));
    // Qt's own dialogs (file dialog, replace question) speak Dutch as well.
    if (qtDutch.load(QLocale(QLocale::Dutch, QLocale::Netherlands), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtDutch);
}

void holdUntilPainted(ProgramServices& program)
{
    program.spellingSheets.dictionary().holdLoading();
}

void afterFirstPaint(ProgramServices& program)
{
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("nl.vinkring.Artikel")));
    program.spellingSheets.dictionary().resumeLoading();
}

}  // namespace vinkring

#include <cstdio>

#include <QApplication>

#include "window/form1.h"
#include "window/programservices.h"
#include "window/startuparguments.h"
#include "window/windowframe.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QTranslator qtDutch;
    vinkring::setUpApplication(qtDutch);

    const vinkring::StartupArguments startup = vinkring::parseStartupArguments(QApplication::arguments());
    if (!startup.valid) {
        std::fputs(qPrintable(startup.problem), stderr);
        return 2;
    }

    vinkring::ProgramServices program;
    vinkring::Form1 window(program.services, &program.spellingSheets.dictionary());
    program.messageBox.setParent(&window);
    program.fileDialog.setParent(&window);
    window.show();
    if (startup.document) {
        // Once the window stands on the screen, so that a message about the
        // file is centred over it.
        vinkring::whenOnScreen(window, [&window, path = *startup.document] { window.openAtStartup(path); });
    }
    return QApplication::exec();
}

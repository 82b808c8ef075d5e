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
    if (!startup.ok) {
        std::fputs(qPrintable(startup.reason), stderr);
        return 2;
    }

    vinkring::ProgramServices program;
    vinkring::Form1 window(program.services, &program.spellingSheets.dictionary());
    program.messageBox.setParent(&window);
    program.fileDialog.setParent(&window);
    window.show();
    // Once the window stands on the screen, so that the questions are centred
    // over it: first the work a crashed run left behind, then the file asked for.
    vinkring::whenOnScreen(window, [&window, document = startup.document] {
        window.offerLeftOverWork();
        if (document)
            window.openAtStartup(*document);
    });
    return QApplication::exec();
}

#include <cstdio>

#include <QApplication>
#include <QMetaObject>

#include "window/form1.h"
#include "window/programservices.h"
#include "window/startuparguments.h"

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
    vinkring::Form1 window(program.services);
    program.messageBox.setParent(&window);
    program.fileDialog.setParent(&window);
    window.show();
    // Once the window is up, so that the questions have their parent: first
    // the work a crashed run left behind, then the file asked for.
    QMetaObject::invokeMethod(&window, &vinkring::Form1::offerLeftOverWork, Qt::QueuedConnection);
    if (startup.document) {
        QMetaObject::invokeMethod(
            &window, [&window, path = *startup.document] { window.openAtStartup(path); }, Qt::QueuedConnection);
    }
    return QApplication::exec();
}

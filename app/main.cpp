#include <cstdio>

#include <QApplication>
#include <QStyle>

#include "window/programwindow.h"
#include "app/programservices.h"
#include "app/startuparguments.h"
#include "window/form/fontlayout.h"
#include "window/form/windowframe.h"
#include "platform/memory.h"

int main(int argc, char* argv[])
{
    vinkring::returnLargeBlocksAtOnce();
    // Answered before Qt looks for a display, so that they work without one.
    QStringList given;
    for (int i = 0; i < argc; ++i)
        given << QString::fromLocal8Bit(argv[i]);
    if (const std::optional<QString> answer = vinkring::immediateAnswer(given)) {
        std::fputs(qPrintable(*answer), stdout);
        return 0;
    }

    QApplication app(argc, argv);
    QTranslator qtDutch;
    vinkring::setUpApplication(qtDutch);
    // The style chosen (or the desktop's), its icons growing with the font.
    QApplication::setStyle(new vinkring::FontScaledStyle(QApplication::style()->name()));

    const vinkring::StartupArguments startup = vinkring::parseStartupArguments(QApplication::arguments());
    if (!startup.ok) {
        std::fputs(qPrintable(startup.reason), stderr);
        return 2;
    }

    vinkring::ProgramServices program;
    vinkring::holdUntilPainted(program);
    vinkring::ProgramWindow programWindow(program.services, &program.spellingSheets.dictionary(),
                                           vinkring::Form1::Pages::AfterFirstPaint);
    vinkring::Form1& window = programWindow.form();
    program.messageBox.setParent(&window);
    program.fileDialog.setParent(&window);
    window.show();
    // Once the window stands on the screen, painted, so that the questions are
    // centred over it: what the first paint did not need, the work a crashed
    // run left behind, then the file asked for.
    vinkring::whenOnScreen(window, [&program, &window, document = startup.document] {
        vinkring::afterFirstPaint(program);
        window.offerLeftOverWork();
        if (document)
            window.openAtStartup(*document);
    });
    return QApplication::exec();
}

#include <QApplication>

#include "app/form1.h"
#include "platform/automation.h"
#include "platform/clipboard.h"
#include "platform/filedialog.h"
#include "platform/folders.h"
#include "platform/messagebox.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vinkring-artikel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vinkring Artikel Template"));

    vinkring::QtMessageBox messageBox;
    vinkring::QtClipboard clipboard;
    vinkring::QtFileDialog fileDialog;
    vinkring::QtFolders folders;
    vinkring::RegistryAutomation automation;
    vinkring::PlatformServices services{messageBox, clipboard, fileDialog, folders, automation};

    vinkring::Form1 window(services);
    messageBox.setParent(&window);
    fileDialog.setParent(&window);
    window.show();
    return QApplication::exec();
}

#pragma once
// The program's own services for the window benchmarks, with the automation
// classes registered as app/main.cpp registers them.

#include "platform/automation.h"
#include "platform/clipboard.h"
#include "platform/filedialog.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "platform/platformservices.h"
#include "platform/systembrowser.h"
#include "spelling/spellingsheet.h"

namespace vinkring::bench {

struct ProgramServices {
    QtMessageBox messageBox;
    QtClipboard clipboard;
    QtFileDialog fileDialog;
    QtFolders folders;
    RegistryAutomation automation;
    SpellingSheetFactory spellingSheets{messageBox};
    PlatformServices services{messageBox, clipboard, fileDialog, folders, automation};

    ProgramServices()
    {
        automation.registerClass(QStringLiteral("excel.application"), [this] { return spellingSheets.create(); });
        automation.registerClass(QStringLiteral("internetexplorer.application"), [] { return createSystemBrowser(); });
    }
    ProgramServices(const ProgramServices&) = delete;
    ProgramServices& operator=(const ProgramServices&) = delete;
};

}  // namespace vinkring::bench

#pragma once
// The program's own platform services and automation classes, and its
// application set-up: what app/main.cpp starts with.

#include <QTranslator>

#include "platform/automation.h"
#include "platform/clipboard.h"
#include "platform/folders.h"
#include "platform/platformservices.h"
#include "spelling/spellingsheet.h"
#include "window/qtfiledialog.h"
#include "window/qtmessagebox.h"
#include "window/spellingdialog.h"

namespace vinkring {

struct ProgramServices {
    QtMessageBox messageBox;
    QtClipboard clipboard;
    QtFileDialog fileDialog;
    QtFolders folders;
    RegistryAutomation automation;
    SpellingSheetFactory spellingSheets{messageBox, [] { return std::make_unique<QtSpellingPrompt>(); }};
    PlatformServices services{messageBox, clipboard, fileDialog, folders, automation};

    // Registers the browser ("internetexplorer.application") and the spelling
    // component ("excel.application").
    ProgramServices();
    ProgramServices(const ProgramServices&) = delete;
    ProgramServices& operator=(const ProgramServices&) = delete;
};

// Names, icon and Qt's Dutch texts; qtDutch must outlive the application.
void setUpApplication(QTranslator& qtDutch);

}  // namespace vinkring

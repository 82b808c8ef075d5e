#pragma once
// The program's own platform services and automation classes, and its
// application set-up: what app/main.cpp starts with.

#include <QTranslator>

#include "platform/automation.h"
#include "platform/clipboard.h"
#include "platform/folders.h"
#include "platform/platformservices.h"
#include "spelling/spellingsheet.h"
#include "window/dialogs/qtfiledialog.h"
#include "window/dialogs/qtmessagebox.h"
#include "window/dialogs/spellingdialog.h"

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

// Names and Qt's Dutch texts; qtDutch must outlive the application.
void setUpApplication(QTranslator& qtDutch);

// What the window's first paint does not need waits until after it: the
// window icon (looking it up in the icon theme takes about 10 ms) and the
// loading of the Dutch dictionary (a second of a core's work, which would
// slow the start on a busy machine). holdUntilPainted before the window is
// made, afterFirstPaint once it has been painted.
void holdUntilPainted(ProgramServices& program);
void afterFirstPaint(ProgramServices& program);

}  // namespace vinkring

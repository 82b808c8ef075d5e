#pragma once
// Automation objects created by programmatic identifier and called by member
// name, as the browser and the spreadsheet are driven.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <utility>

#include <QString>

#include "model/outcome.h"

namespace vinkring {

class AutomationObject {
public:
    virtual ~AutomationObject() = default;
};

// "internetexplorer.application"
class BrowserObject : public AutomationObject {
public:
    // Loads the file at this full path; does not wait for the page. A failure
    // gives the system's own reason.
    virtual Outcome navigate2(const QString& path) = 0;
    virtual Outcome setVisible(bool visible) = 0;
};

// "excel.application": the calls of one spelling check, one member each.
class SpreadsheetApplication : public AutomationObject {
public:
    virtual std::optional<QString> version() = 0;                      // Version
    virtual std::unique_ptr<AutomationObject> workbooksAdd() = 0;      // Workbooks.Add, null on failure
    virtual bool setActiveCellValue(const QString& value) = 0;         // ActiveCell.Value =
    virtual bool activeCellCheckSpelling() = 0;                        // ActiveCell.CheckSpelling
    virtual std::optional<QString> activeCellText() = 0;               // ActiveCell.Text
    virtual bool activeWorkbookClose(bool saveChanges) = 0;            // ActiveWorkbook.Close
    virtual bool quit() = 0;                                           // Quit
};

class Automation {
public:
    virtual ~Automation() = default;
    // The running instance of the class, or null when none runs.
    virtual std::unique_ptr<AutomationObject> getObject(const QString& progId) = 0;
    // A new instance of the class, or null when it cannot be created.
    virtual std::unique_ptr<AutomationObject> createObject(const QString& progId) = 0;
};

// Automation classes registered by the program at start-up. Identifiers are
// matched without regard to case, as programmatic identifiers are.
class RegistryAutomation final : public Automation {
public:
    using Factory = std::function<std::unique_ptr<AutomationObject>()>;
    void registerClass(const QString& progId, Factory create, Factory running = {});

    std::unique_ptr<AutomationObject> getObject(const QString& progId) override;
    std::unique_ptr<AutomationObject> createObject(const QString& progId) override;

private:
    struct Entry {
        Factory create;
        Factory running;
    };
    std::map<QString, Entry> classes_;
};

}  // namespace vinkring

#include "spelling/spellingcheck.h"

#include <memory>

#include "model/texts.h"
#include "platform/automation.h"

namespace vinkring {

namespace {

// The object models whose Workbooks.Add, ActiveCell and ActiveWorkbook behave
// as the check expects. Compared as whole strings, never as numbers.
bool versionInGate(const QString& version)
{
    return version == QLatin1String("9.0") || version == QLatin1String("10.0")
        || version == QLatin1String("11.0") || version == QLatin1String("8.0");
}

std::unique_ptr<SpreadsheetApplication> asSpreadsheet(std::unique_ptr<AutomationObject> object)
{
    auto* spreadsheet = dynamic_cast<SpreadsheetApplication*>(object.get());
    if (!spreadsheet)
        return nullptr;
    object.release();
    return std::unique_ptr<SpreadsheetApplication>(spreadsheet);
}

}  // namespace

SectionTexts runSpellingCheck(SectionTexts texts, Automation& automation)
{
    const QString progId = toQString(texts::kProgIdSpreadsheet);

    // A running instance is used as it is; one the check starts, it also ends.
    bool started = false;
    std::unique_ptr<SpreadsheetApplication> application = asSpreadsheet(automation.getObject(progId));
    if (!application) {
        application = asSpreadsheet(automation.createObject(progId));
        started = true;
    }
    if (!application)
        return texts;

    // The cell work and the close act on the workbook the check adds, and
    // on nothing else: without one of its own the check leaves them out.
    std::unique_ptr<AutomationObject> workbook;
    const std::optional<QString> version = application->version();
    if (version && versionInGate(*version))
        workbook = application->workbooksAdd();

    if (workbook) {
        for (QString& text : texts) {
            // When the cell refuses the text it still holds an earlier
            // one, which must not come back into this position.
            if (!application->setActiveCellValue(text))
                continue;
            application->activeCellCheckSpelling();
            if (std::optional<QString> checked = application->activeCellText())
                text = std::move(*checked);
        }
        application->activeWorkbookClose(false);
    }

    if (started)
        application->quit();
    return texts;
}

}  // namespace vinkring

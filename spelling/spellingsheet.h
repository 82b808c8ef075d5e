#pragma once
// The spreadsheet-like spelling component behind "excel.application": one
// workbook with one active cell, whose CheckSpelling goes through the cell's
// text word by word with an Enchant dictionary and asks the writer about
// every doubtful word. It lives for one spelling check.

#include <functional>
#include <memory>

#include <QHash>
#include <QString>

#include "platform/automation.h"
#include "spelling/enchantspeller.h"
#include "spelling/spellingprompt.h"
#include "spelling/spellingwords.h"

namespace vinkring {

class MessageBox;

class SpellingSheet final : public SpreadsheetApplication {
public:
    SpellingSheet(std::unique_ptr<EnchantSpeller> speller, std::unique_ptr<SpellingPrompt> prompt,
                  MessageBox& messageBox);
    ~SpellingSheet() override;

    std::optional<QString> version() override;
    std::unique_ptr<AutomationObject> workbooksAdd() override;
    bool setActiveCellValue(const QString& value) override;
    bool activeCellCheckSpelling() override;
    std::optional<QString> activeCellText() override;
    bool activeWorkbookClose(bool saveChanges) override;
    bool quit() override;

private:
    QString checkText(const QString& text);
    bool isKnown(const QString& text, TextSpan word);

    std::unique_ptr<EnchantSpeller> speller_;
    std::unique_ptr<SpellingPrompt> prompt_;
    MessageBox& messageBox_;

    bool ended_ = false;
    bool workbookOpen_ = false;
    QString cell_;

    bool checkedAny_ = false;
    bool doubtfulSeen_ = false;
    bool stopped_ = false;
    QHash<QString, QString> changeAll_;
};

// Makes the components, one per check (and one per probe of the last page).
// Lives as long as the program and holds Enchant's broker, set up once, so
// that making a component costs next to nothing.
class SpellingSheetFactory {
public:
    using PromptFactory = std::function<std::unique_ptr<SpellingPrompt>()>;

    // Each component asks the writer through a prompt of its own.
    SpellingSheetFactory(MessageBox& messageBox, PromptFactory prompts, QStringList languages = dutchLanguages());

    // A new component, or null when Enchant has no dictionary for any of the
    // languages. Cheap: the dictionary is loaded by the first CheckSpelling.
    std::unique_ptr<SpellingSheet> create();

private:
    MessageBox& messageBox_;
    QStringList languages_;
    PromptFactory prompts_;
    EnchantBrokerHolder enchant_;
};

}  // namespace vinkring

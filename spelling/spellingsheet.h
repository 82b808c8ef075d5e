#pragma once
// The spreadsheet-like spelling component behind "excel.application": one
// workbook with one active cell, whose CheckSpelling goes through the cell's
// text word by word with an Enchant dictionary and asks the writer about
// every doubtful word. It lives for one spelling check.

#include <memory>

#include <QHash>
#include <QString>

#include "platform/automation.h"
#include "spelling/spellingprompt.h"
#include "spelling/spellingwords.h"

namespace vinkring {

class EnchantSpeller;
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

// The component for the languages given, asking through the prompt; null when
// Enchant has no dictionary for any of them. Cheap: the dictionary is loaded
// by the first CheckSpelling.
std::unique_ptr<SpellingSheet> createSpellingSheet(const QStringList& languages,
                                                   std::unique_ptr<SpellingPrompt> prompt,
                                                   MessageBox& messageBox);

// The Dutch component with its spelling dialog, as the program registers it.
std::unique_ptr<AutomationObject> createDutchSpellingSheet(MessageBox& messageBox);

}  // namespace vinkring

#pragma once
// The spreadsheet-like spelling component behind "excel.application": one
// workbook with one active cell, whose CheckSpelling goes through the cell's
// text word by word with the run's dictionary and asks the writer about
// every doubtful word. It lives for one spelling check. The check puts the
// section texts into the cell in the table's order, so the n-th text of a
// workbook is the n-th section's: the writer is told which one it is.

#include <functional>
#include <memory>

#include <QHash>
#include <QSet>
#include <QString>

#include "platform/automation.h"
#include "spelling/spellingdictionary.h"
#include "spelling/spellingprompt.h"
#include "spelling/spellingwords.h"

namespace vinkring {

class MessageBox;

class SpellingSheet final : public SpreadsheetApplication {
public:
    SpellingSheet(SpellingDictionary& dictionary, std::unique_ptr<SpellingPrompt> prompt, MessageBox& messageBox);
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
    using Replace = std::function<void(TextSpan, const QString&)>;
    void ask(const QString& word, TextSpan at, const QString& text, const Replace& replace);

    SpellingDictionary& dictionary_;
    std::unique_ptr<SpellingPrompt> prompt_;
    MessageBox& messageBox_;

    bool ended_ = false;
    bool workbookOpen_ = false;
    QString cell_;
    int cellsSet_ = 0;  // texts put into the cell of this workbook
    QString section_;   // the name of the section whose text the cell holds

    bool checkedAny_ = false;
    bool stopped_ = false;
    QHash<QString, QString> changeAll_;
    QSet<QString> ignoreAll_;
};

// Makes the components, one per check (and one per probe of the last page).
// Lives as long as the program and holds the run's dictionary, so that
// making a component costs next to nothing.
class SpellingSheetFactory {
public:
    using PromptFactory = std::function<std::unique_ptr<SpellingPrompt>()>;

    // Each component asks the writer through a prompt of its own.
    SpellingSheetFactory(MessageBox& messageBox, PromptFactory prompts,
                         const QStringList& languages = dutchLanguages());

    // A new component, or null when Enchant has no dictionary for any of the
    // languages. Cheap: a CheckSpelling waits for the dictionary when it has
    // not been loaded yet.
    std::unique_ptr<SpellingSheet> create();

    // Also underlines the fields' doubtful words.
    SpellingDictionary& dictionary() { return dictionary_; }

private:
    MessageBox& messageBox_;
    PromptFactory prompts_;
    SpellingDictionary dictionary_;
};

}  // namespace vinkring

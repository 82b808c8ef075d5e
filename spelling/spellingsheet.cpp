#include "spelling/spellingsheet.h"

#include "model/fieldtable.h"
#include "model/texts.h"
#include "platform/messagebox.h"
#include "spelling/spellingwords.h"

namespace vinkring {

namespace {

// The object model the component offers.
constexpr QStringView kVersion = u"11.0";

class SheetWorkbook final : public AutomationObject {};

}  // namespace

SpellingSheet::SpellingSheet(SpellingDictionary& dictionary, std::unique_ptr<SpellingPrompt> prompt,
                             MessageBox& messageBox)
    : dictionary_(dictionary), prompt_(std::move(prompt)), messageBox_(messageBox)
{
}

SpellingSheet::~SpellingSheet() = default;

std::optional<QString> SpellingSheet::version()
{
    if (ended_)
        return std::nullopt;
    return kVersion.toString();
}

std::unique_ptr<AutomationObject> SpellingSheet::workbooksAdd()
{
    // One workbook at a time: its one cell is all a check needs.
    if (ended_ || workbookOpen_)
        return nullptr;
    workbookOpen_ = true;
    cell_.clear();
    cellsSet_ = 0;
    section_.clear();
    return std::make_unique<SheetWorkbook>();
}

bool SpellingSheet::setActiveCellValue(const QString& value)
{
    if (!workbookOpen_)
        return false;
    cell_ = value;
    const int position = cellsSet_++;
    section_ = position < int(kSectionCount)
        ? QString::fromStdString(sectionName(kFields[kFirstSectionField + std::size_t(position)]))
        : QString();
    return true;
}

bool SpellingSheet::activeCellCheckSpelling()
{
    if (!workbookOpen_)
        return false;
    if (stopped_)
        return true;
    if (!dictionary_.waitUntilLoaded())
        return false;
    checkedAny_ = true;
    cell_ = checkText(cell_);
    return true;
}

std::optional<QString> SpellingSheet::activeCellText()
{
    if (!workbookOpen_)
        return std::nullopt;
    return cell_;
}

bool SpellingSheet::activeWorkbookClose(bool)
{
    // Nothing is ever saved: the workbook only lives in memory.
    if (!workbookOpen_)
        return false;
    workbookOpen_ = false;
    cell_.clear();
    return true;
}

bool SpellingSheet::quit()
{
    if (ended_)
        return false;
    ended_ = true;
    workbookOpen_ = false;
    cell_.clear();
    // Whether or not there was anything to ask; not after "Stoppen".
    if (checkedAny_ && !stopped_)
        messageBox_.show(toQString(messages::kSpellingComplete), QString(), MessageIcon::Information,
                         MessageButtons::Ok, QString());
    return true;
}

QString SpellingSheet::checkText(const QString& text)
{
    QString result = text;
    qsizetype shift = 0;  // how far corrections moved the rest of the text
    const Replace replace = [&](TextSpan at, const QString& by) {
        result.replace(at.start, at.length, by);
        shift += by.size() - at.length;
    };

    const QList<TextSpan> words = checkableWords(text);
    for (const TextSpan& span : words) {
        if (stopped_)
            break;
        const QString word = text.mid(span.start, span.length);
        const TextSpan at{span.start + shift, span.length};
        const auto changed = changeAll_.constFind(word);
        if (changed != changeAll_.constEnd())
            replace(at, *changed);
        else if (!ignoreAll_.contains(word) && !dictionary_.isKnownAt(text, span, true).value_or(true))
            ask(word, at, result, replace);
    }
    return result;
}

void SpellingSheet::ask(const QString& word, TextSpan at, const QString& text, const Replace& replace)
{
    const TextSpan sentence = sentenceAround(text, at.start);
    DoubtfulWord doubtful;
    doubtful.word = word;
    doubtful.sentence = text.mid(sentence.start, sentence.length);
    doubtful.position = at.start - sentence.start;
    doubtful.suggestions = dictionary_.suggestions(word);
    doubtful.section = section_;
    const SpellingDecision decision = prompt_->ask(doubtful);
    switch (decision.action) {
    case SpellingAction::Ignore:
        break;
    case SpellingAction::IgnoreAll:
        for (const QString& form : ignoredForms(word))
            ignoreAll_.insert(form);
        break;
    case SpellingAction::Change:
        replace(at, decision.replacement);
        break;
    case SpellingAction::ChangeAll:
        changeAll_.insert(word, decision.replacement);
        replace(at, decision.replacement);
        break;
    case SpellingAction::AddToDictionary:
        dictionary_.addToPersonal(word);
        break;
    case SpellingAction::Stop:
        stopped_ = true;
        break;
    }
}

SpellingSheetFactory::SpellingSheetFactory(MessageBox& messageBox, PromptFactory prompts,
                                           const QStringList& languages)
    : messageBox_(messageBox), prompts_(std::move(prompts)), dictionary_(languages)
{
}

std::unique_ptr<SpellingSheet> SpellingSheetFactory::create()
{
    if (!dictionary_.exists())
        return nullptr;
    return std::make_unique<SpellingSheet>(dictionary_, prompts_(), messageBox_);
}

}  // namespace vinkring

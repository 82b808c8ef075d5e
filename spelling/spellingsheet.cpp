#include "spelling/spellingsheet.h"

#include "model/texts.h"
#include "platform/messagebox.h"
#include "spelling/spellingwords.h"

namespace vinkring {

namespace {

// The object model the component offers.
constexpr QStringView kVersion = u"11.0";

class SheetWorkbook final : public AutomationObject {};

}  // namespace

SpellingSheet::SpellingSheet(std::unique_ptr<EnchantSpeller> speller, std::unique_ptr<SpellingPrompt> prompt,
                             MessageBox& messageBox)
    : speller_(std::move(speller)), prompt_(std::move(prompt)), messageBox_(messageBox)
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
    return std::make_unique<SheetWorkbook>();
}

bool SpellingSheet::setActiveCellValue(const QString& value)
{
    if (!workbookOpen_)
        return false;
    cell_ = value;
    return true;
}

bool SpellingSheet::activeCellCheckSpelling()
{
    if (!workbookOpen_)
        return false;
    if (stopped_)
        return true;
    if (!speller_->load())
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
    // As a spreadsheet does, say so when the check had nothing to ask.
    if (checkedAny_ && !doubtfulSeen_)
        messageBox_.show(toQString(messages::kSpellingComplete), QString(), MessageIcon::Information,
                         MessageButtons::Ok, QString());
    return true;
}

bool SpellingSheet::isKnown(const QString& text, TextSpan word)
{
    const QStringList forms = dictionaryForms(text, word);
    for (const QString& form : forms) {
        if (speller_->isKnown(form))
            return true;
    }
    // A hyphenated compound is right when each of its parts is.
    const QStringList parts = compoundParts(forms.front());
    if (parts.size() < 2)
        return false;
    for (const QString& part : parts) {
        if (!speller_->isKnown(part))
            return false;
    }
    return true;
}

QString SpellingSheet::checkText(const QString& text)
{
    QString result = text;
    qsizetype shift = 0;  // how far corrections moved the rest of the text
    auto replace = [&](TextSpan at, const QString& by) {
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
        if (changed != changeAll_.constEnd()) {
            replace(at, *changed);
            continue;
        }
        if (isKnown(text, span))
            continue;

        doubtfulSeen_ = true;
        const TextSpan sentence = sentenceAround(result, at.start);
        DoubtfulWord doubtful;
        doubtful.word = word;
        doubtful.sentence = result.mid(sentence.start, sentence.length);
        doubtful.position = at.start - sentence.start;
        doubtful.suggestions = speller_->suggestions(word);
        const SpellingDecision decision = prompt_->ask(doubtful);
        switch (decision.action) {
        case SpellingAction::Ignore:
            break;
        case SpellingAction::IgnoreAll:
            speller_->ignoreForSession(word);
            break;
        case SpellingAction::Change:
            replace(at, decision.replacement);
            break;
        case SpellingAction::ChangeAll:
            changeAll_.insert(word, decision.replacement);
            replace(at, decision.replacement);
            break;
        case SpellingAction::AddToDictionary:
            speller_->addToPersonal(word);
            break;
        case SpellingAction::Stop:
            stopped_ = true;
            break;
        }
    }
    return result;
}

SpellingSheetFactory::SpellingSheetFactory(MessageBox& messageBox, PromptFactory prompts, QStringList languages)
    : messageBox_(messageBox), languages_(std::move(languages)), prompts_(std::move(prompts))
{
}

std::unique_ptr<SpellingSheet> SpellingSheetFactory::create()
{
    std::unique_ptr<EnchantSpeller> speller = enchant_.find(languages_);
    if (!speller)
        return nullptr;
    return std::make_unique<SpellingSheet>(std::move(speller), prompts_(), messageBox_);
}

}  // namespace vinkring

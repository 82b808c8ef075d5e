#pragma once
// What the spelling component asks the writer about a doubtful word.

#include <QString>
#include <QStringList>

namespace vinkring {

struct DoubtfulWord {
    QString word;
    QString sentence;           // the sentence it stands in, corrections so far included
    qsizetype position = 0;     // of the word in the sentence
    QStringList suggestions;    // from the dictionary, best first
    QString section;            // the name of the section the text is from, when known
};

enum class SpellingAction {
    Ignore,           // "Negeren": this place only
    IgnoreAll,        // "Alles negeren": for the rest of the check
    Change,           // "Wijzigen": this place only
    ChangeAll,        // "Alles wijzigen": here and for the rest of the check
    AddToDictionary,  // "Toevoegen aan woordenboek": the personal word list
    Stop,             // "Stoppen": keep what was done, ask nothing more
};

struct SpellingDecision {
    SpellingAction action = SpellingAction::Stop;
    QString replacement;  // for Change and ChangeAll
};

class SpellingPrompt {
public:
    virtual ~SpellingPrompt() = default;
    virtual SpellingDecision ask(const DoubtfulWord& word) = 0;
};

}  // namespace vinkring

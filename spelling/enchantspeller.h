#pragma once
// Enchant's broker and one of its dictionaries. Not safe to use from two
// threads at once: SpellingDictionary guards it.

#include <memory>

#include <QByteArray>
#include <QString>
#include <QStringList>

typedef struct str_enchant_broker EnchantBroker;
typedef struct str_enchant_dict EnchantDict;

namespace vinkring {

// The languages of Debian's Dutch dictionary, most specific first.
QStringList dutchLanguages();

class EnchantSpeller;

// Enchant's broker. Setting it up loads every spelling provider, which takes
// milliseconds, so one serves the program's whole run.
class EnchantBrokerHolder {
public:
    // Sets the broker up now, so that looking for a dictionary is quick.
    EnchantBrokerHolder();

    // A speller for the first of the languages Enchant has a dictionary for,
    // or null. Only looks whether one exists: loading it takes a while.
    std::unique_ptr<EnchantSpeller> find(const QStringList& languages);

private:
    std::shared_ptr<EnchantBroker> broker_;
};

class EnchantSpeller {
public:
    EnchantSpeller(std::shared_ptr<EnchantBroker> broker, QByteArray tag);
    ~EnchantSpeller();
    EnchantSpeller(const EnchantSpeller&) = delete;
    EnchantSpeller& operator=(const EnchantSpeller&) = delete;

    // Loads the dictionary when that has not happened yet (about a second
    // for the Dutch one).
    bool load();
    bool isLoaded() const { return dict_ != nullptr; }
    // Needs a loaded dictionary.
    bool isKnown(const QString& word);
    // Slow with a large dictionary (tenths of a second for Dutch).
    QStringList suggestions(const QString& word);
    // Known from now on: goes into Enchant's personal word list.
    void addToPersonal(const QString& word);

private:
    std::shared_ptr<EnchantBroker> broker_;
    QByteArray tag_;
    EnchantDict* dict_ = nullptr;
    bool loadFailed_ = false;
};

}  // namespace vinkring

#pragma once
// One Enchant dictionary, for the length of one spelling check.

#include <memory>

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

typedef struct str_enchant_broker EnchantBroker;
typedef struct str_enchant_dict EnchantDict;

namespace vinkring {

// The languages of Debian's Dutch dictionary, most specific first.
QStringList dutchLanguages();

class EnchantSpeller;

// Enchant's broker. Setting it up loads every spelling provider, which takes
// milliseconds, so one serves all the checks of the program's run.
class EnchantBrokerHolder {
public:
    // Sets the broker up now, so that looking for a dictionary is quick.
    EnchantBrokerHolder();

    // A speller for the first of the languages Enchant has a dictionary for,
    // or null. Only looks whether one exists: loading it takes a while and
    // waits for the first word.
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

    // Loads the dictionary when that has not happened yet.
    bool load();
    bool isKnown(const QString& word);
    // Slow with a large dictionary: ask only for a word the writer sees.
    QStringList suggestions(const QString& word);
    // Known until the speller goes. Spellers of one language alive at the
    // same time share the dictionary, and so this list.
    void ignoreForSession(const QString& word);
    // Known from now on: goes into Enchant's personal word list.
    void addToPersonal(const QString& word);

private:
    std::shared_ptr<EnchantBroker> broker_;
    QByteArray tag_;
    EnchantDict* dict_ = nullptr;
    bool loadFailed_ = false;
    // Articles repeat their words: each is looked up once.
    QHash<QString, bool> known_;
};

}  // namespace vinkring

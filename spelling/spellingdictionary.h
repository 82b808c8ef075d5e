#pragma once
// The dictionary of the program's run, shared by the spelling check and the
// underline in the fields, so that both know the same words. Loading takes
// about a second and looking for suggestions tenths of one: both happen on a
// thread of its own, while words are looked up (once each) on the interface
// thread.

#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include <QHash>
#include <QObject>
#include <QThreadPool>

#include "spelling/enchantspeller.h"
#include "spelling/spellingwords.h"

namespace vinkring {

class SpellingDictionary final : public QObject {
    Q_OBJECT

public:
    explicit SpellingDictionary(const QStringList& languages = dutchLanguages(), QObject* parent = nullptr);
    ~SpellingDictionary() override;

    // Enchant has a dictionary for one of the languages, which has not (yet)
    // failed to load. Sets Enchant up the first time (milliseconds).
    bool exists();
    // As exists(), but while loading is held not yet looked for: true then.
    bool mayExist();
    // Loaded: words can be told at once.
    bool isReady() const { return state_ == State::Ready; }
    // Starts loading in the background; ready() or unavailable() follows.
    void load();
    // Until resumeLoading(), load() only notes that loading is wanted and
    // Enchant is not set up, so that the program's start keeps the machine
    // to itself.
    void holdLoading() { held_ = true; }
    void resumeLoading();
    // Loads now unless that has been done; false when it cannot be loaded.
    bool waitUntilLoaded();

    // Whether the word at this place of the text is right: known as it
    // stands, with the full stop after it ("enz."), with the apostrophe before
    // it ("'s"), or as a hyphenated compound of known parts. Without waiting
    // it is nullopt when that cannot be told at once (still loading, or
    // busy with suggestions). Waiting, a dictionary that cannot be loaded
    // knows every word.
    std::optional<bool> isKnownAt(const QString& text, TextSpan word, bool wait);

    // Waits.
    QStringList suggestions(const QString& word);
    // In the background; done is called on this object's thread, unless
    // receiver has gone by then.
    void findSuggestions(const QString& word, QObject* receiver, std::function<void(const QStringList&)> done);

    // Known for the rest of the run, in each of its ignoredForms.
    void ignoreForRun(const QString& word);
    // Known from now on: Enchant's personal word list.
    void addToPersonal(const QString& word);

signals:
    void ready();
    void unavailable();
    // Words became known: what was doubtful may be right now.
    void wordsAdded();

private:
    enum class State { NotLookedFor, Missing, Unloaded, Loading, Ready };

    std::optional<bool> lookUp(const QString& word, bool wait);
    void loaded(bool ok);
    void lookFor();

    QStringList languages_;
    std::optional<EnchantBrokerHolder> enchant_;
    std::unique_ptr<EnchantSpeller> speller_;
    // Guards the speller between this thread and the background.
    std::mutex mutex_;
    State state_ = State::NotLookedFor;
    bool held_ = false;
    bool wanted_ = false;  // load() came while held
    QHash<QString, bool> known_;  // this thread only
    // Declared last: gone first, waiting for the work under way.
    QThreadPool background_;
};

}  // namespace vinkring

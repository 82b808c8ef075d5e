#include "spelling/spellingdictionary.h"

#include <QPointer>

namespace vinkring {

SpellingDictionary::SpellingDictionary(const QStringList& languages, QObject* parent)
    : QObject(parent), languages_(languages)
{
    // One thread: the loading, then each search for suggestions in turn.
    background_.setMaxThreadCount(1);
}

SpellingDictionary::~SpellingDictionary()
{
    background_.clear();
    background_.waitForDone();
}

void SpellingDictionary::lookFor()
{
    if (state_ != State::NotLookedFor)
        return;
    enchant_.emplace();
    speller_ = enchant_->find(languages_);
    state_ = speller_ ? State::Unloaded : State::Missing;
    // Queued: whoever asked is still busy with the answer.
    if (!speller_)
        QMetaObject::invokeMethod(this, &SpellingDictionary::unavailable, Qt::QueuedConnection);
}

bool SpellingDictionary::exists()
{
    lookFor();
    return state_ != State::Missing;
}

bool SpellingDictionary::mayExist()
{
    return (held_ && state_ == State::NotLookedFor) || exists();
}

void SpellingDictionary::resumeLoading()
{
    held_ = false;
    lookFor();
    if (wanted_)
        load();
}

void SpellingDictionary::load()
{
    if (!held_)
        lookFor();
    if (state_ != State::Unloaded && state_ != State::NotLookedFor)
        return;
    if (held_) {
        wanted_ = true;
        return;
    }
    state_ = State::Loading;
    background_.start([this] {
        bool ok = false;
        {
            const std::lock_guard lock(mutex_);
            ok = speller_->load();
        }
        QMetaObject::invokeMethod(this, [this, ok] { loaded(ok); }, Qt::QueuedConnection);
    });
}

bool SpellingDictionary::waitUntilLoaded()
{
    lookFor();
    if (state_ == State::Ready || state_ == State::Missing)
        return state_ == State::Ready;
    bool ok = false;
    {
        const std::lock_guard lock(mutex_);
        ok = speller_->load();
    }
    loaded(ok);
    return ok;
}

void SpellingDictionary::loaded(bool ok)
{
    // The background's news may come after a wait has told it already.
    if (state_ == State::Ready || state_ == State::Missing)
        return;
    state_ = ok ? State::Ready : State::Missing;
    if (ok)
        emit ready();
    else
        emit unavailable();
}

std::optional<bool> SpellingDictionary::lookUp(const QString& word, bool wait)
{
    const auto cached = known_.constFind(word);
    if (cached != known_.constEnd())
        return *cached;
    if (wait && !waitUntilLoaded())
        return true;
    if (state_ != State::Ready)
        return std::nullopt;
    std::unique_lock lock(mutex_, std::defer_lock);
    if (wait)
        lock.lock();
    else if (!lock.try_lock())
        return std::nullopt;
    const bool known = speller_->isKnown(word);
    lock.unlock();
    known_.insert(word, known);
    return known;
}

std::optional<bool> SpellingDictionary::isKnownAt(const QString& text, TextSpan word, bool wait)
{
    const QStringList forms = dictionaryForms(text, word);
    bool unanswered = false;
    for (const QString& form : forms) {
        const std::optional<bool> known = lookUp(form, wait);
        if (known && *known)
            return true;
        unanswered = unanswered || !known;
    }
    // A hyphenated compound is right when each of its parts is.
    const QStringList parts = compoundParts(forms.front());
    if (parts.size() >= 2) {
        bool partsUnanswered = false;
        bool partUnknown = false;
        for (const QString& part : parts) {
            const std::optional<bool> known = lookUp(part, wait);
            partUnknown = known && !*known;
            if (partUnknown)
                break;
            partsUnanswered = partsUnanswered || !known;
        }
        if (!partUnknown && !partsUnanswered)
            return true;
        unanswered = unanswered || (!partUnknown && partsUnanswered);
    }
    if (unanswered)
        return std::nullopt;
    return false;
}

QStringList SpellingDictionary::suggestions(const QString& word)
{
    if (!waitUntilLoaded())
        return {};
    const std::lock_guard lock(mutex_);
    return speller_->suggestions(word);
}

void SpellingDictionary::findSuggestions(const QString& word, QObject* receiver,
                                         std::function<void(const QStringList&)> done)
{
    QPointer<QObject> target(receiver);
    auto deliver = [this, target, done = std::move(done)](const QStringList& list) {
        QMetaObject::invokeMethod(
            this, [target, done, list] {
                if (target)
                    done(list);
            },
            Qt::QueuedConnection);
    };
    if (!exists()) {
        deliver({});
        return;
    }
    // Queued behind the loading, when that is still to come.
    load();
    background_.start([this, word, deliver = std::move(deliver)] {
        QStringList list;
        {
            const std::lock_guard lock(mutex_);
            if (speller_->isLoaded())
                list = speller_->suggestions(word);
        }
        deliver(list);
    });
}

void SpellingDictionary::ignoreForRun(const QString& word)
{
    for (const QString& form : ignoredForms(word))
        known_.insert(form, true);
    emit wordsAdded();
}

void SpellingDictionary::addToPersonal(const QString& word)
{
    known_.insert(word, true);
    if (waitUntilLoaded()) {
        const std::lock_guard lock(mutex_);
        speller_->addToPersonal(word);
    }
    emit wordsAdded();
}

}  // namespace vinkring

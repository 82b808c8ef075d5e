#include "spelling/enchantspeller.h"

#include <enchant.h>

namespace vinkring {

QStringList dutchLanguages()
{
    return {QStringLiteral("nl_NL"), QStringLiteral("nl")};
}

EnchantBrokerHolder::EnchantBrokerHolder()
{
    if (EnchantBroker* broker = enchant_broker_init())
        broker_.reset(broker, enchant_broker_free);
}

std::unique_ptr<EnchantSpeller> EnchantBrokerHolder::find(const QStringList& languages)
{
    if (!broker_)
        return nullptr;
    for (const QString& language : languages) {
        const QByteArray tag = language.toUtf8();
        if (enchant_broker_dict_exists(broker_.get(), tag.constData()) == 1)
            return std::make_unique<EnchantSpeller>(broker_, tag);
    }
    return nullptr;
}

EnchantSpeller::EnchantSpeller(std::shared_ptr<EnchantBroker> broker, QByteArray tag)
    : broker_(std::move(broker)), tag_(std::move(tag))
{
}

EnchantSpeller::~EnchantSpeller()
{
    if (dict_)
        enchant_broker_free_dict(broker_.get(), dict_);
}

bool EnchantSpeller::load()
{
    if (!dict_ && !loadFailed_) {
        dict_ = enchant_broker_request_dict(broker_.get(), tag_.constData());
        loadFailed_ = dict_ == nullptr;
    }
    return dict_ != nullptr;
}

bool EnchantSpeller::isKnown(const QString& word)
{
    if (!dict_)
        return true;
    const QByteArray utf8 = word.toUtf8();
    // An error (a word Enchant cannot take) is not the writer's mistake.
    return enchant_dict_check(dict_, utf8.constData(), utf8.size()) <= 0;
}

QStringList EnchantSpeller::suggestions(const QString& word)
{
    QStringList result;
    if (!dict_)
        return result;
    const QByteArray utf8 = word.toUtf8();
    size_t count = 0;
    char** list = enchant_dict_suggest(dict_, utf8.constData(), utf8.size(), &count);
    for (size_t i = 0; list && i < count; ++i)
        result << QString::fromUtf8(list[i]);
    if (list)
        enchant_dict_free_string_list(dict_, list);
    return result;
}

void EnchantSpeller::addToPersonal(const QString& word)
{
    if (!dict_)
        return;
    const QByteArray utf8 = word.toUtf8();
    enchant_dict_add(dict_, utf8.constData(), utf8.size());
}

}  // namespace vinkring

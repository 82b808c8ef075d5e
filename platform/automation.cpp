#include "platform/automation.h"

namespace vinkring {

void RegistryAutomation::registerClass(const QString& progId, Factory create, Factory running)
{
    classes_[progId.toLower()] = Entry{std::move(create), std::move(running)};
}

std::unique_ptr<AutomationObject> RegistryAutomation::getObject(const QString& progId)
{
    const auto it = classes_.find(progId.toLower());
    if (it == classes_.end() || !it->second.running)
        return nullptr;
    return it->second.running();
}

std::unique_ptr<AutomationObject> RegistryAutomation::createObject(const QString& progId)
{
    const auto it = classes_.find(progId.toLower());
    if (it == classes_.end() || !it->second.create)
        return nullptr;
    return it->second.create();
}

}  // namespace vinkring

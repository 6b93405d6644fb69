#include "uikit/NibRegistry.h"

namespace uikit {

NibRegistry& NibRegistry::shared() {
    static NibRegistry* registry = new NibRegistry();
    return *registry;
}

void NibRegistry::registerNib(const std::string& name, Builder builder) {
    std::lock_guard lock(mutex_);
    builders_[name] = std::move(builder);
}

bool NibRegistry::contains(const std::string& name) const {
    std::lock_guard lock(mutex_);
    return builders_.contains(name);
}

std::shared_ptr<View> NibRegistry::instantiate(const std::string& name,
                                               const std::shared_ptr<ViewController>& owner) const {
    Builder builder;
    {
        std::lock_guard lock(mutex_);
        auto found = builders_.find(name);
        if (found == builders_.end())
            return nullptr;
        builder = found->second;
    }
    return builder(owner);
}

}  // namespace uikit

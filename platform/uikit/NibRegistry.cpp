#include "uikit/NibRegistry.h"

#include "foundation/SharedInstance.h"

namespace uikit {

NibRegistry& NibRegistry::shared() {
    static auto* registry = new foundation::SharedInstance<NibRegistry>(
        [] { return std::shared_ptr<NibRegistry>(new NibRegistry()); });
    return registry->get();
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

#include "framework/repostore/PDKeychainBindings.h"

#include "foundation/Bundle.h"
#include "foundation/SharedInstance.h"
#include "keychain/Keychain.h"

namespace corvane {

PDKeychainBindings& PDKeychainBindings::sharedKeychainBindings() {
    static auto* shared = new foundation::SharedInstance<PDKeychainBindings>(
        [] { return std::shared_ptr<PDKeychainBindings>(new PDKeychainBindings()); });
    return shared->get();
}

std::optional<std::string> PDKeychainBindings::stringForKey(const std::string& key) const {
    auto password = keychain::Keychain::standard()->passwordForService(
        foundation::Bundle::bundleIdentifier(), key);
    if (!password)
        return std::nullopt;
    return *password;
}

foundation::Status PDKeychainBindings::setString(const std::string& value, const std::string& key) {
    return keychain::Keychain::standard()->setPassword(value,
                                                       foundation::Bundle::bundleIdentifier(), key);
}

foundation::Status PDKeychainBindings::removeObjectForKey(const std::string& key) {
    auto removed = keychain::Keychain::standard()->deletePasswordForService(
        foundation::Bundle::bundleIdentifier(), key);
    if (!removed && removed.error().code == keychain::ItemNotFound)
        return foundation::Success{};
    return removed;
}

}  // namespace corvane

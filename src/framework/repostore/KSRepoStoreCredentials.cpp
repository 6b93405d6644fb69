#include "framework/repostore/KSRepoStoreCredentials.h"

#include <algorithm>

#include "foundation/Format.h"
#include "foundation/Log.h"
#include "framework/repostore/PDKeychainBindings.h"

namespace corvane {

KSRepoStoreCredentials KSRepoStoreCredentials::forLocation(const std::string& location) {
    auto& bindings = PDKeychainBindings::sharedKeychainBindings();
    return {bindings.stringForKey(tokenKey(location)),
            bindings.stringForKey(paymentSecretKey(location))};
}

foundation::Status KSRepoStoreCredentials::store(const std::string& location,
                                                 const std::string& token,
                                                 const std::string& paymentSecret) {
    auto& bindings = PDKeychainBindings::sharedKeychainBindings();
    FOUNDATION_RETURN_IF_ERROR(bindings.setString(token, tokenKey(location)));
    if (auto stored = bindings.setString(paymentSecret, paymentSecretKey(location)); !stored) {
        remove(location);
        return stored;
    }
    return foundation::Success{};
}

void KSRepoStoreCredentials::remove(const std::string& location) {
    auto& bindings = PDKeychainBindings::sharedKeychainBindings();
    for (const auto& key : {tokenKey(location), paymentSecretKey(location)}) {
        if (auto removed = bindings.removeObjectForKey(key); !removed)
            KSLog("Could not remove %@ from the keychain: %@", key,
                  removed.error().localizedDescription());
    }
}

bool KSRepoStoreCredentials::isAcceptable(const std::optional<std::string>& secret) {
    if (!secret || secret->empty() || secret->size() > kMaximumSecretBytes)
        return false;
    return std::none_of(secret->begin(), secret->end(),
                        [](unsigned char c) { return c < 0x20 || c == 0x7f; });
}

std::string KSRepoStoreCredentials::tokenKey(const std::string& location) {
    return foundation::format("%@_token", location);
}

std::string KSRepoStoreCredentials::paymentSecretKey(const std::string& location) {
    return foundation::format("%@_payment_secret", location);
}

}  // namespace corvane

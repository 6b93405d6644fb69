#pragma once

#include <optional>
#include <string>

#include "foundation/Result.h"

namespace corvane {

// Strings kept in the keychain as generic-password items of the application: the service is the
// bundle identifier, the account the key.
class PDKeychainBindings {
  public:
    static PDKeychainBindings& sharedKeychainBindings();

    // nullopt when nothing is stored under the key or the keychain cannot be read.
    std::optional<std::string> stringForKey(const std::string& key) const;
    foundation::Status setString(const std::string& value, const std::string& key);
    // Succeeds when nothing was stored under the key.
    foundation::Status removeObjectForKey(const std::string& key);
};

}  // namespace corvane

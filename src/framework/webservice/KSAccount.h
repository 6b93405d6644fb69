#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "foundation/Error.h"
#include "foundation/Result.h"
#include "foundation/Value.h"

namespace corvane {

// The signed-in account on the maker's web service. The user name, the session token the
// service gave at sign-in, the user identifier and the premium tier are kept in the device's
// keychain, so the account survives a relaunch; the password is never stored.
class KSAccount {
  public:
    static constexpr const char* kKeychainService = "me.kestrune.corvane.account";
    using SignInCompletion = std::function<void(std::optional<foundation::Error> error)>;

    static std::shared_ptr<KSAccount> instance();

    // nullopt when signed out.
    std::optional<std::string> returnUsername() const;
    // The token that requests made for the user carry; nullopt when signed out.
    std::optional<std::string> authenticationToken() const;
    std::optional<std::string> userIdentifier() const;
    // 0 for an account without premium.
    std::int64_t premiumTier() const;
    bool isSignedIn() const { return returnUsername().has_value(); }

    // Asks the service for a session of this user and stores it, replacing any earlier account.
    // The completion runs on the URL-loading queue, with no error once the account is stored.
    void signIn(const std::string& username, const std::string& password,
                SignInCompletion completion);
    // Forgets the account on this device.
    void signOut();

  private:
    foundation::Status store(const std::string& username, const foundation::Value& reply);
};

}  // namespace corvane

#pragma once

#include <optional>
#include <string>

#include "foundation/Result.h"

namespace corvane {

// What a repository's payment endpoint gave this device at sign-in: the token that names the
// user and the secret that allows payments, both in the keychain under the source location.
struct KSRepoStoreCredentials {
    // Longer texts from a callback are refused rather than stored.
    static constexpr std::size_t kMaximumSecretBytes = 4096;

    std::optional<std::string> token;
    std::optional<std::string> paymentSecret;

    bool isComplete() const { return token && paymentSecret; }

    static KSRepoStoreCredentials forLocation(const std::string& location);
    // Both or neither: a token whose secret could not be stored is removed again.
    static foundation::Status store(const std::string& location, const std::string& token,
                                    const std::string& paymentSecret);
    static void remove(const std::string& location);
    // Non-empty, not too long, no control characters.
    static bool isAcceptable(const std::optional<std::string>& secret);

    // "%@_token" and "%@_payment_secret" with the location.
    static std::string tokenKey(const std::string& location);
    static std::string paymentSecretKey(const std::string& location);
};

}  // namespace corvane

#pragma once

#include <optional>
#include <string>

#include "foundation/Error.h"
#include "foundation/URL.h"

namespace corvane {

// What a payment endpoint says about one package for the signed-in user.
struct KSRepoStorePackageInfoResponse {
    // The stored credentials were refused and have been removed.
    bool invalidate = false;
    bool available = false;
    bool purchased = false;
    std::optional<std::string> price;
    std::optional<foundation::Error> error;
    // A page that explains the error; only http or https.
    std::optional<foundation::URL> recovery_url;
};

}  // namespace corvane

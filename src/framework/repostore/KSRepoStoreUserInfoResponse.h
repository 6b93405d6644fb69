#pragma once

#include <optional>
#include <string>
#include <vector>

#include "foundation/Error.h"

namespace corvane {

// Who is signed in to a payment endpoint and what they bought there.
struct KSRepoStoreUserInfoResponse {
    // The stored credentials were refused and have been removed.
    bool invalidate = false;
    // Identifiers of the bought packages; names outside Debian's grammar are left out.
    std::vector<std::string> items;
    std::optional<std::string> userName;
    std::optional<foundation::Error> error;
};

}  // namespace corvane

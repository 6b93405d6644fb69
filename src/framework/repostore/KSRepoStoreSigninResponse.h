#pragma once

#include <optional>

#include "foundation/Error.h"

namespace corvane {

// How a sign-in to a payment endpoint ended.
struct KSRepoStoreSigninResponse {
    bool success = false;
    std::optional<foundation::Error> error;
};

}  // namespace corvane

#pragma once

#include <optional>

#include "foundation/Error.h"

namespace corvane {

// How a purchase ended.
struct KSRepoStorePurchaseResponse {
    static constexpr long kStatusCompleted = 0;
    // The endpoint wants the payment page shown; never handed to a completion, which waits for
    // the payment callback instead.
    static constexpr long kStatusPaymentPage = 1;
    // All bits set: the reply carried no status, or the purchase failed or was cancelled.
    static constexpr long kStatusFailed = -1;

    // The stored credentials were refused and have been removed.
    bool invalidate = false;
    long status = kStatusFailed;
    std::optional<foundation::Error> error;
};

}  // namespace corvane

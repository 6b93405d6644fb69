#pragma once

#include <optional>

#include "foundation/Error.h"
#include "foundation/URL.h"
#include "foundation/Value.h"

namespace corvane {

// A payment endpoint's answer, sorted: whether the exchange failed, the JSON object it sent, and
// the fields every reply may carry.
struct KSRepoStoreReply {
    // The transport failed, the status was neither 200 nor 304, or the body was no JSON object.
    bool failed = true;
    foundation::Value document;
    // Why it failed, or the endpoint's own "error" text.
    std::optional<foundation::Error> error;
    // The endpoint no longer accepts the stored credentials; read from any JSON body, even of a
    // failed status.
    bool invalidate = false;
    // Only an http or https address.
    std::optional<foundation::URL> recoveryURL;
};

}  // namespace corvane

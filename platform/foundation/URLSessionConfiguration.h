#pragma once

#include <cstdint>

#include "foundation/HTTPHeaderFields.h"
#include "foundation/URLRequest.h"

namespace foundation {

// How a session loads. Nothing is stored between requests (no cache, no cookies), so the
// default and the ephemeral configuration load alike.
struct URLSessionConfiguration {
    static URLSessionConfiguration defaultSessionConfiguration() { return {}; }
    static URLSessionConfiguration ephemeralSessionConfiguration() {
        URLSessionConfiguration configuration;
        configuration.isEphemeral = true;
        return configuration;
    }

    bool isEphemeral = false;
    URLRequestCachePolicy requestCachePolicy = URLRequestCachePolicy::UseProtocolCachePolicy;
    // Seconds the server may stay silent; the shorter of this and the request's own applies.
    double timeoutIntervalForRequest = 60;
    // Seconds the whole transfer may take.
    double timeoutIntervalForResource = 7 * 24 * 3600;
    // Sent with every request; the request's own fields of the same name win.
    HTTPHeaderFields HTTPAdditionalHeaders;
    // Loads under way at once to one host (scheme, host and port) and in the whole session; the
    // others wait their turn in the order they were resumed, and their time-outs run from it.
    int HTTPMaximumConnectionsPerHost = 4;
    int maximumConnectionsPerSession = 16;
    // A larger response body fails the task; 0 or less means no cap.
    std::int64_t maximumResponseBytes = std::int64_t{64} << 20;
};

}  // namespace foundation

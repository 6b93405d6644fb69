#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "foundation/URL.h"
#include "foundation/URLRequest.h"
#include "foundation/URLSessionConfiguration.h"

namespace corvane {

// The requests the application sends to repositories: each carries the device headers
// ("X-Machine", "X-Unique-ID", "X-Firmware") and the fixed user agent, ignores local caches and
// waits 30 s by default.
class RepositoryRequest {
  public:
    static constexpr double kDefaultTimeoutSeconds = 30;
    static constexpr std::string_view kUserAgent = "Telesphoreo APT-HTTP/1.0.592";

    // With a time, "If-Modified-Since" carries it as an HTTP date.
    static foundation::URLRequest requestWithURL(
        const foundation::URL& url, double timeoutSeconds = kDefaultTimeoutSeconds,
        std::optional<double> ifModifiedSinceSeconds1970 = std::nullopt);
    // A request for a page that a repository's package names (a depiction): the device headers
    // go along only when the page is on the repository's own host (scheme and port included), so
    // a host that a package or a page names never learns who the device is; the user agent and
    // the time-out are the same either way.
    static foundation::URLRequest requestForPageOfRepository(const foundation::URL& url,
                                                             std::string_view repositoryLocation);
    // Makes requestWithURL the process-wide factory of foundation::URLRequest::requestWithURL.
    static void installAsProcessFactory();

    // "Sun, 06 Nov 1994 08:49:37 GMT".
    static std::string httpDate(double secondsSince1970);

    // An ephemeral configuration that ignores local caches (the name is spelled so).
    static foundation::URLSessionConfiguration noCacheConfigureation();
};

}  // namespace corvane

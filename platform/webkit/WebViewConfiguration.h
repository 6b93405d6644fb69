#pragma once

#include <string>

namespace webkit {

// How a web view loads. The web view reads it at every load, so a change applies to the next.
struct WebViewConfiguration {
    static constexpr const char* kBaseUserAgent =
        "Mozilla/5.0 (Linux; Mobile) WebView/1.0 (KHTML, like Gecko) Mobile";

    // Appended to the base user agent after a space.
    std::string applicationNameForUserAgent;

    // Sent with every page request that does not name its own User-Agent.
    std::string userAgent() const;
};

}  // namespace webkit

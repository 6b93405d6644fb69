#pragma once

#include <optional>
#include <string>
#include <vector>

#include "foundation/URL.h"
#include "foundation/URLQueryItem.h"

namespace foundation {

// Builds a URL from decoded parts, escaping each where it needs it: a "&", "=", "+" or "#" in a
// query item never splits or ends the query.
struct URLComponents {
    std::string scheme;
    std::string host;
    std::optional<int> port;
    std::string path;  // decoded; "/" is the separator
    std::vector<URLQueryItem> queryItems;
    std::optional<std::string> fragment;  // decoded

    // nullopt when the parts make no URL (no scheme, a host libcurl refuses, a port out of range).
    std::optional<URL> url() const;
};

}  // namespace foundation

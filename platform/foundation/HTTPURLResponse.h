#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "foundation/HTTPHeaderFields.h"
#include "foundation/URL.h"

namespace foundation {

// What the server answered. A file URL that could be read answers 200 with no headers.
class HTTPURLResponse {
  public:
    explicit HTTPURLResponse(URL url) : url(std::move(url)) {}

    std::optional<std::string> valueForHTTPHeaderField(std::string_view field) const {
        return headers.value(field);
    }
    const HTTPHeaderFields& allHeaderFields() const { return headers; }
    // "text/html; charset=utf-8" -> "text/html"; nullopt without a Content-Type.
    std::optional<std::string> mimeType() const;

    URL url;  // after redirects
    long statusCode = 0;
    HTTPHeaderFields headers;
    // From Content-Length, -1 when the server did not say.
    std::int64_t expectedContentLength = -1;
};

}  // namespace foundation

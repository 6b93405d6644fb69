#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/HTTPHeaderFields.h"
#include "foundation/URL.h"

namespace foundation {

// There is no local cache, so both policies load from the origin; the policy is kept for the
// callers that state it.
enum class URLRequestCachePolicy { UseProtocolCachePolicy, ReloadIgnoringLocalCacheData };

// One request: what to fetch, how, and how long to wait for the server to answer.
class URLRequest {
  public:
    using Factory = std::function<URLRequest(const URL&)>;

    explicit URLRequest(URL url) : url(std::move(url)) {}

    // The process-wide factory: a plain GET request unless the application installed its own,
    // which may add the headers every request of the application carries.
    static URLRequest requestWithURL(const URL& url);
    // An empty factory restores the plain one.
    static void setFactory(Factory factory);

    std::optional<std::string> valueForHTTPHeaderField(std::string_view field) const {
        return headers_.value(field);
    }
    // nullopt removes the field.
    void setValue(std::optional<std::string_view> value, std::string_view field) {
        headers_.set(field, value);
    }
    void addValue(std::string_view value, std::string_view field) { headers_.add(field, value); }
    const HTTPHeaderFields& allHTTPHeaderFields() const { return headers_; }

    URL url;
    std::string HTTPMethod = "GET";
    std::vector<std::uint8_t> HTTPBody;
    // Seconds the server may stay silent before the request fails.
    double timeoutInterval = 60;
    URLRequestCachePolicy cachePolicy = URLRequestCachePolicy::UseProtocolCachePolicy;

  private:
    HTTPHeaderFields headers_;
};

}  // namespace foundation

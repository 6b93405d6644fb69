#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/URL.h"
#include "foundation/URLQueryItem.h"

namespace corvane {

// The address at which a repository's payment endpoint answers. Only https is trusted with
// tokens and payment secrets; plain http is allowed for 127.0.0.1 alone, where the loopback test
// servers run.
class KSRepoStoreEndpoint {
  public:
    static constexpr std::size_t kMaximumTextBytes = 2048;
    static constexpr std::string_view kLoopbackHost = "127.0.0.1";

    // The text as a repository or the database gives it, surrounding whitespace aside; nullopt
    // for anything but one such address without query or fragment.
    static std::optional<KSRepoStoreEndpoint> withString(std::string_view text);

    // Always ends in "/", the form stored on the source.
    const std::string& string() const { return url_.absoluteString(); }
    // "<endpoint><path>" with the query items; path is relative ("package/<identifier>/info").
    std::optional<foundation::URL> urlForPath(
        std::string_view path, const std::vector<foundation::URLQueryItem>& queryItems = {}) const;

  private:
    explicit KSRepoStoreEndpoint(foundation::URL url) : url_(std::move(url)) {}

    foundation::URL url_;
};

}  // namespace corvane

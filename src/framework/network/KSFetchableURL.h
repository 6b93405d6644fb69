#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "foundation/URL.h"

namespace corvane {

// The one gate for addresses from outside (depictions, package and source records, web-service
// replies, notices): only http and https with a host are ever fetched or opened, so "file:",
// "javascript:" and the like stop here.
class KSFetchableURL {
  public:
    static std::optional<foundation::URL> fromString(std::string_view text);
    // A link of a page at base, resolved the way a browser follows it.
    static std::optional<foundation::URL> fromString(std::string_view text,
                                                     const foundation::URL& base);
    static bool isFetchable(const foundation::URL& url);
    // A fetchable address whose traffic no one on the way can read or change.
    static bool isEncrypted(const foundation::URL& url);
};

}  // namespace corvane

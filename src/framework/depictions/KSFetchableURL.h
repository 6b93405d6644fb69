#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "foundation/URL.h"

namespace corvane {

// The one gate for addresses found in depictions and package records: only http and https are
// ever fetched, so "file:", "javascript:" and the like stop here.
class KSFetchableURL {
  public:
    static std::optional<foundation::URL> fromString(std::string_view text);
    // A link of a page at base, resolved the way a browser follows it.
    static std::optional<foundation::URL> fromString(std::string_view text,
                                                     const foundation::URL& base);
    static bool isFetchable(const foundation::URL& url);
};

}  // namespace corvane

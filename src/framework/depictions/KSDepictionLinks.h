#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/URL.h"
#include "html/HTMLDocument.h"

namespace corvane {

// Addresses read from depiction pages: resolved against the page they were found on, and kept
// only when they may be fetched (http, https).
class KSDepictionLinks {
  public:
    // The attribute of every element that the selector list finds, in document order.
    static std::vector<std::string> addresses(const html::HTMLDocument& document,
                                              std::string_view selectors,
                                              std::string_view attribute,
                                              const foundation::URL& base);
    // The attribute of the first element that the selector list finds.
    static std::optional<foundation::URL> firstAddress(const html::HTMLDocument& document,
                                                       std::string_view selectors,
                                                       std::string_view attribute,
                                                       const foundation::URL& base);
};

}  // namespace corvane

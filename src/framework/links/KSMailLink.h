#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "foundation/URL.h"

namespace corvane {

// A "mailto:" link to one person, for the system's mail composer. The recipient must be a plain
// address, so that a contact field from a repository can never add recipients, copies or a body;
// the subject is escaped byte by byte.
class KSMailLink {
  public:
    // local@domain: letters, digits, ".", "_", "+" and "-" before the "@" (no dot at either end,
    // none doubled); two or more labels of letters, digits and "-" after it; within the lengths
    // mail allows.
    static bool isPlainAddress(std::string_view address);
    // The subject of a question about a package: "Corvane 5: Question regarding %@".
    static std::string questionSubject(const std::string& packageName);
    // An empty recipient when the address is not plain.
    static std::optional<foundation::URL> make(std::string_view address, std::string_view subject);
    // A mail link from outside reduced to its recipient; nil unless that is a plain address.
    static std::optional<foundation::URL> recipientOnly(const foundation::URL& link);
};

}  // namespace corvane

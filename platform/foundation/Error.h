#pragma once

#include <string>

#include "foundation/Value.h"

namespace foundation {

// An error as the system passes it around: a domain, an integer code and user info
// ("source", "package", "packageID", "NSLocalizedDescription", ...).
struct Error {
    std::string domain;
    long code = 0;
    Value userInfo;

    static constexpr const char* kLocalizedDescriptionKey = "NSLocalizedDescription";

    static Error make(std::string domain, long code, std::string description = {});
    // The localized description when user info has one, else a generic text naming domain and code.
    std::string localizedDescription() const;
    bool operator==(const Error& other) const = default;
};

}  // namespace foundation

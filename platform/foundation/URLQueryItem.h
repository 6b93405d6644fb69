#pragma once

#include <optional>
#include <string>

namespace foundation {

// One "name=value" pair of a query, decoded. A pair written without "=" has no value.
struct URLQueryItem {
    std::string name;
    std::optional<std::string> value;

    bool operator==(const URLQueryItem&) const = default;
};

}  // namespace foundation

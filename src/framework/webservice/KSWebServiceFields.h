#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Value.h"

namespace corvane {

// Reads the fields of web-service replies, which come from outside: a field of the wrong type
// reads as absent, and addresses are kept only when they are http or https.
class KSWebServiceFields {
  public:
    // A string that is present text, else nullopt.
    static std::optional<std::string> text(const foundation::Value& value);
    // Present text or a number, as text ("12", "4.5"); identifiers come either way.
    static std::optional<std::string> textOrNumber(const foundation::Value& value);
    // The text of an absolute http or https URL, else nullopt.
    static std::optional<std::string> webAddress(const foundation::Value& value);
    // A number that is not negative, as an integer; 0 otherwise.
    static std::int64_t count(const foundation::Value& value);

    // One record per entry of an array reply that read returns one for; nullopt when the reply
    // is not an array.
    template <typename T>
    static std::optional<std::vector<T>> records(
        const foundation::Value& reply,
        const std::function<std::optional<T>(const foundation::Value&)>& read) {
        if (!reply.isArray()) {
            return std::nullopt;
        }
        std::vector<T> result;
        for (const auto& entry : reply.array()) {
            if (auto record = read(entry)) {
                result.push_back(std::move(*record));
            }
        }
        return result;
    }
};

}  // namespace corvane

#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// Reads the "key=value&key=value" text that follows "show/" in a package link. Keys and values
// are decoded as a form is: "+" is a blank and "%XX" a byte. A value runs from the first "=" of
// its pair to the next "&", so a value may itself hold "="; a later pair with the same key wins.
class KSURLQueryParser {
  public:
    // The value of the key, or nothing when no pair names it or its value cannot be decoded.
    static std::optional<std::string> parseComponents(std::string_view pairs, std::string_view key);
    // "+" as a blank, then "%XX" decoded; nothing for a broken escape or text that is no UTF-8.
    static std::optional<std::string> formDecoded(std::string_view text);
};

}  // namespace corvane

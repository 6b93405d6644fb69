#include "framework/debian/DebianGrammar.h"

#include <cstdint>

namespace corvane {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isAlphanumeric(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool allOf(std::string_view text, std::string_view punctuation) {
    for (char c : text) {
        if (!isAlphanumeric(c) && punctuation.find(c) == std::string_view::npos)
            return false;
    }
    return true;
}

bool isValidEpoch(std::string_view digits) {
    constexpr std::uint64_t kLargestEpoch = 2147483647;
    if (digits.empty())
        return false;
    std::uint64_t value = 0;
    for (char c : digits) {
        if (!isDigit(c))
            return false;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > kLargestEpoch)
            return false;
    }
    return true;
}

}  // namespace

bool isValidPackageName(std::string_view text) {
    return text.size() >= 2 && isAlphanumeric(text.front()) && allOf(text, "+.-");
}

bool isValidDebianVersion(std::string_view text) {
    const auto colon = text.find(':');
    const bool hasEpoch = colon != std::string_view::npos;
    if (hasEpoch) {
        if (!isValidEpoch(text.substr(0, colon)))
            return false;
        text.remove_prefix(colon + 1);
    }
    const auto hyphen = text.rfind('-');
    if (hyphen != std::string_view::npos) {
        const std::string_view revision = text.substr(hyphen + 1);
        if (revision.empty() || !allOf(revision, ".+~"))
            return false;
        text = text.substr(0, hyphen);
    }
    return !text.empty() && isDigit(text.front()) && allOf(text, hasEpoch ? ".+~-:" : ".+~-");
}

}  // namespace corvane

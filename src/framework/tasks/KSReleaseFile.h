#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// What a repository's Release file says about the repository itself.
struct KSReleaseFile {
    // "Label", else "Origin".
    std::optional<std::string> name;
    std::optional<std::string> description;
    // "Date", seconds since 1970.
    std::optional<double> date;

    // Nothing when the text holds no stanza of fields.
    static std::optional<KSReleaseFile> parse(std::string_view text);
};

}  // namespace corvane

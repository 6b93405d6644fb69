#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corvane {

// The control stanza of a package archive as dpkg-deb prints it: the fields in the order they
// are written, each value as a stanza reader gives it (continuation lines after a newline), and
// the stanza's whole text.
struct KSArchiveControl {
    std::vector<std::pair<std::string, std::string>> fields;
    std::string text;

    // The value of the last field of the name; nothing when the stanza has none.
    std::optional<std::string> value(std::string_view name) const {
        for (auto field = fields.rbegin(); field != fields.rend(); ++field) {
            if (field->first == name)
                return field->second;
        }
        return std::nullopt;
    }
};

}  // namespace corvane

#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace foundation {

// The text for a key of the main bundle's default table "Localizable", whose keys are the
// English texts; a missing key or an empty value shows the key as written.
std::string localized(std::string_view key);
// The text of the table "Errors" for a decimal error code, else the fallback formatted with
// the code.
std::string localizedError(long code,
                           std::string_view fallbackFormat = "An unknown error occurred (%ld).");

// A table in the ".strings" text format: "key" = "value"; with C escapes and comments.
// nullopt when the text is malformed.
std::optional<std::map<std::string, std::string>> parseStringsTable(std::string_view text);

}  // namespace foundation

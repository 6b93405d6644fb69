#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// Dates as mail and HTTP headers and Release files write them: "Sun, 06 Nov 1994 08:49:37 GMT".
// Written and read here rather than through the locale's date formats: the names are English
// whatever the process's language, and reading a repository's date needs no calendar data.
class InternetDate {
  public:
    // Always in GMT.
    static std::string format(double secondsSince1970);
    // The day name is optional; the zone is a number ("+0100", "-0530") or "GMT", "UTC", "UT"
    // or "Z". Nothing for any other text, a zone name included.
    static std::optional<double> parse(std::string_view text);
};

}  // namespace corvane

#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace foundation {

// Dates (seconds since 1970) to text and back, in the local time zone (from TZ when set) or a
// named one such as "UTC" or "Europe/Paris"; an unknown name means UTC. A formatter may be used
// from any thread.
class DateFormatter {
  public:
    // A fixed pattern in Unicode date-field syntax ("yyyy-MM-dd HH:mm", "dd-MM-yyyy HH:mm:ss"),
    // always with English names and Western digits whatever the user's language. Parsing is strict:
    // every field in range and the whole text used. A pattern ICU rejects formats every date as
    // empty text and parses nothing.
    static DateFormatter withFormat(std::string_view pattern, std::string_view timeZone = {});
    // "December 6, 2026 at 8:53 PM"
    static DateFormatter longDateShortTime(std::string_view timeZone = {});
    // "12/6/26"
    static DateFormatter shortDate(std::string_view timeZone = {});

    DateFormatter(DateFormatter&&) noexcept;
    DateFormatter& operator=(DateFormatter&&) noexcept;
    ~DateFormatter();

    std::string stringFromDate(double secondsSince1970) const;
    // Nothing when the text does not match the format.
    std::optional<double> dateFromString(std::string_view text) const;

  private:
    struct Implementation;
    explicit DateFormatter(std::unique_ptr<Implementation> implementation);
    std::unique_ptr<Implementation> implementation_;
};

}  // namespace foundation

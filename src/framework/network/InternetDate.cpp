#include "framework/network/InternetDate.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace corvane {

namespace {

constexpr std::array<std::string_view, 7> kDays = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Reads the words of a date one at a time, each ended by spaces or a comma.
class DateWords {
  public:
    explicit DateWords(std::string_view text) : rest_(text) {}

    std::string_view next() {
        const auto start = rest_.find_first_not_of(" ,");
        if (start == std::string_view::npos)
            return rest_ = {};
        rest_.remove_prefix(start);
        const auto word = rest_.substr(0, std::min(rest_.find_first_of(" ,"), rest_.size()));
        rest_.remove_prefix(word.size());
        return word;
    }
    bool finished() const { return rest_.find_first_not_of(' ') == std::string_view::npos; }

  private:
    std::string_view rest_;
};

std::optional<int> number(std::string_view digits, std::size_t minimum, std::size_t maximum) {
    int value = 0;
    if (digits.size() < minimum || digits.size() > maximum)
        return std::nullopt;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

std::optional<int> monthOf(std::string_view name) {
    for (std::size_t month = 0; month < kMonths.size(); ++month)
        if (kMonths[month] == name)
            return static_cast<int>(month);
    return std::nullopt;
}

// Seconds east of GMT.
std::optional<int> zoneOffset(std::string_view zone) {
    if (zone == "GMT" || zone == "UTC" || zone == "UT" || zone == "Z")
        return 0;
    if (zone.size() != 5 || (zone[0] != '+' && zone[0] != '-'))
        return std::nullopt;
    const auto hours = number(zone.substr(1, 2), 2, 2);
    const auto minutes = number(zone.substr(3, 2), 2, 2);
    if (!hours || !minutes || *minutes > 59)
        return std::nullopt;
    const int offset = *hours * 3600 + *minutes * 60;
    return zone[0] == '-' ? -offset : offset;
}

bool isValid(const std::tm& date) {
    static constexpr std::array<int, 12> kDaysIn = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int year = date.tm_year + 1900;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return date.tm_mday >= 1 && date.tm_mday <= kDaysIn[date.tm_mon] &&
           (date.tm_mon != 1 || date.tm_mday <= 28 || leap) && date.tm_hour <= 23 &&
           date.tm_min <= 59 && date.tm_sec <= 60;
}

}  // namespace

std::string InternetDate::format(double secondsSince1970) {
    const auto seconds = static_cast<std::time_t>(std::floor(secondsSince1970));
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    std::array<char, 40> text{};
    std::snprintf(text.data(), text.size(), "%.3s, %02d %.3s %04d %02d:%02d:%02d GMT",
                  kDays[utc.tm_wday].data(), utc.tm_mday, kMonths[utc.tm_mon].data(),
                  utc.tm_year + 1900, utc.tm_hour, utc.tm_min, utc.tm_sec);
    return text.data();
}

std::optional<double> InternetDate::parse(std::string_view text) {
    DateWords words(text);
    auto word = words.next();
    if (std::ranges::find(kDays, word) != kDays.end())
        word = words.next();
    const auto day = number(word, 1, 2);
    const auto month = monthOf(words.next());
    const auto year = number(words.next(), 4, 4);
    const auto time = words.next();
    if (time.size() != 8 || time[2] != ':' || time[5] != ':')
        return std::nullopt;
    const auto hour = number(time.substr(0, 2), 2, 2);
    const auto minute = number(time.substr(3, 2), 2, 2);
    const auto second = number(time.substr(6, 2), 2, 2);
    const auto offset = zoneOffset(words.next());
    if (!day || !month || !year || !hour || !minute || !second || !offset || !words.finished())
        return std::nullopt;
    std::tm date{.tm_sec = *second,
                 .tm_min = *minute,
                 .tm_hour = *hour,
                 .tm_mday = *day,
                 .tm_mon = *month,
                 .tm_year = *year - 1900};
    if (!isValid(date))
        return std::nullopt;
    return static_cast<double>(timegm(&date) - *offset);
}

}  // namespace corvane

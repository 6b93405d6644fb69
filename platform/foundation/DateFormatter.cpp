#include "foundation/DateFormatter.h"

#include <unicode/datefmt.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <mutex>

namespace foundation {

namespace {

constexpr double kMillisecondsPerSecond = 1000;
constexpr char16_t kNarrowNoBreakSpace = u'\u202F';

icu::UnicodeString unicode(std::string_view text) {
    return icu::UnicodeString::fromUTF8(
        icu::StringPiece(text.data(), static_cast<std::int32_t>(text.size())));
}

// Read afresh each time so that a TZ set after start-up is honoured; ICU's own default zone is
// fixed at its first use.
icu::TimeZone* makeTimeZone(std::string_view name) {
    if (name.empty())
        return icu::TimeZone::detectHostTimeZone();
    return icu::TimeZone::createTimeZone(unicode(name));
}

}  // namespace

struct DateFormatter::Implementation {
    Implementation(icu::DateFormat* adopted, std::string_view timeZone) : format(adopted) {
        if (format)
            format->adoptTimeZone(makeTimeZone(timeZone));
    }

    // ICU formatters keep a calendar that every call changes.
    std::mutex mutex;
    std::unique_ptr<icu::DateFormat> format;
};

DateFormatter::DateFormatter(std::unique_ptr<Implementation> implementation)
    : implementation_(std::move(implementation)) {}
DateFormatter::DateFormatter(DateFormatter&&) noexcept = default;
DateFormatter& DateFormatter::operator=(DateFormatter&&) noexcept = default;
DateFormatter::~DateFormatter() = default;

DateFormatter DateFormatter::withFormat(std::string_view pattern, std::string_view timeZone) {
    UErrorCode status = U_ZERO_ERROR;
    auto format = std::make_unique<icu::SimpleDateFormat>(unicode(pattern),
                                                          icu::Locale("en_US_POSIX"), status);
    if (U_FAILURE(status))
        format.reset();
    if (format)
        format->setLenient(false);
    return DateFormatter(std::make_unique<Implementation>(format.release(), timeZone));
}

DateFormatter DateFormatter::longDateShortTime(std::string_view timeZone) {
    return DateFormatter(std::make_unique<Implementation>(
        icu::DateFormat::createDateTimeInstance(icu::DateFormat::kLong, icu::DateFormat::kShort,
                                                icu::Locale("en_US")),
        timeZone));
}

DateFormatter DateFormatter::shortDate(std::string_view timeZone) {
    return DateFormatter(std::make_unique<Implementation>(
        icu::DateFormat::createDateInstance(icu::DateFormat::kShort, icu::Locale("en_US")),
        timeZone));
}

std::string DateFormatter::stringFromDate(double secondsSince1970) const {
    std::lock_guard lock(implementation_->mutex);
    if (!implementation_->format)
        return {};
    icu::UnicodeString text;
    implementation_->format->format(secondsSince1970 * kMillisecondsPerSecond, text);
    // Recent locale data puts a narrow no-break space before "AM"/"PM"; the system's texts use
    // a plain one.
    text.findAndReplace(icu::UnicodeString(kNarrowNoBreakSpace), icu::UnicodeString(u' '));
    std::string result;
    return text.toUTF8String(result);
}

std::optional<double> DateFormatter::dateFromString(std::string_view text) const {
    std::lock_guard lock(implementation_->mutex);
    if (!implementation_->format)
        return std::nullopt;
    icu::UnicodeString input = unicode(text);
    icu::ParsePosition position(0);
    UDate date = implementation_->format->parse(input, position);
    if (position.getErrorIndex() >= 0 || position.getIndex() != input.length())
        return std::nullopt;
    return date / kMillisecondsPerSecond;
}

}  // namespace foundation

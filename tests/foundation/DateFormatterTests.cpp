#include <gtest/gtest.h>

#include <cstdlib>

#include "foundation/Date.h"
#include "foundation/DateFormatter.h"

using namespace foundation;

namespace {

const double kReleased = Date::fromUTC(2026, 12, 6, 20, 53, 7);

}  // namespace

TEST(Date, ComponentsInUTCGiveSecondsSince1970) {
    EXPECT_EQ(Date::fromUTC(1970, 1, 1), 0);
    EXPECT_EQ(Date::fromUTC(2001, 1, 1), 978307200);
    EXPECT_EQ(kReleased, 1796590387);
    EXPECT_EQ(Date::fromUTC(1950, 6, 15, 12), -616852800);
    EXPECT_EQ(Date::fromUTC(2024, 2, 29, 0, 0, 0.5), 1709164800.5);
    EXPECT_GT(Date::now(), Date::fromUTC(2024, 1, 1));
}

TEST(DateFormatter, FixedFormatsWriteInTheGivenTimeZone) {
    EXPECT_EQ(DateFormatter::withFormat("yyyy-MM-dd HH:mm", "UTC").stringFromDate(kReleased),
              "2026-12-06 20:53");
    EXPECT_EQ(
        DateFormatter::withFormat("yyyy-MM-dd HH:mm", "Europe/Paris").stringFromDate(kReleased),
        "2026-12-06 21:53");
    EXPECT_EQ(DateFormatter::withFormat("dd-MM-yyyy HH:mm:ss", "America/New_York")
                  .stringFromDate(kReleased),
              "06-12-2026 15:53:07");
    // Summer time moves the offset.
    EXPECT_EQ(DateFormatter::withFormat("dd-MM-yyyy HH:mm:ss", "America/New_York")
                  .stringFromDate(Date::fromUTC(2026, 7, 1, 12)),
              "01-07-2026 08:00:00");
}

TEST(DateFormatter, FixedFormatsParseStrictlyInTheGivenTimeZone) {
    auto paris = DateFormatter::withFormat("yyyy-MM-dd HH:mm", "Europe/Paris");
    EXPECT_EQ(paris.dateFromString("2026-12-06 21:53"), Date::fromUTC(2026, 12, 6, 20, 53));
    EXPECT_EQ(paris.dateFromString("2026-07-01 10:00"), Date::fromUTC(2026, 7, 1, 8));
    for (const char* bad : {"", "garbage", "2026-12-06", "2026-12-06 21:53 and more",
                            "2026-13-01 10:00", "2026-02-30 10:00", "2026-12-06 25:00"})
        EXPECT_EQ(paris.dateFromString(bad), std::nullopt) << bad;

    auto stamp = DateFormatter::withFormat("dd-MM-yyyy HH:mm:ss", "UTC");
    EXPECT_EQ(stamp.dateFromString(stamp.stringFromDate(kReleased)), kReleased);
}

TEST(DateFormatter, StylesReadAsInEnglish) {
    EXPECT_EQ(DateFormatter::longDateShortTime("UTC").stringFromDate(kReleased),
              "December 6, 2026 at 8:53 PM");
    EXPECT_EQ(DateFormatter::longDateShortTime("Asia/Tokyo").stringFromDate(kReleased),
              "December 7, 2026 at 5:53 AM");
    EXPECT_EQ(DateFormatter::shortDate("UTC").stringFromDate(kReleased), "12/6/26");
    EXPECT_EQ(DateFormatter::shortDate("Asia/Tokyo").stringFromDate(kReleased), "12/7/26");
}

TEST(DateFormatter, LocalTimeZoneFollowsTZ) {
    setenv("TZ", "Asia/Tokyo", 1);
    EXPECT_EQ(DateFormatter::withFormat("yyyy-MM-dd HH:mm").stringFromDate(kReleased),
              "2026-12-07 05:53");
    EXPECT_EQ(DateFormatter::shortDate().stringFromDate(kReleased), "12/7/26");
    setenv("TZ", "America/Los_Angeles", 1);
    auto local = DateFormatter::withFormat("yyyy-MM-dd HH:mm");
    EXPECT_EQ(local.stringFromDate(kReleased), "2026-12-06 12:53");
    EXPECT_EQ(local.dateFromString("2026-12-06 12:53"), Date::fromUTC(2026, 12, 6, 20, 53));
}

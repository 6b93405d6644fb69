#include "framework/network/InternetDate.h"

#include <gtest/gtest.h>

#include "framework/tasks/KSReleaseFile.h"

namespace corvane {
namespace {

constexpr double kNoonOfDecemberFifth = 1796472000;  // 2026-12-05 12:00:00 GMT

TEST(InternetDate, ReadsTheFormsRepositoriesWrite) {
    for (const auto* text : {"Sat, 05 Dec 2026 12:00:00 GMT", "Sat, 05 Dec 2026 12:00:00 UTC",
                             "Sat, 5 Dec 2026 12:00:00 +0000", "05 Dec 2026 12:00:00 Z",
                             "Sat, 05 Dec 2026 13:30:00 +0130", "Sat, 05 Dec 2026 06:30:00 -0530",
                             "Sat,  05 Dec 2026 12:00:00 UT  "})
        EXPECT_EQ(InternetDate::parse(text), kNoonOfDecemberFifth) << text;
    EXPECT_EQ(InternetDate::parse("Thu, 29 Feb 2024 23:59:60 GMT"), 1709251200);
    EXPECT_EQ(InternetDate::parse(InternetDate::format(kNoonOfDecemberFifth)),
              kNoonOfDecemberFifth);
}

TEST(InternetDate, RefusesWhatIsNoDate) {
    for (const auto* text :
         {"", "Sat, 05 Dec 2026", "Sat, 05 Dec 2026 12:00:00", "Sat, 30 Feb 2026 12:00:00 GMT",
          "Sat, 29 Feb 2026 12:00:00 GMT", "Sat, 05 Dec 2026 24:00:00 GMT",
          "Sat, 05 Dec 2026 12:60:00 GMT", "Sat, 05 Dec 2026 12:00 GMT",
          "Sat, 05 Dec 2026 12 00 00 GMT", "Sat, 05 Dez 2026 12:00:00 GMT",
          "Sat, 05 Dec 26 12:00:00 GMT", "Sat, 05 Dec 2026 12:00:00 +01",
          "Sat, 05 Dec 2026 12:00:00 +0160", "Sat, 05 Dec 2026 12:00:00 GMT trailing",
          "Sat, -5 Dec 2026 12:00:00 GMT", "Sat, 05 Dec 2026 12:00:00 CET"})
        EXPECT_EQ(InternetDate::parse(text), std::nullopt) << text;
}

TEST(InternetDate, AReleaseDateWithAZoneNameIsStillRead) {
    const auto numeric = KSReleaseFile::parse("Origin: A\nDate: Sat, 05 Dec 2026 13:00:00 +0100\n");
    ASSERT_TRUE(numeric);
    EXPECT_EQ(numeric->date, kNoonOfDecemberFifth);
    const auto named = KSReleaseFile::parse("Origin: A\nDate: Sat, 05 Dec 2026 07:00:00 EST\n");
    ASSERT_TRUE(named);
    EXPECT_EQ(named->date, kNoonOfDecemberFifth);
    const auto unreadable = KSReleaseFile::parse("Origin: A\nDate: yesterday\n");
    ASSERT_TRUE(unreadable);
    EXPECT_EQ(unreadable->date, std::nullopt);
}

}  // namespace
}  // namespace corvane

#include <gtest/gtest.h>

#include <optional>

#include "foundation/Format.h"

using namespace foundation;

TEST(Format, SubstitutesTheCommonSpecifiers) {
    EXPECT_EQ(format("%@ has %d packages, %.2f MB, %lu%%", "repo", 3, 1.5, 7ul),
              "repo has 3 packages, 1.50 MB, 7%");
    EXPECT_EQ(format("%@-%i", std::string("pkg"), 1), "pkg-1");
    EXPECT_EQ(format("%ld %lld %u %llu %x %X", -5L, 1LL << 40, 3u, 4ull, 255, 255),
              "-5 1099511627776 3 4 ff FF");
    EXPECT_EQ(format("%@ %@ %@ %@", 12.5, true, Value(), Value::null()), "12.5 1 (null) <null>");
    EXPECT_EQ(format("%@", std::optional<std::string>()), "(null)");
    EXPECT_EQ(format("%s and %c%c", "text", 'A', 0x1F600), "text and A😀");
    EXPECT_EQ(format("[%5d|%-4@|%05.1f|%02ld]", 42, "ab", 3.14159, 7L), "[   42|ab  |003.1|07]");
    EXPECT_EQ(format("%2$@ then %1$@", "first", "second"), "second then first");
    EXPECT_EQ(format("no specifiers"), "no specifiers");
}

TEST(Format, TooFewArgumentsGiveEmptyTextAndNeverReadPastThem) {
    EXPECT_EQ(format("%@ and %@ and %d.", "one"), "one and  and .");
    EXPECT_EQ(format("%3$@|%1$@", "a"), "|a");
    EXPECT_EQ(format("%d%%", std::vector<Value>{}), "%");
}

TEST(Format, HostileFormatsFromOutsideAreHarmless) {
    EXPECT_EQ(format("%@%@%@%n%s", std::vector<Value>{}), "%n");
    EXPECT_EQ(format("%n%@", "x"), "%nx") << "%n writes nothing and takes no argument";
    EXPECT_EQ(format("%*d|%", 5, 6), "%*d|%");
    EXPECT_EQ(format("100%"), "100%");
    EXPECT_EQ(format("%0$@", "x"), "%0$@");
    EXPECT_EQ(format("%99999999999999999999999$@", "x"), "");

    std::string wide = format("%999999999d", 1);
    EXPECT_LE(wide.size(), 300u) << "a huge width must not allocate huge text";
    EXPECT_EQ(wide.back(), '1');
    EXPECT_LE(format("%.999999999f", 1.0).size(), 300u);
}

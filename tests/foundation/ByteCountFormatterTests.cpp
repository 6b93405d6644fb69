#include <gtest/gtest.h>

#include "foundation/ByteCountFormatter.h"

using foundation::ByteCountFormatter;

// Kilobytes are whole, megabytes carry one decimal and larger units two, each without trailing
// zeros; a count that rounds to 1000 of a unit moves up to the next.
TEST(ByteCountFormatter, FileStyleTable) {
    const std::pair<std::int64_t, const char*> table[] = {
        {0, "Zero KB"},
        {1, "1 byte"},
        {12, "12 bytes"},
        {999, "999 bytes"},
        {1000, "1 KB"},
        {1499, "1 KB"},
        {1500, "2 KB"},
        {12000, "12 KB"},
        {999499, "999 KB"},
        {999500, "1 MB"},
        {1000000, "1 MB"},
        {1500000, "1.5 MB"},
        {12345678, "12.3 MB"},
        {999950000, "1 GB"},
        {1234567890, "1.23 GB"},
        {2000000000, "2 GB"},
        {1500000000000, "1.5 TB"},
        {INT64_MAX, "9.22 EB"},
        {-1500000, "-1.5 MB"},
    };
    for (const auto& [count, expected] : table)
        EXPECT_EQ(ByteCountFormatter::stringFromByteCount(count), expected) << count;
}

#include <gtest/gtest.h>

#include <string>

#include "foundation/OrderedSet.h"

using namespace foundation;

TEST(OrderedSet, KeepsFirstInsertionOrderThroughDuplicatesAndRemovals) {
    OrderedSet<std::string> set{"b", "a", "b"};
    EXPECT_FALSE(set.add("a"));
    EXPECT_TRUE(set.add("c"));
    EXPECT_EQ(set.array(), (std::vector<std::string>{"b", "a", "c"}));
    EXPECT_TRUE(set.remove("a"));
    EXPECT_FALSE(set.remove("a"));
    EXPECT_FALSE(set.contains("a"));
    EXPECT_TRUE(set.add("a")) << "a removed element comes back at the end";
    EXPECT_EQ(set.array(), (std::vector<std::string>{"b", "c", "a"}));
    EXPECT_EQ(set[1], "c");
    std::string joined;
    for (const auto& element : set)
        joined += element;
    EXPECT_EQ(joined, "bca");
    EXPECT_EQ(set.size(), 3u);
}

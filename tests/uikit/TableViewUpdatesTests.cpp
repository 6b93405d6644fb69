// Row changes checked against the data's counts, and the rows they move.
#include <gtest/gtest.h>

#include "uikit/TableViewUpdates.h"

namespace {

using namespace uikit;

TEST(TableViewUpdates, OldRowsMoveByTheDeletionsAboveThemThenByTheInsertions) {
    TableViewUpdates updates;
    updates.deleteRows({{0, 1}, {0, 1}, {1, 0}});
    updates.insertRows({{0, 0}});
    updates.reloadRows({{0, 3}});
    EXPECT_EQ(updates.newIndexPath({0, 0}), (IndexPath{0, 1}));
    EXPECT_EQ(updates.newIndexPath({0, 1}), std::nullopt) << "deleted";
    EXPECT_EQ(updates.newIndexPath({0, 2}), (IndexPath{0, 2})) << "one up, one down";
    EXPECT_EQ(updates.newIndexPath({1, 1}), (IndexPath{1, 0})) << "sections move on their own";
    EXPECT_EQ(updates.newIndexPath({0, 3}), (IndexPath{0, 3}));
    EXPECT_EQ(updates.keptIndexPath({0, 3}), std::nullopt) << "a reloaded row gets a new cell";

    updates.reloadSections({1});
    EXPECT_EQ(updates.newIndexPath({1, 1}), std::nullopt) << "a reloaded section keeps nothing";
}

TEST(TableViewUpdates, ChangesThatDisagreeWithTheNewCountsAreNamed) {
    TableViewUpdates updates;
    EXPECT_TRUE(updates.empty());
    updates.deleteRows({{0, 2}});
    updates.insertRows({{1, 0}, {1, 1}});
    EXPECT_FALSE(updates.empty());
    EXPECT_EQ(updates.inconsistency({3, 0}, {2, 2}), std::nullopt);
    EXPECT_EQ(updates.inconsistency({3, 0}, {2, 2, 0}),
              "the number of sections changed from 2 to 3");
    EXPECT_EQ(updates.inconsistency({3, 0}, {3, 2}),
              "section 0 had 3 rows, 1 deleted and 0 inserted, but now has 3");
    EXPECT_EQ(updates.inconsistency({2, 0}, {1, 2}), "a changed row lies outside its section")
        << "a deleted row must exist before";
    EXPECT_EQ(updates.inconsistency({3, 0}, {2, 1}), "a changed row lies outside its section")
        << "an inserted row must exist after";

    updates.reloadSections({0});
    EXPECT_EQ(updates.inconsistency({3, 0}, {7, 2}), std::nullopt)
        << "a reloaded section may have any count";
}

}  // namespace

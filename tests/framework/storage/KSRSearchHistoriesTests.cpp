#include "framework/storage/KSRSearchHistories.h"

#include <gtest/gtest.h>

#include "framework/StorageFixture.h"

namespace corvane {
namespace {

using testing::StorageFixture;

class KSRSearchHistoriesTest : public StorageFixture {};

TEST_F(KSRSearchHistoriesTest, KeepsEachTextOnceNewestFirst) {
    KSRSearchHistories histories;
    histories.addSearchText("tweak");
    histories.addSearchText(" theme ");
    histories.addSearchText("   ");
    histories.addSearchText("tweak");
    auto results = histories.searchHistories();
    ASSERT_EQ(results.count(), 2u);
    EXPECT_EQ(results[0].searchText, "tweak");
    EXPECT_EQ(results[1].searchText, "theme");
    EXPECT_GE(results[0].date, results[1].date);
}

}  // namespace
}  // namespace corvane

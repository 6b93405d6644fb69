#include "framework/storage/KSRDevelopers.h"

#include <gtest/gtest.h>

#include "framework/StorageFixture.h"
#include "framework/storage/KSRDeveloper.h"
#include "support/MainLoop.h"

namespace corvane {
namespace {

using testing::StorageFixture;

class KSRDevelopersTest : public StorageFixture {};

TEST_F(KSRDevelopersTest, FollowStateLandsInTheBackgroundWhateverTheCase) {
    KSRDevelopers developers;
    EXPECT_FALSE(developers.isDeveloperFollowed("Jane Doe"));
    auto database = realm();
    database.write([&] {
        KSRDeveloper known;
        known.name = "jane doe";
        known.packagesCount = 3;
        database.addObject(known);
    });

    developers.setDeveloper("Jane Doe", true);
    developers.setDeveloper("New Dev", true);
    testing_support::pumpUntil([&] {
        return developers.isDeveloperFollowed("JANE DOE") &&
               developers.isDeveloperFollowed("new dev");
    });
    auto jane = database.objectForPrimaryKey<KSRDeveloper>("jane doe");
    ASSERT_TRUE(jane);
    EXPECT_EQ(jane->packagesCount, 3) << "the rest of the record stays";
    EXPECT_EQ(database.objectsWhere<KSRDeveloper>("name = %@", "new dev").count(), 1u);

    developers.setDeveloper("jane DOE", false);
    testing_support::pumpUntil([&] { return !developers.isDeveloperFollowed("Jane Doe"); });
    EXPECT_EQ(database.allObjects<KSRDeveloper>().count(), 2u);
}

TEST_F(KSRDevelopersTest, QuickTogglesLandInTheOrderTheyWereMade) {
    KSRDevelopers developers;
    for (int i = 0; i < 40; ++i)
        developers.setDeveloper("Toggler", i % 2 == 0);
    developers.setDeveloper("Marker", true);
    testing_support::pumpUntil([&] { return developers.isDeveloperFollowed("Marker"); });
    EXPECT_FALSE(developers.isDeveloperFollowed("Toggler")) << "the last tap unfollowed";
}

}  // namespace
}  // namespace corvane

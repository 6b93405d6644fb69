#include "framework/tasks/KSInformationCacheTask.h"

#include <gtest/gtest.h>

#include "framework/StorageFixture.h"
#include "framework/storage/KSRDeveloper.h"
#include "framework/storage/KSRPackage.h"

namespace corvane {
namespace {

using Identifiers = std::vector<std::string>;

class KSInformationCacheTaskTest : public testing::StorageFixture {
  protected:
    void storePackage(const std::string& identifier, std::optional<std::string> maintainer) {
        auto database = realm();
        database.write([&] {
            KSRPackage package;
            package.identifier = identifier;
            package.maintainer = std::move(maintainer);
            database.addOrUpdateObject(package);
        });
    }
    void storeDeveloper(const std::string& name, bool followed, Identifiers identifiers) {
        auto database = realm();
        database.write([&] {
            KSRDeveloper developer;
            developer.name = name;
            developer.isFollowed = followed;
            developer.packagesCount = static_cast<std::int64_t>(identifiers.size());
            developer.packagesIdentifiers = std::move(identifiers);
            database.addOrUpdateObject(developer);
        });
    }
    KSRDeveloper developer(const std::string& name) {
        return realm().objectForPrimaryKey<KSRDeveloper>(name).value_or(KSRDeveloper{});
    }
};

TEST_F(KSInformationCacheTaskTest, DevelopersAreRebuiltFromTheMaintainersOfEveryPackage) {
    storeDeveloper("ada", true, {"com.ada.a"});
    storeDeveloper("bob", false, {"com.bob.a"});
    storeDeveloper("gone", true, {"com.gone.a"});
    storePackage("com.ada.c", "Ada");
    storePackage("com.ada.a", "ADA");
    storePackage("com.ada.b", "ada");
    storePackage("com.bob.b", "Bob");
    storePackage("com.bob.a", "Bob");
    storePackage("com.nobody", std::nullopt);
    storePackage("com.blank", "");

    KSInformationCacheTask::rebuildDevelopers();

    const auto ada = developer("ada");
    EXPECT_EQ(ada.packagesIdentifiers, (Identifiers{"com.ada.a", "com.ada.b", "com.ada.c"}));
    EXPECT_EQ(ada.packagesCount, 3);
    EXPECT_EQ(ada.developerNewPackagesIdentifiers, (Identifiers{"com.ada.b", "com.ada.c"}))
        << "a followed developer's packages that are new since the last rebuild";
    const auto bob = developer("bob");
    EXPECT_EQ(bob.packagesIdentifiers, (Identifiers{"com.bob.a", "com.bob.b"}));
    EXPECT_TRUE(bob.developerNewPackagesIdentifiers.empty()) << "bob is not followed";
    EXPECT_EQ(developer("gone").packagesCount, 0);
    EXPECT_TRUE(developer("gone").packagesIdentifiers.empty());
    EXPECT_FALSE(realm().objectForPrimaryKey<KSRDeveloper>(""));

    // Noted once, and kept until seen, however often the packages are rebuilt.
    storePackage("com.ada.d", "Ada");
    KSInformationCacheTask::rebuildDevelopers();
    EXPECT_EQ(developer("ada").developerNewPackagesIdentifiers,
              (Identifiers{"com.ada.b", "com.ada.c", "com.ada.d"}));
}

}  // namespace
}  // namespace corvane

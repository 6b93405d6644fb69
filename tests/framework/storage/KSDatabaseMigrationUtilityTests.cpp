#include "framework/storage/KSDatabaseMigrationUtility.h"

#include <gtest/gtest.h>

#include "foundation/Date.h"
#include "foundation/FileManager.h"
#include "framework/StorageFixture.h"
#include "framework/device/KSPaths.h"
#include "framework/storage/KSRSource.h"

namespace corvane {
namespace {

using foundation::FileManager;
using testing::StorageFixture;

class KSDatabaseMigrationUtilityTest : public StorageFixture {
  protected:
    static void storeSource(const std::string& location) {
        auto database = realm();
        database.write([&] {
            KSRSource source;
            source.location = location;
            database.addOrUpdateObject(source);
        });
    }
};

TEST_F(KSDatabaseMigrationUtilityTest, DeletesOnlyDataOlderThanTheCurrentLayout) {
    EXPECT_FALSE(KSDatabaseMigrationUtility::deleteDatabaseIfOutdated()) << "no database";
    storeSource("https://repo.example.org/");
    const auto file = KSDatabase::path();
    ASSERT_TRUE(FileManager::writeAtomically(KSPaths::dataPath("keep.txt"), "x"));

    ASSERT_TRUE(
        FileManager::setModificationDate(file, foundation::Date::fromUTC(2019, 10, 28, 0, 0, 1)));
    EXPECT_FALSE(KSDatabaseMigrationUtility::deleteDatabaseIfOutdated());
    EXPECT_TRUE(FileManager::fileExists(KSPaths::dataPath("keep.txt")));

    ASSERT_TRUE(
        FileManager::setModificationDate(file, foundation::Date::fromUTC(2019, 10, 27, 23, 59)));
    EXPECT_TRUE(KSDatabaseMigrationUtility::deleteDatabaseIfOutdated());
    EXPECT_FALSE(FileManager::fileExists(KSPaths::dataDirectory()));
    EXPECT_EQ(realm().allObjects<KSRSource>().count(), 0u) << "a fresh database afterwards";
}

TEST_F(KSDatabaseMigrationUtilityTest, OpensMigratesAndRecreates) {
    bool shouldRefresh = false;
    EXPECT_TRUE(KSDatabaseMigrationUtility::migrateDatabaseForced(false, &shouldRefresh));
    EXPECT_FALSE(shouldRefresh) << "a new database needs no refresh of its own";
    storeSource("https://repo.example.org/");
    EXPECT_TRUE(KSDatabaseMigrationUtility::migrateDatabaseForced(false, &shouldRefresh));
    EXPECT_FALSE(shouldRefresh);
    EXPECT_EQ(store::Realm::defaultRealm().schemaVersion(), 27u);
    EXPECT_EQ(store::Realm::defaultRealm().allObjects<KSRSource>().count(), 1u);

    EXPECT_FALSE(KSDatabaseMigrationUtility::migrateDatabaseForced(true, &shouldRefresh));
    EXPECT_TRUE(shouldRefresh);
    EXPECT_EQ(realm().allObjects<KSRSource>().count(), 0u);
}

TEST_F(KSDatabaseMigrationUtilityTest, AnOlderSchemaIsMigratedAndAsksForARefresh) {
    {
        ASSERT_TRUE(FileManager::createDirectory(KSPaths::dataDirectory()));
        auto configuration = KSDatabase::configuration({});
        configuration.schemaVersion = 26;
        auto older = store::Realm::open(configuration);
        ASSERT_TRUE(older.ok());
        older->write([&] {
            KSRSource source;
            source.location = "https://repo.example.org/";
            older->addObject(source);
        });
    }
    bool shouldRefresh = false;
    EXPECT_TRUE(KSDatabaseMigrationUtility::migrateDatabaseForced(false, &shouldRefresh));
    EXPECT_TRUE(shouldRefresh);
    EXPECT_EQ(realm().allObjects<KSRSource>().count(), 1u) << "the data survives";
}

TEST_F(KSDatabaseMigrationUtilityTest, ADamagedFileIsRecreated) {
    ASSERT_TRUE(FileManager::createDirectory(KSPaths::dataDirectory()));
    ASSERT_TRUE(FileManager::writeAtomically(KSDatabase::path(), std::string(4096, 'x')));
    bool shouldRefresh = false;
    EXPECT_FALSE(KSDatabaseMigrationUtility::migrateDatabaseForced(false, &shouldRefresh));
    EXPECT_TRUE(shouldRefresh);
    storeSource("https://repo.example.org/");
    EXPECT_EQ(realm().allObjects<KSRSource>().count(), 1u);

    auto alert = KSDatabaseMigrationUtility::didResetDatabaseAlert();
    EXPECT_EQ(alert->title(), "Reset Database");
    ASSERT_EQ(alert->actions().size(), 1u);
    EXPECT_EQ(alert->actions()[0]->title(), "Ok");
}

}  // namespace
}  // namespace corvane

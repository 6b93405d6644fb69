#include <gtest/gtest.h>

#include <SQLiteCpp/Database.h>

#include <filesystem>
#include <fstream>

#include "TestRecords.h"
#include "store/Migration.h"
#include "store/Realm.h"
#include "support/TempDeviceRoot.h"

using namespace store_test;
using foundation::Value;

namespace {

// The package record as schema version 26 stored it: "title" became "name", "legacyRating" (a
// ten-point integer) became "rating" (five stars), and the rest of the version 27 fields are new.
struct PackageV26 {
    std::string identifier;
    std::optional<std::string> title;
    std::int64_t legacyRating = 0;
    std::vector<std::string> installedFiles;

    static const store::Schema<PackageV26>& schema() {
        static const auto schema = store::Schema<PackageV26>("Package", "identifier")
                                       .property("identifier", &PackageV26::identifier)
                                       .property("title", &PackageV26::title)
                                       .property("legacyRating", &PackageV26::legacyRating)
                                       .property("installedFiles", &PackageV26::installedFiles);
        return schema;
    }
};

class Migrations : public ::testing::Test {
  protected:
    store::Configuration configuration(std::uint64_t version) const {
        store::Configuration configuration;
        configuration.path = root_.path() + "/store.sqlite";
        configuration.schemaVersion = version;
        if (version == 26)
            configuration.setObjectTypes<PackageV26, Source>();
        else
            configuration.setObjectTypes<Package, Source>();
        return configuration;
    }

    void storeVersion26Data() {
        auto realm = store::Realm::open(configuration(26));
        ASSERT_TRUE(realm.ok()) << realm.error().localizedDescription();
        realm->write([&] {
            realm->addOrUpdateObject(PackageV26{"a", "Alpha", 8, {"/usr/bin/a"}});
            realm->addOrUpdateObject(PackageV26{"b", std::nullopt, 3, {}});
            realm->addOrUpdateObject(Source{"https://repo.example", "Repo"});
        });
    }

    std::vector<std::string> storedColumns(const std::string& table) const {
        SQLite::Database database(root_.path() + "/store.sqlite");
        SQLite::Statement statement(database, "SELECT name FROM pragma_table_info(?) ORDER BY cid");
        statement.bind(1, table);
        std::vector<std::string> names;
        while (statement.executeStep())
            names.push_back(statement.getColumn(0).getString());
        return names;
    }

    // How SQLite would look up the installed packages.
    std::string installedQueryPlan() const {
        SQLite::Database database(root_.path() + "/store.sqlite");
        SQLite::Statement statement(
            database, "EXPLAIN QUERY PLAN SELECT rowid FROM Package WHERE isInstalled = 1");
        std::string plan;
        while (statement.executeStep())
            plan += statement.getColumn(3).getString() + "\n";
        return plan;
    }

    static store::Configuration::MigrationBlock version27Migration() {
        return [](store::Migration& migration, std::uint64_t oldVersion) {
            if (oldVersion >= 27)
                return;
            migration.renameProperty("Package", "title", "name");
            migration.enumerateObjects(
                "Package", [](const Value::Dictionary& oldObject, Value::Dictionary& newObject) {
                    newObject["rating"] = oldObject.at("legacyRating").doubleValue() / 2;
                });
        };
    }

    testing_support::TempDeviceRoot root_;
};

}  // namespace

TEST_F(Migrations, From26To27KeepsDataAddsDefaultsRunsTheBlockAndDropsRemovedProperties) {
    storeVersion26Data();
    auto config = configuration(27);
    std::optional<std::uint64_t> migratedFrom;
    config.migrationBlock = [&, inner = version27Migration()](store::Migration& migration,
                                                              std::uint64_t old) {
        migratedFrom = old;
        inner(migration, old);
    };
    auto realm = store::Realm::open(config);
    ASSERT_TRUE(realm.ok()) << realm.error().localizedDescription();
    EXPECT_EQ(migratedFrom, 26u);
    EXPECT_EQ(realm->schemaVersion(), 27u);

    auto alpha = realm->objectForPrimaryKey<Package>("a");
    ASSERT_TRUE(alpha);
    EXPECT_EQ(alpha->name, "Alpha");
    EXPECT_EQ(alpha->rating, 4.0);
    EXPECT_EQ(alpha->section, "Tweaks") << "a new property holds its default";
    EXPECT_FALSE(alpha->isInstalled);
    EXPECT_EQ(alpha->installedFiles, std::vector<std::string>{"/usr/bin/a"});
    const auto beta = realm->objectForPrimaryKey<Package>("b");
    const auto repo = realm->objectForPrimaryKey<Source>("https://repo.example");
    ASSERT_TRUE(beta && repo);
    EXPECT_EQ(beta->rating, 1.5);
    EXPECT_FALSE(beta->name);
    EXPECT_EQ(repo->name, "Repo");
    EXPECT_EQ(realm->objectsWhere<Package>("section == 'Tweaks'").count(), 2u);

    auto columns = storedColumns("Package");
    EXPECT_EQ(std::count(columns.begin(), columns.end(), "legacyRating"), 0);
    EXPECT_EQ(std::count(columns.begin(), columns.end(), "title"), 0);

    realm->write([&] { realm->addOrUpdateObject(package("c", "Gamma")); });
    EXPECT_EQ(realm->allObjects<Package>().count(), 3u);
    // The table rebuilt without its old columns has its index again.
    EXPECT_NE(installedQueryPlan().find("INDEX Package_isInstalled"), std::string::npos)
        << installedQueryPlan();
}

TEST_F(Migrations, AFailedMigrationLeavesTheFileAsItWas) {
    storeVersion26Data();
    auto config = configuration(27);
    config.migrationBlock = [](store::Migration& migration, std::uint64_t) {
        migration.enumerateObjects("Package", [](const Value::Dictionary&, Value::Dictionary&) {
            throw std::runtime_error("cannot migrate");
        });
    };
    auto failed = store::Realm::open(config);
    ASSERT_FALSE(failed.ok());
    EXPECT_EQ(failed.error().domain, store::Realm::kErrorDomain);
    EXPECT_NE(failed.error().localizedDescription().find("cannot migrate"), std::string::npos);

    auto old = store::Realm::open(configuration(26));
    ASSERT_TRUE(old.ok()) << old.error().localizedDescription();
    EXPECT_EQ(old->objectForPrimaryKey<PackageV26>("a")->legacyRating, 8);
}

TEST_F(Migrations, ANewerFileOrAChangedClassWithoutANewVersionIsRefused) {
    {
        auto realm = store::Realm::open(configuration(27));
        ASSERT_TRUE(realm.ok());
    }
    auto older = configuration(26);
    older.setObjectTypes<Package, Source>();
    auto newer = store::Realm::open(older);
    ASSERT_FALSE(newer.ok());
    EXPECT_NE(newer.error().localizedDescription().find("newer"), std::string::npos);

    auto changed = configuration(27);
    changed.setObjectTypes<PackageV26, Source>();
    auto refused = store::Realm::open(changed);
    ASSERT_FALSE(refused.ok());
    EXPECT_NE(refused.error().localizedDescription().find("without a new schema version"),
              std::string::npos);
}

TEST_F(Migrations, CompactionShrinksTheFileAndKeepsTheData) {
    auto realm = store::Realm::open(configuration(27));
    ASSERT_TRUE(realm.ok());
    realm->write([&] {
        for (int i = 0; i < 3000; ++i)
            realm->addOrUpdateObject(package("p" + std::to_string(i), std::string(200, 'x')));
    });
    realm->write([&] { realm->deleteObjects(realm->objectsWhere<Package>("identifier != 'p7'")); });
    auto size = [&] {
        std::uintmax_t total = 0;
        for (const auto& entry : std::filesystem::directory_iterator(root_.path()))
            total += entry.file_size();
        return total;
    };
    auto before = size();
    ASSERT_TRUE(realm->compact().ok());
    EXPECT_LT(size(), before / 4);
    const auto kept = realm->objectForPrimaryKey<Package>("p7");
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->name, std::string(200, 'x'));
}

TEST_F(Migrations, AFileThatIsNoDatabaseGivesAnErrorNotACrash) {
    {
        std::ofstream garbage(root_.path() + "/store.sqlite", std::ios::binary);
        garbage << std::string(4096, '\x5a');
    }
    auto realm = store::Realm::open(configuration(27));
    ASSERT_FALSE(realm.ok());
    EXPECT_EQ(realm.error().code, store::Realm::OpenFailed);
}

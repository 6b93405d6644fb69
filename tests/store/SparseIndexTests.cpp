#include <gtest/gtest.h>

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <optional>
#include <string>

#include "store/PredicateTranslator.h"
#include "store/Realm.h"
#include "store/StoreError.h"
#include "support/TempDeviceRoot.h"

namespace {

// The same table as an older program declared it, with full indexes, and as it is now.
template <bool kSparse>
struct Flagged {
    std::string identifier;
    bool isInstalled = false;
    std::optional<std::string> updated;

    static const store::Schema<Flagged>& schema() {
        static const auto schema = [] {
            auto schema = store::Schema<Flagged>("Flagged", "identifier")
                              .property("identifier", &Flagged::identifier)
                              .property("isInstalled", &Flagged::isInstalled)
                              .property("updated", &Flagged::updated);
            if (kSparse)
                return schema.sparselyIndexed("isInstalled").sparselyIndexed("updated");
            return schema.indexed({"isInstalled"}).indexed({"updated"});
        }();
        return schema;
    }
};

struct BadlyIndexed {
    std::string identifier;
    std::string name;

    static const store::Schema<BadlyIndexed>& schema() {
        static const auto schema = store::Schema<BadlyIndexed>("BadlyIndexed", "identifier")
                                       .property("identifier", &BadlyIndexed::identifier)
                                       .property("name", &BadlyIndexed::name)
                                       .sparselyIndexed("name");
        return schema;
    }
};

class SparseIndexes : public ::testing::Test {
  protected:
    template <typename T>
    store::Realm open() const {
        store::Configuration configuration;
        configuration.path = path();
        configuration.schemaVersion = 1;
        configuration.setObjectTypes<T>();
        auto realm = store::Realm::open(configuration);
        if (!realm.ok())
            throw std::runtime_error(realm.error().localizedDescription());
        return realm.value();
    }

    std::string path() const { return root_.path() + "/store.sqlite"; }

    std::string sqlOf(const std::string& index) const {
        SQLite::Database database(path());
        SQLite::Statement statement(database, "SELECT sql FROM sqlite_schema WHERE name = ?");
        statement.bind(1, index);
        return statement.executeStep() ? statement.getColumn(0).getString() : std::string();
    }

    // How SQLite runs the condition the store makes of the predicate, its values bound.
    std::string planOf(const std::string& predicate) const {
        const auto condition =
            store::PredicateTranslator::translate(Flagged<true>::schema(), predicate, {});
        SQLite::Database database(path());
        SQLite::Statement plan(
            database, "EXPLAIN QUERY PLAN SELECT rowid FROM Flagged WHERE " + condition.sql);
        for (std::size_t i = 0; i < condition.bindings.size(); ++i)
            plan.bind(int(i) + 1, condition.bindings[i].boolValue() ? 1 : 0);
        std::string steps;
        while (plan.executeStep())
            steps += plan.getColumn(3).getString() + "\n";
        return steps;
    }

    testing_support::TempDeviceRoot root_;
};

}  // namespace

TEST_F(SparseIndexes, ReplaceTheFullOnesOfAnOlderFileAndServeTheQueriesForTheSetRecords) {
    {
        auto older = open<Flagged<false>>();
        older.write([&] {
            for (int i = 0; i < 300; ++i)
                older.addOrUpdateObject(Flagged<false>{
                    "p" + std::to_string(i), i % 100 == 0,
                    i % 150 == 0 ? std::optional<std::string>("2026-12-07") : std::nullopt});
        });
    }
    EXPECT_FALSE(sqlOf("Flagged_isInstalled").empty());

    auto realm = open<Flagged<true>>();
    EXPECT_TRUE(sqlOf("Flagged_isInstalled").empty()) << "the full index is dropped";
    EXPECT_TRUE(sqlOf("Flagged_updated").empty());
    EXPECT_NE(sqlOf("Flagged_isInstalled_whenSet").find("WHERE \"isInstalled\" IS 1"),
              std::string::npos);
    EXPECT_NE(sqlOf("Flagged_updated_whenSet").find("WHERE \"updated\" IS NOT NULL"),
              std::string::npos);

    realm.write([&] { realm.addOrUpdateObject(Flagged<true>{"late", true, "2026-12-08"}); });
    EXPECT_EQ(realm.objectsWhere<Flagged<true>>("isInstalled = YES").count(), 4u);
    EXPECT_EQ(realm.objectsWhere<Flagged<true>>("isInstalled = NO").count(), 297u);
    EXPECT_EQ(realm.objectsWhere<Flagged<true>>("updated != nil").count(), 3u);
    EXPECT_EQ(realm.objectsWhere<Flagged<true>>("updated == nil").count(), 298u);

    EXPECT_NE(planOf("isInstalled = YES").find("Flagged_isInstalled_whenSet"), std::string::npos)
        << planOf("isInstalled = YES");
    EXPECT_NE(planOf("updated != nil").find("Flagged_updated_whenSet"), std::string::npos)
        << planOf("updated != nil");
    EXPECT_EQ(planOf("isInstalled = NO").find("whenSet"), std::string::npos)
        << "the records left out are found by reading the table";
}

TEST_F(SparseIndexes, NeedOnePropertyThatCanBeUnset) {
    store::Configuration configuration;
    configuration.path = path();
    configuration.setObjectTypes<BadlyIndexed>();
    auto realm = store::Realm::open(configuration);
    ASSERT_FALSE(realm.ok());
    EXPECT_NE(realm.error().localizedDescription().find("sparse index on \"name\""),
              std::string::npos)
        << realm.error().localizedDescription();
}

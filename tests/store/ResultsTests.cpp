#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "StoreFixture.h"
#include "foundation/RunLoop.h"
#include "support/MainLoop.h"

using namespace store_test;

class ResultsTest : public StoreFixture {};

TEST_F(ResultsTest, SortingIgnoresCaseAndAccentsAndKeepsEarlierSortsAsTieBreakers) {
    auto p = [](std::string id, std::string name, std::int64_t op) {
        auto record = package(std::move(id), std::move(name));
        record.queueOperation = op;
        return record;
    };
    add({p("1", "banana", 2), p("2", "Apple", 1), p("3", "éclair", 1), p("4", "apple", 2),
         p("5", "Zebra", 1)});

    auto byName = realm.allObjects<Package>().sortedResultsUsingKeyPath("name", true);
    EXPECT_EQ(identifiers(byName), (Strings{"2", "4", "1", "3", "5"}));
    EXPECT_EQ(identifiers(realm.allObjects<Package>().sortedResultsUsingKeyPath("name", false)),
              (Strings{"5", "3", "1", "4", "2"}));
    auto byOperationThenName = byName.sortedResultsUsingKeyPath("queueOperation", false);
    EXPECT_EQ(identifiers(byOperationThenName), (Strings{"4", "1", "2", "3", "5"}));
    EXPECT_EQ(byOperationThenName.objectAtIndex(2).identifier, "2");
    EXPECT_EQ(byOperationThenName[4].identifier, "5");
    EXPECT_THROW(byOperationThenName.objectAtIndex(5), std::out_of_range);
    EXPECT_THROW(realm.allObjects<Package>().sortedResultsUsingKeyPath("installedFiles", true),
                 store::StoreError);
}

TEST_F(ResultsTest, DistinctKeepsTheFirstObjectOfEachValueInTheCurrentOrder) {
    auto p = [](std::string id, std::string name, double rating) {
        auto record = package(std::move(id), std::move(name));
        record.rating = rating;
        return record;
    };
    add({p("a1", "Alpha", 1), p("b1", "Beta", 5), p("a2", "Alpha", 3), p("n1", "", 0),
         p("b2", "Beta", 2)});
    auto unnamed = package("u1");
    auto unnamed2 = package("u2");
    add({unnamed, unnamed2});

    auto distinctByInsertion = realm.allObjects<Package>().distinctResultsUsingKeyPaths({"name"});
    EXPECT_EQ(identifiers(distinctByInsertion), (Strings{"a1", "b1", "n1", "u1"}));

    auto bestFirst = realm.allObjects<Package>()
                         .sortedResultsUsingKeyPath("rating", false)
                         .distinctResultsUsingKeyPaths({"name"});
    EXPECT_EQ(identifiers(bestFirst), (Strings{"b1", "a2", "n1", "u1"}));

    auto thenByName = bestFirst.sortedResultsUsingKeyPath("name", true);
    EXPECT_EQ(identifiers(thenByName), (Strings{"u1", "n1", "a2", "b1"}));
    EXPECT_EQ(identifiers(thenByName.objectsWhere("rating < 3")), (Strings{"u1", "n1", "a1", "b2"}))
        << "a refinement filters before the distinct step, as the object database does";
}

TEST_F(ResultsTest, ResultsAreLiveAndSeeWritesMadeAfterTheyWereCreated) {
    add({package("a", "Alpha")});
    auto named =
        realm.objectsWhere<Package>("name BEGINSWITH 'A'").sortedResultsUsingKeyPath("name", true);
    EXPECT_EQ(named.count(), 1u);
    auto first = named.firstObject();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->identifier, "a");

    std::thread writer([&] { add({package("b", "Aardvark"), package("c", "Beta")}); });
    writer.join();
    EXPECT_EQ(named.count(), 2u);
    first = named.firstObject();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->identifier, "b");

    realm.write([&] {
        auto renamed = realm.objectForPrimaryKey<Package>("b").value();
        renamed.name = "Zulu";
        realm.addOrUpdateObject(renamed);
        EXPECT_EQ(identifiers(named), Strings{"a"}) << "the writing thread sees its own changes";
        realm.deleteObject(realm.objectForPrimaryKey<Package>("a").value());
        EXPECT_FALSE(named.firstObject());
    });
    EXPECT_EQ(named.count(), 0u);
    EXPECT_EQ(realm.allObjects<Package>().count(), 2u);
}

TEST_F(ResultsTest, UnsortedResultsKeepInsertionOrderThroughUpdates) {
    add({package("c"), package("a"), package("b")});
    add({package("a", "renamed")});
    EXPECT_EQ(identifiers(realm.allObjects<Package>()), (Strings{"c", "a", "b"}));
}

TEST_F(ResultsTest, IterationReadsEveryObjectInOrderAcrossChunks) {
    realm.write([&] {
        for (int i = 0; i < 1000; ++i) {
            auto record = package("p" + std::to_string(i));
            record.queueOperation = 1000 - i;
            realm.addOrUpdateObject(record);
        }
    });
    auto sorted = realm.allObjects<Package>().sortedResultsUsingKeyPath("queueOperation", true);
    std::int64_t expected = 1;
    std::size_t seen = 0;
    for (const auto& record : sorted) {
        EXPECT_EQ(record.queueOperation, expected++);
        ++seen;
    }
    EXPECT_EQ(seen, 1000u);

    realm.write([&] {
        for (const auto& record : realm.objectsWhere<Package>("queueOperation > 500"))
            realm.deleteObject(record);
    });
    EXPECT_EQ(sorted.count(), 500u);
}

TEST_F(ResultsTest, DeleteObjectsAndDeleteAllRemoveExactlyTheirObjects) {
    auto installed = package("i");
    installed.isInstalled = true;
    add({installed, package("x"), package("y")});
    realm.write([&] { realm.deleteObjects(realm.objectsWhere<Package>("isInstalled == NO")); });
    EXPECT_EQ(identifiers(realm.allObjects<Package>()), Strings{"i"});

    Source source{"https://repo.example", "Example"};
    realm.write([&] {
        realm.addOrUpdateObject(source);
        realm.deleteAllObjects<Package>();
    });
    EXPECT_EQ(realm.allObjects<Package>().count(), 0u);
    EXPECT_EQ(realm.allObjects<Source>().count(), 1u);
}

TEST_F(ResultsTest, NotificationBlockRunsOnMainAfterWritesOfItsClassAndNeverWithoutItsToken) {
    auto installed = realm.objectsWhere<Package>("isInstalled == YES");
    std::atomic<int> calls = 0;
    std::atomic<bool> onMain = true;
    std::size_t countSeen = 0;
    auto token = installed.addNotificationBlock([&](const store::Results<Package>& results) {
        onMain = onMain && foundation::isMainThread();
        countSeen = results.count();
        ++calls;
    });

    std::thread writer([&] {
        auto record = package("a");
        record.isInstalled = true;
        add({record});
    });
    writer.join();
    EXPECT_EQ(calls, 0) << "delivery waits for the main run loop";
    testing_support::pumpUntil([&] { return calls == 1; });
    EXPECT_TRUE(onMain);
    EXPECT_EQ(countSeen, 1u);

    realm.write([&] { realm.addOrUpdateObject(Source{"https://other.example", {}}); });
    testing_support::pumpFor(0.05);
    EXPECT_EQ(calls, 1) << "a write of another class does not notify";

    realm.beginWriteTransaction();
    realm.addOrUpdateObject(package("b"));
    realm.cancelWriteTransaction();
    testing_support::pumpFor(0.05);
    EXPECT_EQ(calls, 1) << "a cancelled transaction notifies no one";

    add({package("c")});
    token.reset();
    testing_support::pumpFor(0.05);
    EXPECT_EQ(calls, 1) << "a delivery queued before the token went must not run";
    add({package("d")});
    testing_support::pumpFor(0.05);
    EXPECT_EQ(calls, 1);
}

TEST_F(ResultsTest, IterationGivesEachObjectItsOwnListAcrossChunks) {
    // Lists of every length, sharing records, in an order unlike the keys' order.
    auto versionsOf = [](int i) {
        std::vector<Version> versions;
        for (int v = i % 4; v > 0; --v) {
            const auto n = std::to_string((i + v) % 50);
            versions.push_back({"v" + n, "1." + n});
        }
        return versions;
    };
    realm.write([&] {
        for (int i = 0; i < 600; ++i) {
            auto record = package("p" + std::to_string(i));
            record.availableVersions = versionsOf(i);
            realm.addOrUpdateObject(record);
        }
        realm.deleteObject(Version{"v7", ""});
    });
    int i = 0;
    for (const auto& record : realm.allObjects<Package>()) {
        auto expected = versionsOf(i++);
        std::erase_if(expected, [](const Version& version) { return version.key == "v7"; });
        ASSERT_EQ(record.availableVersions.size(), expected.size()) << record.identifier;
        for (std::size_t v = 0; v < expected.size(); ++v) {
            EXPECT_EQ(record.availableVersions[v].key, expected[v].key) << record.identifier;
            EXPECT_EQ(record.availableVersions[v].version, expected[v].version);
        }
    }
    EXPECT_EQ(i, 600);
}

TEST_F(ResultsTest, ValuesOfAFewPropertiesComeInTheSetsOrderAsTheObjectsWouldGiveThem) {
    auto p = [](std::string id, std::optional<std::string> name, double rating) {
        auto record = package(std::move(id), std::move(name));
        record.rating = rating;
        return record;
    };
    auto dated = p("d", "delta", 4);
    dated.installDate = 1.6e9;
    add({p("b", "Beta", 5), p("a", "alpha", 1), dated, p("n", std::nullopt, 2),
         p("a2", "Alpha", 3)});

    auto rows = [](const store::Results<Package>& results, std::vector<std::string> keyPaths) {
        std::vector<foundation::Value::Array> out;
        results.enumerateValuesForKeyPaths(
            keyPaths, [&](const std::vector<foundation::Value>& values) { out.push_back(values); });
        return out;
    };
    using Row = foundation::Value::Array;
    auto named =
        realm.objectsWhere<Package>("rating >= %@", 2).sortedResultsUsingKeyPath("name", true);
    EXPECT_EQ(rows(named, {"identifier", "name", "installDate"}),
              (std::vector<Row>{{"n", {}, {}},
                                {"a2", "Alpha", {}},
                                {"b", "Beta", {}},
                                {"d", "delta", foundation::Value::date(1.6e9)}}));
    EXPECT_EQ(identifiers(named), (Strings{"n", "a2", "b", "d"}));

    // A distinct step and a later sort read the same way, and the set stays live.
    auto firstOfEachSection = realm.allObjects<Package>()
                                  .sortedResultsUsingKeyPath("rating", false)
                                  .distinctResultsUsingKeyPaths({"section"});
    EXPECT_EQ(rows(firstOfEachSection, {"identifier", "rating"}), (std::vector<Row>{{"b", 5.0}}));
    add({[] {
        auto themed = package("t", "Theme");
        themed.section = "Themes";
        return themed;
    }()});
    EXPECT_EQ(rows(firstOfEachSection.sortedResultsUsingKeyPath("section", true), {"section"}),
              (std::vector<Row>{{"Themes"}, {"Tweaks"}}));

    EXPECT_THROW(rows(named, {"installedFiles"}), store::StoreError);
    EXPECT_THROW(rows(named, {"nothing"}), store::StoreError);
}

TEST_F(ResultsTest, EmptinessFollowsWritesWhetherOrNotTheRowsWereListed) {
    auto tweaks = realm.objectsWhere<Package>("name CONTAINS[cd] %@", "tweak");
    EXPECT_TRUE(tweaks.isEmpty());
    add({package("a", "Cool Tweak")});
    EXPECT_FALSE(tweaks.isEmpty());
    EXPECT_EQ(tweaks.count(), 1u);
    realm.write([&] {
        realm.deleteAllObjects<Package>();
        EXPECT_TRUE(tweaks.isEmpty()) << "the writer sees its own deletion";
    });
    EXPECT_TRUE(tweaks.isEmpty());
    EXPECT_EQ(tweaks.count(), 0u);
}

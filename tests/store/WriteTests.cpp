#include <SQLiteCpp/Database.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <stdexcept>
#include <thread>
#include <vector>

#include "StoreFixture.h"
#include "store/ConnectionPool.h"
#include "store/StoreError.h"
#include "store/Writer.h"
#include "support/MainLoop.h"

using namespace store_test;

class Writes : public StoreFixture {};

TEST_F(Writes, WritersOnManyThreadsAllLandWithoutLockFailures) {
    constexpr int kThreads = 8;
    constexpr int kWritesPerThread = 40;
    add({package("counter")});
    // A second, separately opened database on the same file: its writers meet the first one's
    // only in SQLite's file locks.
    auto separate = openRealm();
    std::vector<std::thread> threads;
    std::atomic<int> failures = 0;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t, realm = t % 2 ? separate : realm] {
            for (int i = 0; i < kWritesPerThread; ++i) {
                try {
                    realm.write([&] {
                        // Read, then write: a lost update would show in the final count.
                        auto counter = realm.objectForPrimaryKey<Package>("counter").value();
                        ++counter.queueOperation;
                        realm.addOrUpdateObject(counter);
                        realm.addOrUpdateObject(
                            package("t" + std::to_string(t) + "-" + std::to_string(i)));
                    });
                    realm.objectsWhere<Package>("identifier BEGINSWITH %@", "t").count();
                } catch (const std::exception&) {
                    ++failures;
                }
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(failures, 0);
    const auto counter = realm.objectForPrimaryKey<Package>("counter");
    ASSERT_TRUE(counter);
    EXPECT_EQ(counter->queueOperation, kThreads * kWritesPerThread);
    EXPECT_EQ(realm.allObjects<Package>().count(), 1u + kThreads * kWritesPerThread);
}

TEST_F(Writes, AThrowingOrCancelledTransactionLeavesNothingBehind) {
    add({package("kept", "Kept")});
    EXPECT_THROW(realm.write([&] {
        realm.addOrUpdateObject(package("lost"));
        realm.addOrUpdateObject(package("kept", "Changed"));
        throw std::runtime_error("fails half-way");
    }),
                 std::runtime_error);
    EXPECT_FALSE(realm.inWriteTransaction());

    realm.beginWriteTransaction();
    realm.deleteAllObjects<Package>();
    EXPECT_EQ(realm.allObjects<Package>().count(), 0u);
    realm.cancelWriteTransaction();

    EXPECT_EQ(identifiers(realm.allObjects<Package>()), Strings{"kept"});
    const auto kept = realm.objectForPrimaryKey<Package>("kept");
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->name, "Kept");
    EXPECT_FALSE(realm.objectForPrimaryKey<Package>("lost"));
}

TEST_F(Writes, ANestedWriteJoinsTheOuterTransactionAndAFailingInnerOneUndoesOnlyItself) {
    realm.write([&] {
        realm.addOrUpdateObject(package("outer"));
        realm.write([&] { realm.addOrUpdateObject(package("inner")); });
        EXPECT_THROW(realm.write([&] {
            realm.addOrUpdateObject(package("failed"));
            throw std::runtime_error("inner failure");
        }),
                     std::runtime_error);
        EXPECT_TRUE(realm.inWriteTransaction());
    });
    EXPECT_EQ(identifiers(realm.allObjects<Package>()), (Strings{"outer", "inner"}));

    realm.beginWriteTransaction();
    realm.write([&] { realm.addOrUpdateObject(package("joined")); });
    realm.cancelWriteTransaction();
    EXPECT_FALSE(realm.objectForPrimaryKey<Package>("joined"))
        << "the inner commit is the outer one's to make";
}

// Lists are stored as JSON text: whatever their strings hold must come back as it went in.
TEST_F(Writes, ListsKeepEveryCharacterOfTheirStrings) {
    auto listed = package("listed");
    listed.installedFiles = {"plain",
                             "with \"quotes\" and \\",
                             "line\nbreak\ttab\rreturn",
                             std::string("control\x01\x1f", 9),
                             "caf\u00e9 \u2603",
                             ""};
    add({listed});
    const auto stored = realm.objectForPrimaryKey<Package>("listed");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->installedFiles, listed.installedFiles);
    EXPECT_EQ(
        realm.objectsWhere<Package>("ANY installedFiles == %@", "with \"quotes\" and \\").count(),
        1u);
}

TEST_F(Writes, ChangesOutsideATransactionAndDuplicateAddsAreRefused) {
    EXPECT_THROW(realm.addOrUpdateObject(package("a")), store::StoreError);
    EXPECT_THROW(realm.commitWriteTransaction(), store::StoreError);
    add({package("a")});
    EXPECT_THROW(realm.write([&] { realm.addObject(package("a", "second")); }), store::StoreError);
    realm.write([&] { realm.addObject(package("b")); });
    EXPECT_EQ(realm.allObjects<Package>().count(), 2u);
    const auto first = realm.objectForPrimaryKey<Package>("a");
    ASSERT_TRUE(first);
    EXPECT_FALSE(first->name);
}

TEST_F(Writes, AnotherThreadDoesNotSeeAWriteUntilItIsCommitted) {
    realm.beginWriteTransaction();
    realm.addOrUpdateObject(package("pending"));
    std::size_t seenBeforeCommit = 99;
    std::thread reader([&] { seenBeforeCommit = realm.allObjects<Package>().count(); });
    reader.join();
    realm.commitWriteTransaction();
    std::size_t seenAfterCommit = 0;
    std::thread laterReader([&] { seenAfterCommit = realm.allObjects<Package>().count(); });
    laterReader.join();
    EXPECT_EQ(seenBeforeCommit, 0u);
    EXPECT_EQ(seenAfterCommit, 1u);
}

TEST_F(Writes, TheDefaultRealmIsTheOneSetAndMissingOneIsAnError) {
    EXPECT_THROW(store::Realm::defaultRealm(), store::StoreError);
    store::Realm::setDefaultRealm(realm);
    store::Realm::defaultRealm().write(
        [] { store::Realm::defaultRealm().addOrUpdateObject(package("x")); });
    EXPECT_TRUE(realm.objectForPrimaryKey<Package>("x"));
}

TEST_F(Writes, ALargeCommitReachesTheDatabaseFileWhileTheDatabaseStaysOpen) {
    const auto fileSize = [&] { return std::filesystem::file_size(databasePath()); };
    const auto before = fileSize();
    // Well over a thousand pages of log.
    realm.write([&] {
        for (int i = 0; i < 4000; ++i)
            realm.addOrUpdateObject(package("p" + std::to_string(i), std::string(1200, 'x')));
    });
    EXPECT_TRUE(testing_support::pumpUntil([&] { return fileSize() > before + (4u << 20); }))
        << "the log is copied into the file without waiting for the database to close";
    EXPECT_EQ(realm.allObjects<Package>().count(), 4000u);
}

// The writing connection is kept from one transaction to the next, but the pages a large one
// cached are not: they would be held for as long as the program runs.
TEST_F(Writes, TheWritersPageCacheIsLetGoOnceATransactionCommits) {
    store::ConnectionPool pool(databasePath(), 1000);
    store::Writer writer(pool);
    const auto cacheUsed = [&] {
        int used = 0, highest = 0;
        sqlite3_db_status(writer.connection().database().getHandle(), SQLITE_DBSTATUS_CACHE_USED,
                          &used, &highest, 0);
        return used;
    };
    writer.begin();
    writer.connection().execute("CREATE TABLE filler (text TEXT)");
    for (int i = 0; i < 2000; ++i)
        writer.connection().execute("INSERT INTO filler VALUES (printf('%.2000c', 'x'))");
    EXPECT_GT(cacheUsed(), 2 << 20);
    ASSERT_TRUE(writer.commit());
    writer.begin();
    EXPECT_LT(cacheUsed(), 256 << 10);
    writer.cancel();

    // A cache widened for one transaction holds more of it, and only for that transaction.
    const auto cacheSize = [&] {
        auto statement = writer.connection().prepare("PRAGMA cache_size");
        return statement->executeStep() ? statement->getColumn(0).getInt() : 0;
    };
    EXPECT_THROW(writer.setCacheKibibytes(8192), store::StoreError);
    for (const bool commits : {true, false}) {
        writer.begin();
        writer.setCacheKibibytes(16 << 10);
        for (int i = 0; i < 4000; ++i)
            writer.connection().execute("INSERT INTO filler VALUES (printf('%.2000c', 'y'))");
        EXPECT_GT(cacheUsed(), 6 << 20) << "more than the usual cache holds";
        if (commits)
            ASSERT_TRUE(writer.commit());
        else
            writer.cancel();
        writer.begin();
        EXPECT_EQ(cacheSize(), -store::Writer::kCacheKibibytes);
        writer.cancel();
    }
}

// A process that ends without closing the database leaves the log behind, and the next one to
// open the file reads all of it again: emptied, it is read by no one.
TEST_F(Writes, AnEmptiedLogKeepsEveryWriteAndAReaderInTheWayLosesNothing) {
    const auto logSize = [&] { return std::filesystem::file_size(databasePath() + "-wal"); };
    realm.write([&] {
        for (int i = 0; i < 2000; ++i)
            realm.addOrUpdateObject(package("p" + std::to_string(i), std::string(1200, 'x')));
    });
    ASSERT_GT(logSize(), 1u << 20);

    ASSERT_TRUE(realm.truncateLog().ok());
    EXPECT_EQ(logSize(), 0u);
    EXPECT_EQ(openRealm().allObjects<Package>().count(), 2000u);

    // A reader of another process still on the state before the next write keeps the log.
    auto impatient = configuration();
    impatient.busyTimeoutMilliseconds = 50;
    auto quick = store::Realm::open(impatient).value();
    SQLite::Database reader(databasePath(), SQLite::OPEN_READONLY);
    reader.exec("BEGIN");
    EXPECT_EQ(reader.execAndGet("SELECT count(*) FROM Package").getInt(), 2000);
    quick.write([&] { quick.addOrUpdateObject(package("late")); });
    const auto kept = quick.truncateLog();
    ASSERT_FALSE(kept.ok());
    EXPECT_EQ(kept.error().code, store::Realm::TruncateLogFailed);
    EXPECT_GT(logSize(), 0u);
    reader.exec("COMMIT");
    EXPECT_TRUE(openRealm().objectForPrimaryKey<Package>("late"));
    EXPECT_TRUE(quick.truncateLog().ok());
    EXPECT_EQ(logSize(), 0u);
}

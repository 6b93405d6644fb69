#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "ImportedRepository.h"

namespace corvane::bench {

namespace {

// A word of the generated names: about one package in ten has it.
constexpr const char* kSearchText = "dock";

// The store answers a query with the row ids of its objects in order; the hand-written queries
// are made to give the same.
std::vector<std::int64_t> rowids(const char* sql, const char* argument = nullptr) {
    static sqlite3* database = [] {
        sqlite3* opened = nullptr;
        if (sqlite3_open_v2(ImportedRepository::shared().databasePath().c_str(), &opened,
                            SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot open the database");
        return opened;
    }();
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(database, sql, -1, &statement, nullptr);
    if (argument)
        sqlite3_bind_text(statement, 1, argument, -1, SQLITE_STATIC);
    std::vector<std::int64_t> ids;
    while (sqlite3_step(statement) == SQLITE_ROW)
        ids.push_back(sqlite3_column_int64(statement, 0));
    sqlite3_finalize(statement);
    return ids;
}

template <typename Query>
void measure(benchmark::State& state, Query&& query) {
    ImportedRepository::shared();
    std::size_t found = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(found = query());
    state.counters["objects"] = static_cast<double>(found);
}

// The package list: every package by name.
void sortedByNameInStore(benchmark::State& state) {
    const auto realm = ImportedRepository::shared().realm();
    measure(state, [&] {
        return realm.allObjects<KSRPackage>().sortedResultsUsingKeyPath("name", true).count();
    });
}

void sortedByNameInSqlite(benchmark::State& state) {
    measure(state, [] {
        return rowids("SELECT rowid FROM KSRPackage ORDER BY name COLLATE NOCASE, name, rowid")
            .size();
    });
}

// The list's section titles: one package of each name, by name.
void distinctNamesInStore(benchmark::State& state) {
    const auto realm = ImportedRepository::shared().realm();
    measure(state, [&] {
        return realm.allObjects<KSRPackage>()
            .distinctResultsUsingKeyPaths({"name"})
            .sortedResultsUsingKeyPath("name", true)
            .count();
    });
}

void distinctNamesInSqlite(benchmark::State& state) {
    measure(state, [] {
        return rowids(
                   "SELECT MIN(rowid) AS first FROM KSRPackage GROUP BY name "
                   "ORDER BY name COLLATE NOCASE, name, first")
            .size();
    });
}

// The search field.
void nameContainsInStore(benchmark::State& state) {
    const auto realm = ImportedRepository::shared().realm();
    measure(state, [&] {
        return realm.objectsWhere<KSRPackage>("name CONTAINS[cd] %@", kSearchText).count();
    });
}

void nameContainsInSqlite(benchmark::State& state) {
    measure(state, [] {
        return rowids("SELECT rowid FROM KSRPackage WHERE name LIKE '%' || ? || '%'", kSearchText)
            .size();
    });
}

}  // namespace

BENCHMARK(sortedByNameInStore)->Name("Query/sortedByName")->Unit(benchmark::kMillisecond);
BENCHMARK(sortedByNameInSqlite)->Name("Query/sortedByName/sqlite")->Unit(benchmark::kMillisecond);
BENCHMARK(distinctNamesInStore)->Name("Query/distinctNames")->Unit(benchmark::kMillisecond);
BENCHMARK(distinctNamesInSqlite)->Name("Query/distinctNames/sqlite")->Unit(benchmark::kMillisecond);
BENCHMARK(nameContainsInStore)->Name("Query/nameContainsCD")->Unit(benchmark::kMillisecond);
BENCHMARK(nameContainsInSqlite)->Name("Query/nameContainsCD/sqlite")->Unit(benchmark::kMillisecond);

}  // namespace corvane::bench

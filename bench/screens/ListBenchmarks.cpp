// Opening a package list on the 60,000 packages of the generated repository: the query, its
// order, the sections and the records of the rows of the first screen, as the list does it,
// against hand-written SQLite doing the same work with the same rules (case and accents folded
// for the order and the search, the first character of a name, whole, for its section).
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdint>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "foundation/Strings.h"
#include "framework/ImportedRepository.h"
#include "framework/storage/KSDatabase.h"
#include "screens/packages/KSPackageListQuery.h"
#include "screens/packages/KSPackageListSections.h"
#include "store/TextFolding.h"

namespace corvane::bench {

namespace {

// A word of the generated names: about one package in ten has it.
constexpr const char* kSearchText = "dock";
// Rows of 70 points on a 667-point screen, under a bar and a section header.
constexpr std::size_t kFirstScreenRows = 9;

using Sections = std::map<std::string, std::vector<std::string>>;

// What the hand-written list holds once it is open: its titles, its rows, and the packages drawn.
struct OpenList {
    std::vector<std::string> titles;
    Sections rows;
    std::size_t drawn = 0;
};

std::size_t firstScreen(const std::vector<std::string>& titles, const Sections& rows,
                        const std::function<bool(const std::string&)>& draw) {
    std::size_t drawn = 0;
    for (const auto& title : titles)
        for (const auto& identifier : rows.at(title)) {
            if (drawn == kFirstScreenRows)
                return drawn;
            drawn += draw(identifier) ? 1 : 0;
        }
    return drawn;
}

// The list's own sections, kept as the list keeps them.
struct OpenStoreList {
    KSPackageListSections sections;
    std::size_t drawn = 0;
};

OpenStoreList openInStore(const KSPackageListInputs& inputs) {
    auto packages = KSPackageListQuery::packagesForList(inputs, "name");
    OpenStoreList list{KSPackageListSections::sectionsForSortCriteria(*packages, "name")};
    const auto realm = KSDatabase::realm();
    list.drawn =
        firstScreen(list.sections.sections(), list.sections.sectionsDictionary(),
                    [&](const std::string& identifier) {
                        return realm.objectForPrimaryKey<KSRPackage>(identifier).has_value();
                    });
    return list;
}

// The hand-written side.

void fold(sqlite3_context* context, int, sqlite3_value** arguments) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(arguments[0]));
    if (!text) {
        sqlite3_result_null(context);
        return;
    }
    auto folded = store::TextFolding::fold(
        {text, static_cast<std::size_t>(sqlite3_value_bytes(arguments[0]))},
        store::TextFolding::kCase | store::TextFolding::kDiacritics);
    sqlite3_result_text(context, folded.data(), static_cast<int>(folded.size()), SQLITE_TRANSIENT);
}

sqlite3* database() {
    static sqlite3* opened = [] {
        sqlite3* handle = nullptr;
        if (sqlite3_open_v2(ImportedRepository::shared().databasePath().c_str(), &handle,
                            SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot open the database");
        sqlite3_create_function_v2(handle, "fold", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                   fold, nullptr, nullptr, nullptr);
        return handle;
    }();
    return opened;
}

std::string sectionOf(std::string_view name) {
    const auto first = static_cast<unsigned char>(name[0]);
    const bool plain = first < 0x80 && first != '\r' &&
                       (name.size() == 1 || static_cast<unsigned char>(name[1]) < 0x80);
    if (plain)
        return std::string(1, static_cast<char>(first >= 'a' && first <= 'z' ? first - 32 : first));
    return foundation::capitalized(foundation::firstCharacter(name));
}

// Every column of the package, then the records of its version list, as drawing a row needs.
bool readPackage(const std::string& identifier) {
    static sqlite3_stmt* byKey = nullptr;
    static sqlite3_stmt* versions = nullptr;
    if (!byKey) {
        sqlite3_prepare_v2(database(), "SELECT * FROM KSRPackage WHERE identifier = ?", -1, &byKey,
                           nullptr);
        sqlite3_prepare_v2(database(),
                           "SELECT KSRPackageVersion.* FROM json_each(?) AS listed JOIN "
                           "KSRPackageVersion ON KSRPackageVersion.key = listed.value "
                           "ORDER BY listed.key",
                           -1, &versions, nullptr);
    }
    sqlite3_bind_text(byKey, 1, identifier.c_str(), -1, SQLITE_TRANSIENT);
    bool found = sqlite3_step(byKey) == SQLITE_ROW;
    std::vector<std::string> columns;
    std::string listed;
    if (found) {
        for (int i = 0; i < sqlite3_column_count(byKey); ++i) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(byKey, i));
            columns.emplace_back(text ? text : "");
            if (std::string_view(sqlite3_column_name(byKey, i)) == "availableVersions")
                listed = columns.back();
        }
    }
    sqlite3_reset(byKey);
    if (!listed.empty()) {
        sqlite3_bind_text(versions, 1, listed.c_str(), -1, SQLITE_TRANSIENT);
        while (sqlite3_step(versions) == SQLITE_ROW)
            for (int i = 0; i < sqlite3_column_count(versions); ++i) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(versions, i));
                columns.emplace_back(text ? text : "");
            }
        sqlite3_reset(versions);
    }
    return found;
}

OpenList openInSqlite(const char* sql, const char* argument = nullptr) {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(database(), sql, -1, &statement, nullptr);
    if (argument)
        sqlite3_bind_text(statement, 1, argument, -1, SQLITE_STATIC);
    OpenList list;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(statement, 1));
        if (!name || !*name)
            continue;
        auto [rows, added] = list.rows.try_emplace(sectionOf(name));
        if (added)
            list.titles.push_back(rows->first);
        rows->second.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    }
    sqlite3_finalize(statement);
    list.drawn = firstScreen(list.titles, list.rows, readPackage);
    return list;
}

std::size_t rowsOf(const Sections& rows) {
    std::size_t count = 0;
    for (const auto& [title, identifiers] : rows)
        count += identifiers.size();
    return count;
}

template <typename Open>
void measure(benchmark::State& state, Open&& open) {
    ImportedRepository::shared();
    decltype(open()) list;
    for (auto _ : state) {
        list = open();
        benchmark::DoNotOptimize(list);
    }
    if constexpr (std::is_same_v<decltype(list), OpenStoreList>) {
        state.counters["rows"] = static_cast<double>(rowsOf(list.sections.sectionsDictionary()));
        state.counters["sections"] = static_cast<double>(list.sections.numberOfSections());
    } else {
        state.counters["rows"] = static_cast<double>(rowsOf(list.rows));
        state.counters["sections"] = static_cast<double>(list.titles.size());
    }
    state.counters["drawn"] = static_cast<double>(list.drawn);
}

void allPackagesInStore(benchmark::State& state) {
    measure(state, [] { return openInStore({.category = kCategorySpecial_AllPackages}); });
}

void allPackagesInSqlite(benchmark::State& state) {
    measure(state, [] {
        return openInSqlite(
            "SELECT identifier, name FROM KSRPackage WHERE tweakCompatibleStatus IS NOT 1 "
            "ORDER BY fold(name), name, rowid");
    });
}

void searchInStore(benchmark::State& state) {
    measure(state, [] {
        return openInStore({.category = kCategorySpecial_Search, .search = kSearchText});
    });
}

void searchInSqlite(benchmark::State& state) {
    measure(state, [] {
        return openInSqlite(
            "SELECT identifier, name FROM KSRPackage WHERE instr(fold(name), ?) > 0 "
            "AND substr(fold(name), 1, 3) IS NOT 'cy+' AND tweakCompatibleStatus IS NOT 1 "
            "ORDER BY fold(name), name, rowid",
            kSearchText);
    });
}

}  // namespace

BENCHMARK(allPackagesInStore)->Name("List/allPackages")->Unit(benchmark::kMillisecond);
BENCHMARK(allPackagesInSqlite)->Name("List/allPackages/sqlite")->Unit(benchmark::kMillisecond);
BENCHMARK(searchInStore)->Name("List/search")->Unit(benchmark::kMillisecond);
BENCHMARK(searchInSqlite)->Name("List/search/sqlite")->Unit(benchmark::kMillisecond);

}  // namespace corvane::bench

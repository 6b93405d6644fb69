#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "ImportedRepository.h"
#include "SharedData.h"
#include "StoreSettings.h"
#include "store/Connection.h"
#include "store/ListCodec.h"
#include "store/Writer.h"

namespace corvane::bench {

namespace {

namespace fs = std::filesystem;

store::Configuration scratchConfiguration(const fs::path& file) {
    store::Configuration configuration;
    configuration.path = file.string();
    configuration.schemaVersion = 1;
    configuration.setObjectTypes<KSRPackage>();
    return configuration;
}

// A new, empty database file with the store's tables, made while the clock is stopped.
fs::path freshDatabase(const std::string& name) {
    const auto file = ImportedRepository::shared().scratch() / (name + ".sqlite");
    for (const auto* suffix : {"", "-wal", "-shm"})
        fs::remove(file.string() + suffix);
    if (!store::Realm::open(scratchConfiguration(file)))
        throw std::runtime_error("cannot make " + file.string());
    return file;
}

// One row as the store binds it: the columns in property order, lists as JSON text, an empty list
// or an unset value as NULL.
using Row = std::vector<foundation::Value>;

foundation::Value columnValue(const store::Property& property, const void* record) {
    if (property.type == store::PropertyType::ObjectList) {
        foundation::Value::Array keys;
        property.forEachElement(record, [&](const void* element) {
            keys.push_back(property.elementSchema->primaryKey().get(element));
        });
        return keys.empty() ? foundation::Value()
                            : foundation::Value(store::ListCodec::encode(keys));
    }
    auto value = property.get(record);
    if (property.type == store::PropertyType::StringList)
        return value.array().empty() ? foundation::Value()
                                     : foundation::Value(store::ListCodec::encode(value.array()));
    return value;
}

Row rowOf(const store::ObjectSchema& schema, const void* record) {
    Row row;
    for (const auto& property : schema.properties())
        row.push_back(columnValue(property, record));
    return row;
}

std::string insertSql(const store::ObjectSchema& schema) {
    std::string columns;
    std::string placeholders;
    for (const auto& property : schema.properties()) {
        columns += (columns.empty() ? "\"" : ", \"") + property.name + "\"";
        placeholders += placeholders.empty() ? "?" : ", ?";
    }
    return "INSERT INTO \"" + schema.className() + "\" (" + columns + ") VALUES (" + placeholders +
           ")";
}

// Each package's version rows, then its own row: the order in which the store writes them.
struct PlainRows {
    std::vector<Row> versions;
    std::vector<std::size_t> versionCounts;
    std::vector<Row> packages;
};

const PlainRows& plainRows() {
    static const PlainRows rows = [] {
        PlainRows made;
        for (const auto& package : ImportedRepository::shared().packages()) {
            for (const auto& version : package.availableVersions)
                made.versions.push_back(rowOf(KSRPackageVersion::schema(), &version));
            made.versionCounts.push_back(package.availableVersions.size());
            made.packages.push_back(rowOf(KSRPackage::schema(), &package));
        }
        return made;
    }();
    return rows;
}

void bindRow(sqlite3_stmt* statement, const Row& row) {
    using Type = foundation::Value::Type;
    for (int index = 1; const auto& value : row) {
        switch (value.type()) {
            case Type::Boolean:
            case Type::Integer:
                sqlite3_bind_int64(statement, index, value.integerValue());
                break;
            case Type::Real:
            case Type::Date:
                sqlite3_bind_double(statement, index, value.doubleValue());
                break;
            case Type::String:
                sqlite3_bind_text(statement, index, value.string()->data(),
                                  static_cast<int>(value.string()->size()), SQLITE_STATIC);
                break;
            default:
                sqlite3_bind_null(statement, index);
        }
        ++index;
    }
}

void insertRow(sqlite3_stmt* statement, const Row& row) {
    bindRow(statement, row);
    if (sqlite3_step(statement) != SQLITE_DONE)
        throw std::runtime_error("insert failed");
    sqlite3_reset(statement);
}

void execute(sqlite3* database, const char* sql) {
    if (sqlite3_exec(database, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(database));
}

// Hand-written SQLite: the same rows with two prepared INSERTs in one transaction, with the
// store's settings, so that the ratio compares the code and not the settings.
void insertRows(sqlite3* database, const PlainRows& rows) {
    execute(database, storeSettings().c_str());
    execute(database, "BEGIN IMMEDIATE");
    sqlite3_stmt* packages = nullptr;
    sqlite3_stmt* versions = nullptr;
    sqlite3_prepare_v2(database, insertSql(KSRPackage::schema()).c_str(), -1, &packages, nullptr);
    sqlite3_prepare_v2(database, insertSql(KSRPackageVersion::schema()).c_str(), -1, &versions,
                       nullptr);
    std::size_t nextVersion = 0;
    for (std::size_t i = 0; i < rows.packages.size(); ++i) {
        for (std::size_t v = 0; v < rows.versionCounts[i]; ++v)
            insertRow(versions, rows.versions[nextVersion++]);
        insertRow(packages, rows.packages[i]);
    }
    sqlite3_finalize(packages);
    sqlite3_finalize(versions);
    execute(database, "COMMIT");
}

void storeWithRealm(benchmark::State& state) {
    const auto& packages = ImportedRepository::shared().packages();
    for (auto _ : state) {
        state.PauseTiming();
        std::optional<store::Realm> realm =
            store::Realm::open(scratchConfiguration(freshDatabase("store"))).value();
        state.ResumeTiming();

        realm->write([&] {
            for (const auto& package : packages)
                realm->addOrUpdateObject(package);
        });

        state.PauseTiming();
        if (realm->allObjects<KSRPackage>().count() != packages.size())
            state.SkipWithError("not every package was stored");
        realm.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * packages.size()));
}

void storeWithSqlite(benchmark::State& state) {
    const auto& rows = plainRows();
    for (auto _ : state) {
        state.PauseTiming();
        const auto file = freshDatabase("plain");
        sqlite3* database = nullptr;
        sqlite3_open_v2(file.c_str(), &database, SQLITE_OPEN_READWRITE, nullptr);
        state.ResumeTiming();

        insertRows(database, rows);

        state.PauseTiming();
        sqlite3_close(database);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * rows.packages.size()));
}

}  // namespace

std::string storeSettings() {
    return std::string(store::Connection::kSettings) + "; " + store::Writer::cacheSetting() +
           "; PRAGMA wal_autocheckpoint = 0";
}

BENCHMARK(storeWithRealm)->Name("Store/addOrUpdateObject")->Unit(benchmark::kMillisecond);
BENCHMARK(storeWithSqlite)->Name("Store/sqliteInsert")->Unit(benchmark::kMillisecond);

}  // namespace corvane::bench

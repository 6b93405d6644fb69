#include "store/SchemaMigrator.h"

#include <algorithm>
#include <set>

#include "store/ColumnCodec.h"
#include "store/Migration.h"
#include "store/StoreError.h"
#include "store/StoredTable.h"

namespace store {

void SchemaMigrator::run() {
    connection_.execute("BEGIN IMMEDIATE");
    try {
        bringUpToDate();
        connection_.execute("COMMIT");
    } catch (...) {
        try {
            connection_.execute("ROLLBACK");
        } catch (...) {
            // SQLite rolled back on its own; the first error is the one to report.
        }
        throw;
    }
}

void SchemaMigrator::bringUpToDate() {
    bool fresh = hasNoTables();
    auto stored = storedVersion();
    auto wanted = configuration_.schemaVersion;
    if (!fresh && stored > wanted)
        throw StoreError("the database has schema version " + std::to_string(stored) +
                         ", newer than this program's " + std::to_string(wanted));
    for (const auto& [name, table] : tables_)
        connection_.execute(table->createSql());
    if (!fresh && stored < wanted) {
        migrate(stored);
    } else {
        for (const auto& [name, table] : tables_)
            if (!matchesStoredTable(*table))
                throw StoreError("class " + name + " changed without a new schema version");
    }
    // Last: a table rebuilt by the migration has lost its indexes.
    for (const auto& [name, table] : tables_)
        updateIndexes(*table);
    // A version number is no outside text; PRAGMA takes no bound parameters.
    connection_.execute("PRAGMA user_version = " + std::to_string(wanted));
}

// An index the class no longer declares, or declares otherwise, would only cost its writes.
void SchemaMigrator::updateIndexes(const Table& table) {
    const auto declared = table.indexNames();
    for (const auto& index : StoredTable::indexes(connection_, table.schema().className()))
        if (!declared.contains(index))
            connection_.execute("DROP INDEX " + ColumnCodec::quoted(index));
    for (const auto& statement : table.createIndexSql())
        connection_.execute(statement);
}

void SchemaMigrator::migrate(std::uint64_t storedVersion) {
    for (const auto& [name, table] : tables_)
        addMissingColumns(*table);
    if (configuration_.migrationBlock) {
        Migration migration(connection_, tables_);
        configuration_.migrationBlock(migration, storedVersion);
    }
    for (const auto& [name, table] : tables_)
        if (!matchesStoredTable(*table))
            rebuild(*table);
}

void SchemaMigrator::addMissingColumns(const Table& table) {
    const auto& schema = table.schema();
    auto tableName = ColumnCodec::quoted(schema.className());
    auto stored = StoredTable::columns(connection_, schema.className());
    for (const auto& property : schema.properties()) {
        if (std::find(stored.begin(), stored.end(), property.name) != stored.end())
            continue;
        auto column = ColumnCodec::quoted(property.name);
        connection_.execute("ALTER TABLE " + tableName + " ADD COLUMN " + column + " " +
                            ColumnCodec::declaredType(property.type));
        if (property.defaultValue.isNil() || isListType(property.type))
            continue;
        auto statement = connection_.prepare("UPDATE " + tableName + " SET " + column + " = ?");
        ColumnCodec::bindValue(*statement, 1, property, property.defaultValue);
        statement->exec();
    }
}

bool SchemaMigrator::matchesStoredTable(const Table& table) {
    const auto& schema = table.schema();
    auto stored = StoredTable::columns(connection_, schema.className());
    std::set<std::string> storedNames(stored.begin(), stored.end());
    std::set<std::string> declaredNames;
    for (const auto& property : schema.properties())
        declaredNames.insert(property.name);
    return storedNames == declaredNames &&
           StoredTable::primaryKeyColumn(connection_, schema.className()) ==
               schema.primaryKey().name;
}

// Copies the declared columns into a fresh table, keeping row ids, so that removed columns go
// and a changed primary key takes effect.
void SchemaMigrator::rebuild(const Table& table) {
    const auto& schema = table.schema();
    const std::string scratch = "_store_rebuild";
    std::string columns;
    for (const auto& property : schema.properties())
        columns += ", " + ColumnCodec::quoted(property.name);
    connection_.execute("DROP TABLE IF EXISTS " + ColumnCodec::quoted(scratch));
    connection_.execute(table.createSql(scratch));
    connection_.execute("INSERT INTO " + ColumnCodec::quoted(scratch) + " (rowid" + columns +
                        ") SELECT rowid" + columns + " FROM " +
                        ColumnCodec::quoted(schema.className()));
    connection_.execute("DROP TABLE " + ColumnCodec::quoted(schema.className()));
    connection_.execute("ALTER TABLE " + ColumnCodec::quoted(scratch) + " RENAME TO " +
                        ColumnCodec::quoted(schema.className()));
}

bool SchemaMigrator::hasNoTables() {
    auto statement = connection_.prepare("SELECT count(*) FROM sqlite_master WHERE type = 'table'");
    statement->executeStep();
    return statement->getColumn(0).getInt64() == 0;
}

std::uint64_t SchemaMigrator::storedVersion() {
    auto statement = connection_.prepare("PRAGMA user_version");
    statement->executeStep();
    return static_cast<std::uint64_t>(statement->getColumn(0).getInt64());
}

}  // namespace store

#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "store/Configuration.h"
#include "store/Connection.h"
#include "store/Table.h"

namespace store {

// Brings a database file to the configuration's schema in one transaction: a new file gets its
// tables; an older schema version gets new columns (at the properties' defaults), the migration
// block, and tables rebuilt without the columns of removed properties. A newer schema version, or
// a changed class without a new version, is refused and the file is left as it was.
class SchemaMigrator {
  public:
    SchemaMigrator(Connection& connection,
                   const std::map<std::string, std::unique_ptr<Table>>& tables,
                   const Configuration& configuration)
        : connection_(connection), tables_(tables), configuration_(configuration) {}

    // Throws StoreError (or SQLite::Exception) after rolling back.
    void run();

  private:
    void bringUpToDate();
    void migrate(std::uint64_t storedVersion);
    void addMissingColumns(const Table& table);
    void updateIndexes(const Table& table);
    bool matchesStoredTable(const Table& table);
    void rebuild(const Table& table);
    bool hasNoTables();
    std::uint64_t storedVersion();

    Connection& connection_;
    const std::map<std::string, std::unique_ptr<Table>>& tables_;
    const Configuration& configuration_;
};

}  // namespace store

#pragma once

#include <optional>
#include <string>
#include <vector>

#include "store/Connection.h"

namespace store {

// The columns that a table has in the file, which after a schema change differ from the ones
// its class declares.
class StoredTable {
  public:
    // Empty when the table does not exist.
    static std::vector<std::string> columns(Connection& connection, const std::string& table);
    static std::optional<std::string> primaryKeyColumn(Connection& connection,
                                                       const std::string& table);
    // The indexes made for the table, without those SQLite makes for its keys.
    static std::vector<std::string> indexes(Connection& connection, const std::string& table);
};

}  // namespace store

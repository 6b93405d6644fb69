#include "store/StoredTable.h"

namespace store {

std::vector<std::string> StoredTable::columns(Connection& connection, const std::string& table) {
    auto statement = connection.prepare("SELECT name FROM pragma_table_info(?) ORDER BY cid");
    statement->bind(1, table);
    std::vector<std::string> names;
    while (statement->executeStep())
        names.push_back(statement->getColumn(0).getString());
    return names;
}

std::optional<std::string> StoredTable::primaryKeyColumn(Connection& connection,
                                                         const std::string& table) {
    auto statement = connection.prepare("SELECT name FROM pragma_table_info(?) WHERE pk > 0");
    statement->bind(1, table);
    if (!statement->executeStep())
        return std::nullopt;
    return statement->getColumn(0).getString();
}

std::vector<std::string> StoredTable::indexes(Connection& connection, const std::string& table) {
    auto statement = connection.prepare(
        "SELECT name FROM sqlite_schema WHERE type = 'index' AND tbl_name = ? AND sql IS NOT NULL");
    statement->bind(1, table);
    std::vector<std::string> names;
    while (statement->executeStep())
        names.push_back(statement->getColumn(0).getString());
    return names;
}

}  // namespace store

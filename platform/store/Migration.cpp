#include "store/Migration.h"

#include <algorithm>

#include "store/ColumnCodec.h"
#include "store/StoreError.h"
#include "store/StoredTable.h"

namespace store {

namespace {

constexpr int kRowsPerStep = 256;

}  // namespace

void Migration::enumerateObjects(const std::string& className, const ObjectBlock& block) {
    const auto& schema = schemaNamed(className);
    auto columns = StoredTable::columns(connection_, className);
    if (columns.empty())
        return;
    std::int64_t lastRowid = 0;
    // In steps of rows, so that a large table is never held in memory whole.
    for (auto rows = readRows(schema, columns, lastRowid); !rows.empty();
         rows = readRows(schema, columns, lastRowid)) {
        for (const auto& row : rows) {
            foundation::Value::Dictionary current;
            for (const auto& property : schema.properties()) {
                auto stored = row.values.find(property.name);
                current[property.name] =
                    stored != row.values.end() ? stored->second : property.defaultValue;
            }
            auto changed = current;
            block(row.values, changed);
            if (changed != current)
                store(schema, row.rowid, changed);
        }
        lastRowid = rows.back().rowid;
    }
}

void Migration::renameProperty(const std::string& className, const std::string& oldName,
                               const std::string& newName) {
    const auto& schema = schemaNamed(className);
    if (!schema.property(newName))
        throw StoreError("class " + className + " declares no property \"" + newName + "\"");
    auto columns = StoredTable::columns(connection_, className);
    if (std::find(columns.begin(), columns.end(), oldName) == columns.end())
        throw StoreError("class " + className + " has no stored property \"" + oldName + "\"");
    connection_.execute("UPDATE " + ColumnCodec::quoted(className) + " SET " +
                        ColumnCodec::quoted(newName) + " = " + ColumnCodec::quoted(oldName));
}

const ObjectSchema& Migration::schemaNamed(const std::string& className) const {
    auto found = tables_.find(className);
    if (found == tables_.end())
        throw StoreError("the database has no class " + className);
    return found->second->schema();
}

std::vector<Migration::Row> Migration::readRows(const ObjectSchema& schema,
                                                const std::vector<std::string>& columns,
                                                std::int64_t afterRowid) {
    std::string list;
    for (const auto& column : columns)
        list += ", " + ColumnCodec::quoted(column);
    auto statement = connection_.prepare(
        "SELECT rowid" + list + " FROM " + ColumnCodec::quoted(schema.className()) +
        " WHERE rowid > ? ORDER BY rowid LIMIT " + std::to_string(kRowsPerStep));
    statement->bind(1, afterRowid);
    std::vector<Row> rows;
    while (statement->executeStep()) {
        Row row{statement->getColumn(0).getInt64(), {}};
        for (std::size_t i = 0; i < columns.size(); ++i) {
            auto column = statement->getColumn(static_cast<int>(i + 1));
            auto property = schema.property(columns[i]);
            row.values[columns[i]] =
                property ? ColumnCodec::readValue(*property, column) : ColumnCodec::readRaw(column);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

void Migration::store(const ObjectSchema& schema, std::int64_t rowid,
                      const foundation::Value::Dictionary& values) {
    std::string assignments;
    for (const auto& [name, value] : values) {
        if (!schema.property(name))
            throw StoreError("class " + schema.className() + " has no property \"" + name + "\"");
        assignments += (assignments.empty() ? "" : ", ") + ColumnCodec::quoted(name) + " = ?";
    }
    auto statement = connection_.prepare("UPDATE " + ColumnCodec::quoted(schema.className()) +
                                         " SET " + assignments + " WHERE rowid = ?");
    int index = 1;
    for (const auto& [name, value] : values)
        ColumnCodec::bindValue(*statement, index++, *schema.property(name), value);
    statement->bind(index, rowid);
    statement->exec();
}

}  // namespace store

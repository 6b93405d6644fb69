#include "store/Table.h"

#include <SQLiteCpp/Exception.h>
#include <sqlite3.h>

#include <set>
#include <unordered_map>

#include "store/ColumnCodec.h"
#include "store/ListCodec.h"
#include "store/StoreError.h"

namespace store {

namespace {

std::string joined(const std::vector<std::string>& parts, const std::string& separator) {
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i)
        out += (i ? separator : "") + parts[i];
    return out;
}

std::string encodedRowids(const std::vector<std::int64_t>& rowids) {
    foundation::Value::Array values(rowids.begin(), rowids.end());
    return ListCodec::encode(values);
}

}  // namespace

Table::Table(const ObjectSchema& schema) : schema_(schema) {
    auto table = ColumnCodec::quoted(schema.className());
    auto key = ColumnCodec::quoted(schema.primaryKey().name);
    std::vector<std::string> columns, definitions, updates, placeholders;
    for (const auto& property : schema.properties()) {
        auto column = ColumnCodec::quoted(property.name);
        columns.push_back(column);
        placeholders.push_back("?");
        // "INT", not "INTEGER": an INTEGER PRIMARY KEY would become the row id itself.
        auto type = std::string(ColumnCodec::declaredType(property.type));
        if (&property == &schema.primaryKey())
            definitions.push_back(column + " " + (type == "INTEGER" ? "INT" : type) +
                                  " NOT NULL PRIMARY KEY");
        else
            definitions.push_back(column + " " + type);
        if (&property != &schema.primaryKey())
            updates.push_back(column + " = excluded." + column);
    }
    auto columnList = joined(columns, ", ");
    columnDefinitions_ = "(" + joined(definitions, ", ") + ")";
    insertSql_ = "INSERT INTO " + table + " (" + columnList + ") VALUES (" +
                 joined(placeholders, ", ") + ")";
    upsertSql_ = insertSql_ + " ON CONFLICT (" + key + ") DO " +
                 (updates.empty() ? "NOTHING" : "UPDATE SET " + joined(updates, ", "));
    selectByKeySql_ = "SELECT " + columnList + " FROM " + table + " WHERE " + key + " = ?";
    selectByRowidSql_ = "SELECT " + columnList + " FROM " + table + " WHERE rowid = ?";
    selectRowidsSql_ = "SELECT rowid, " + columnList + " FROM " + table +
                       " WHERE rowid IN (SELECT value FROM json_each(?))";
    std::vector<std::string> qualified;
    for (const auto& column : columns)
        qualified.push_back(table + "." + column);
    selectElementsSql_ = "SELECT " + joined(qualified, ", ") +
                         " FROM json_each(?) AS store_key JOIN " + table + " ON " + table + "." +
                         key + " = store_key.value ORDER BY store_key.key";
    deleteByKeySql_ = "DELETE FROM " + table + " WHERE " + key + " = ?";
    deleteRowidsSql_ = "DELETE FROM " + table + " WHERE rowid IN (SELECT value FROM json_each(?))";
    deleteAllSql_ = "DELETE FROM " + table;
}

std::string Table::createSql(const std::string& tableName) const {
    return "CREATE TABLE IF NOT EXISTS " + ColumnCodec::quoted(tableName) + " " +
           columnDefinitions_;
}

std::vector<std::string> Table::createIndexSql() const {
    std::vector<std::string> statements;
    for (const auto& index : schema_.indexes()) {
        std::vector<std::string> columns;
        for (const auto& property : index.properties)
            columns.push_back(ColumnCodec::quoted(property));
        auto sql = "CREATE INDEX IF NOT EXISTS " + ColumnCodec::quoted(indexName(index)) + " ON " +
                   ColumnCodec::quoted(schema_.className()) + " (" + joined(columns, ", ") + ")";
        if (index.sparse)
            sql += " WHERE " + setCondition(index.properties.front());
        statements.push_back(std::move(sql));
    }
    return statements;
}

std::set<std::string> Table::indexNames() const {
    std::set<std::string> names;
    for (const auto& index : schema_.indexes())
        names.insert(indexName(index));
    return names;
}

// Index names are made from the class and property names, never from outside text; a sparse
// index is named apart, so that a full one of an older file is replaced rather than kept.
std::string Table::indexName(const ObjectSchema::Index& index) const {
    std::string name = schema_.className();
    for (const auto& property : index.properties)
        name += "_" + property;
    return index.sparse ? name + "_whenSet" : name;
}

// Written as the store writes a predicate comparing the property with true or nil (a bound true
// included): SQLite reads a sparse index only for a query whose condition it can tell implies
// the index's.
std::string Table::setCondition(const std::string& propertyName) const {
    const auto column = ColumnCodec::quoted(propertyName);
    return schema_.property(propertyName)->type == PropertyType::Boolean ? column + " IS 1"
                                                                         : column + " IS NOT NULL";
}

void Table::resolveElementTables(const std::map<std::string, std::unique_ptr<Table>>& tables) {
    const auto table = ColumnCodec::quoted(schema_.className());
    for (const auto& property : schema_.properties()) {
        if (property.type != PropertyType::ObjectList)
            continue;
        const auto* elementTable = tables.at(property.elementSchema->className()).get();
        elementTables_[&property] = elementTable;
        const auto elements = ColumnCodec::quoted(elementTable->schema_.className());
        std::string columns;
        for (const auto& element : elementTable->schema_.properties())
            columns += ", " + elements + "." + ColumnCodec::quoted(element.name);
        selectElementsOfRowsSql_[&property] =
            "SELECT store_parent.rowid" + columns + " FROM " + table +
            " AS store_parent, json_each(store_parent." + ColumnCodec::quoted(property.name) +
            ") AS store_key JOIN " + elements + " ON " + elements + "." +
            ColumnCodec::quoted(elementTable->schema_.primaryKey().name) +
            " = store_key.value WHERE store_parent.rowid IN (SELECT value FROM json_each(?)) "
            "ORDER BY store_parent.rowid, store_key.key";
    }
}

void Table::write(Connection& connection, const void* record, bool update) const {
    auto statement = connection.prepare(update ? upsertSql_ : insertSql_);
    bindRecord(connection, *statement, record);
    try {
        statement->exec();
    } catch (const SQLite::Exception& error) {
        if ((error.getErrorCode() & 0xff) != SQLITE_CONSTRAINT)
            throw;
        throw StoreError("a " + schema_.className() + " with primary key \"" +
                         schema_.primaryKey().get(record).stringValue() + "\" is already stored");
    }
}

void Table::bindRecord(Connection& connection, SQLite::Statement& statement,
                       const void* record) const {
    int index = 1;
    for (const auto& property : schema_.properties()) {
        if (property.type == PropertyType::ObjectList) {
            auto keys = elementKeys(connection, property, record);
            if (keys.empty())
                statement.bind(index);
            else
                statement.bind(index, keys);
        } else {
            property.bind(record, statement, index);
        }
        ++index;
    }
}

// Writes the listed records and gives their keys as a JSON array; empty text for an empty list.
std::string Table::elementKeys(Connection& connection, const Property& property,
                               const void* record) const {
    const auto* elementTable = elementTables_.at(&property);
    const auto& elementKey = property.elementSchema->primaryKey();
    foundation::Value::Array keys;
    property.forEachElement(record, [&](const void* element) {
        elementTable->write(connection, element, true);
        keys.push_back(elementKey.get(element));
    });
    return keys.empty() ? std::string() : ListCodec::encode(keys);
}

bool Table::readByKey(Connection& connection, const foundation::Value& key, void* record) const {
    auto statement = connection.prepare(selectByKeySql_);
    ColumnCodec::bindValue(*statement, 1, schema_.primaryKey(), key);
    if (!statement->executeStep())
        return false;
    readRecord(connection, *statement, 0, record);
    return true;
}

bool Table::readByRowid(Connection& connection, std::int64_t rowid, void* record) const {
    auto statement = connection.prepare(selectByRowidSql_);
    statement->bind(1, rowid);
    if (!statement->executeStep())
        return false;
    readRecord(connection, *statement, 0, record);
    return true;
}

void Table::readRowids(Connection& connection, const std::vector<std::int64_t>& rowids,
                       const std::function<void*(std::int64_t rowid)>& recordFor) const {
    const auto encoded = encodedRowids(rowids);
    std::unordered_map<std::int64_t, void*> records;
    {
        auto statement = connection.prepare(selectRowidsSql_);
        statement->bind(1, encoded);
        while (statement->executeStep()) {
            const auto rowid = statement->getColumn(0).getInt64();
            auto* record = recordFor(rowid);
            readScalars(*statement, 1, record);
            if (!selectElementsOfRowsSql_.empty())
                records.emplace(rowid, record);
        }
    }
    for (const auto& [property, sql] : selectElementsOfRowsSql_)
        readElementsOfRows(connection, *property, sql, encoded, records);
}

void Table::readScalars(SQLite::Statement& statement, int firstColumn, void* record) const {
    int index = firstColumn;
    for (const auto& property : schema_.properties()) {
        if (property.type != PropertyType::ObjectList)
            property.read(record, statement.getColumn(index));
        ++index;
    }
}

// The rows come grouped by listing row, so each record's list is filled from one run of them.
void Table::readElementsOfRows(Connection& connection, const Property& property,
                               const std::string& sql, const std::string& encodedRowids,
                               const std::unordered_map<std::int64_t, void*>& records) const {
    const auto* elementTable = elementTables_.at(&property);
    auto statement = connection.prepare(sql);
    statement->bind(1, encodedRowids);
    bool more = statement->executeStep();
    while (more) {
        const auto rowid = statement->getColumn(0).getInt64();
        const auto record = records.find(rowid);
        if (record == records.end()) {
            // A row the first statement did not see, written meanwhile by another connection.
            more = statement->executeStep();
            continue;
        }
        property.fillElements(record->second, [&](void* element) {
            if (!more || statement->getColumn(0).getInt64() != rowid)
                return false;
            elementTable->readRecord(connection, *statement, 1, element);
            more = statement->executeStep();
            return true;
        });
    }
}

void Table::readRecord(Connection& connection, SQLite::Statement& statement, int firstColumn,
                       void* record) const {
    int index = firstColumn;
    for (const auto& property : schema_.properties()) {
        auto column = statement.getColumn(index++);
        if (property.type == PropertyType::ObjectList)
            readElements(connection, property, column, record);
        else
            property.read(record, column);
    }
}

void Table::readElements(Connection& connection, const Property& property,
                         const SQLite::Column& keys, void* record) const {
    if (keys.isNull())
        return;
    const auto* elementTable = elementTables_.at(&property);
    auto statement = connection.prepare(elementTable->selectElementsSql_);
    statement->bind(1, keys.getString());
    property.fillElements(record, [&](void* element) {
        if (!statement->executeStep())
            return false;
        elementTable->readRecord(connection, *statement, 0, element);
        return true;
    });
}

void Table::removeByKey(Connection& connection, const foundation::Value& key) const {
    auto statement = connection.prepare(deleteByKeySql_);
    ColumnCodec::bindValue(*statement, 1, schema_.primaryKey(), key);
    statement->exec();
}

void Table::removeRowids(Connection& connection, const std::vector<std::int64_t>& rowids) const {
    if (rowids.empty())
        return;
    auto statement = connection.prepare(deleteRowidsSql_);
    statement->bind(1, encodedRowids(rowids));
    statement->exec();
}

void Table::removeAll(Connection& connection) const {
    connection.prepare(deleteAllSql_)->exec();
}

}  // namespace store

#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "foundation/Value.h"
#include "store/Connection.h"
#include "store/ObjectSchema.h"

namespace store {

// One record class's table: the SQL for it, made once, and the reading and writing of whole
// records. A list of records is stored as its elements' primary keys; writing a record writes its
// listed records into their own table first. Rows keep the row id of their first insertion, so
// an update leaves an object where it was in unsorted results.
class Table {
  public:
    explicit Table(const ObjectSchema& schema);

    const ObjectSchema& schema() const { return schema_; }
    // "CREATE TABLE ..." under the given name (the class name by default).
    std::string createSql(const std::string& tableName) const;
    std::string createSql() const { return createSql(schema_.className()); }
    // One statement per index; each leaves an existing index as it is.
    std::vector<std::string> createIndexSql() const;
    // The names of the indexes that createIndexSql() makes.
    std::set<std::string> indexNames() const;
    // Points each object list at the table of its element class.
    void resolveElementTables(const std::map<std::string, std::unique_ptr<Table>>& tables);

    // Adds the record, or with update replaces the stored record of the same primary key.
    // Throws StoreError when adding a primary key that is already stored.
    void write(Connection& connection, const void* record, bool update) const;
    bool readByKey(Connection& connection, const foundation::Value& key, void* record) const;
    bool readByRowid(Connection& connection, std::int64_t rowid, void* record) const;
    // Reads the rows that still exist; recordFor gives the record to fill for each row id, which
    // must be empty. The listed records of all rows come in one statement per list.
    void readRowids(Connection& connection, const std::vector<std::int64_t>& rowids,
                    const std::function<void*(std::int64_t rowid)>& recordFor) const;

    void removeByKey(Connection& connection, const foundation::Value& key) const;
    void removeRowids(Connection& connection, const std::vector<std::int64_t>& rowids) const;
    void removeAll(Connection& connection) const;

  private:
    std::string indexName(const ObjectSchema::Index& index) const;
    std::string setCondition(const std::string& propertyName) const;
    void bindRecord(Connection& connection, SQLite::Statement& statement, const void* record) const;
    std::string elementKeys(Connection& connection, const Property& property,
                            const void* record) const;
    // Reads the columns starting at firstColumn, in property order.
    void readRecord(Connection& connection, SQLite::Statement& statement, int firstColumn,
                    void* record) const;
    void readElements(Connection& connection, const Property& property, const SQLite::Column& keys,
                      void* record) const;
    void readScalars(SQLite::Statement& statement, int firstColumn, void* record) const;
    void readElementsOfRows(Connection& connection, const Property& property,
                            const std::string& sql, const std::string& encodedRowids,
                            const std::unordered_map<std::int64_t, void*>& records) const;

    const ObjectSchema& schema_;
    std::map<const Property*, const Table*> elementTables_;
    // Per object list: its elements with the row id of the row listing them, for a JSON array
    // of row ids, ordered by row and list position.
    std::map<const Property*, std::string> selectElementsOfRowsSql_;
    std::string columnDefinitions_;
    std::string insertSql_;
    std::string upsertSql_;
    std::string selectByKeySql_;
    std::string selectByRowidSql_;
    std::string selectRowidsSql_;
    std::string selectElementsSql_;
    std::string deleteByKeySql_;
    std::string deleteRowidsSql_;
    std::string deleteAllSql_;
};

}  // namespace store

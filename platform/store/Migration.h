#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "foundation/Value.h"
#include "store/Connection.h"
#include "store/Table.h"

namespace store {

// What a migration block may do with the stored data while the schema version moves on.
class Migration {
  public:
    // oldObject holds every stored column, including properties the class no longer has;
    // newObject the class's current properties (new ones at their defaults). Changes made to
    // newObject are stored. Lists of records appear as arrays of their primary keys.
    using ObjectBlock = std::function<void(const foundation::Value::Dictionary& oldObject,
                                           foundation::Value::Dictionary& newObject)>;

    Migration(Connection& connection, const std::map<std::string, std::unique_ptr<Table>>& tables)
        : connection_(connection), tables_(tables) {}

    void enumerateObjects(const std::string& className, const ObjectBlock& block);
    // Moves the values of a property that the class now declares under a new name.
    void renameProperty(const std::string& className, const std::string& oldName,
                        const std::string& newName);

  private:
    struct Row {
        std::int64_t rowid;
        foundation::Value::Dictionary values;
    };
    const ObjectSchema& schemaNamed(const std::string& className) const;
    std::vector<Row> readRows(const ObjectSchema& schema, const std::vector<std::string>& columns,
                              std::int64_t afterRowid);
    void store(const ObjectSchema& schema, std::int64_t rowid,
               const foundation::Value::Dictionary& values);

    Connection& connection_;
    const std::map<std::string, std::unique_ptr<Table>>& tables_;
};

}  // namespace store

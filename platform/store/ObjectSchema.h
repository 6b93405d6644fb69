#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "foundation/Value.h"
#include "store/Property.h"

namespace store {

// A record class as the database sees it: its class name (the table), its primary key and its
// properties in declaration order (the columns). Schema<T> builds one for a record type.
class ObjectSchema {
  public:
    ObjectSchema(std::string className, std::string primaryKeyName);
    virtual ~ObjectSchema() = default;

    const std::string& className() const { return className_; }
    const std::vector<Property>& properties() const { return properties_; }
    // Nullptr when the class has no property of that name.
    const Property* property(std::string_view name) const;
    // Throws StoreError when the schema names no such property.
    const Property& primaryKey() const;
    // An index: the scalar properties it orders records by, so that a query reads the index
    // instead of every record. A sparse one lists only the records whose one property is set
    // (true, or holding a value), for queries that look those few up among many: a record
    // where it is not set costs the index no write.
    struct Index {
        std::vector<std::string> properties;
        bool sparse = false;
    };
    const std::vector<Index>& indexes() const { return indexes_; }

    // Throws StoreError naming the first fault: a bad or repeated name, a missing primary key,
    // a primary key that is optional or no string or integer, an index that is empty or names
    // no scalar property, or a sparse index on more than one property or on one that is never
    // unset.
    void validate() const;

    // Whether every property of the two records holds the same value; lets a writer skip records
    // that would be stored unchanged.
    bool equal(const void* a, const void* b) const;

    // Every property by name, lists of records as arrays of dictionaries.
    foundation::Value::Dictionary dictionary(const void* record) const;
    // Sets the properties that the dictionary names; throws StoreError for an unknown name.
    void setDictionary(void* record, const foundation::Value::Dictionary& values) const;

  protected:
    void addProperty(Property property);
    void addIndex(Index index) { indexes_.push_back(std::move(index)); }

  private:
    void validate(const Index& index) const;

    std::string className_;
    std::string primaryKeyName_;
    std::vector<Property> properties_;
    std::vector<Index> indexes_;
};

}  // namespace store

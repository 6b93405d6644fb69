#pragma once

#include <SQLiteCpp/Column.h>
#include <SQLiteCpp/Statement.h>

#include <functional>
#include <string>

#include "foundation/Value.h"
#include "store/PropertyType.h"

namespace store {

class ObjectSchema;

// One stored property of a record class. The accessors take the record as an untyped pointer so
// that the storage code needs no templates; only Schema<T> makes them, and it casts back to T.
struct Property {
    using ElementVisitor = std::function<void(const void* element)>;
    // Fills the element it is given and answers true, or answers false when no element is left.
    using ElementSource = std::function<bool(void* element)>;

    std::string name;
    PropertyType type = PropertyType::String;
    bool optional = false;
    // The value of a default-made record: what a new column holds for existing rows.
    foundation::Value defaultValue;
    // The listed record class of an object list.
    const ObjectSchema* elementSchema = nullptr;

    // By name, as Values: lists of strings are arrays of strings, lists of records arrays of
    // dictionaries. Setting nil empties a list and clears an optional.
    std::function<foundation::Value(const void* record)> get;
    std::function<void(void* record, const foundation::Value& value)> set;
    // Whether two records of the class hold the same value (element by element for lists).
    std::function<bool(const void* a, const void* b)> equal;

    // Scalar and string-list columns.
    std::function<void(const void* record, SQLite::Statement& statement, int index)> bind;
    std::function<void(void* record, const SQLite::Column& column)> read;

    // Object lists.
    std::function<void(const void* record, const ElementVisitor& visit)> forEachElement;
    std::function<void(void* record, const ElementSource& next)> fillElements;
};

}  // namespace store

#pragma once

#include <SQLiteCpp/Column.h>
#include <SQLiteCpp/Statement.h>

#include <string>
#include <string_view>
#include <vector>

#include "foundation/Value.h"
#include "store/Property.h"

namespace store {

// How properties meet columns when no typed record is at hand (migrations, predicate arguments):
// names quoted as identifiers, declared column types, and Values bound and read as a property's
// type stores them.
class ColumnCodec {
  public:
    // "name" with any quote doubled; the only way a name enters SQL text.
    static std::string quoted(std::string_view identifier);
    static const char* declaredType(PropertyType type);

    // Coerces the value to the property's stored form; nil gives NULL, an empty list NULL.
    static void bindValue(SQLite::Statement& statement, int index, const Property& property,
                          const foundation::Value& value);
    // A non-optional property whose column is NULL reads as its default.
    static foundation::Value readValue(const Property& property, const SQLite::Column& column);
    // A column of no known property: integers, reals, text and NULL as they are.
    static foundation::Value readRaw(const SQLite::Column& column);
    // A value already in stored form (predicate arguments).
    static void bindRaw(SQLite::Statement& statement, int index, const foundation::Value& value);
    // Each value to its parameter, from the first one on.
    static void bindRaw(SQLite::Statement& statement, const std::vector<foundation::Value>& values);
};

}  // namespace store

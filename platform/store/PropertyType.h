#pragma once

namespace store {

// How a property is stored: scalars take one column each; a list of strings is a JSON array in its
// column, a list of records a JSON array of the listed records' primary keys.
enum class PropertyType { String, Integer, Boolean, Real, Date, StringList, ObjectList };

inline bool isListType(PropertyType type) {
    return type == PropertyType::StringList || type == PropertyType::ObjectList;
}

}  // namespace store

#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "foundation/Value.h"

namespace store {

// List columns and list arguments as JSON array text, the form that SQLite's json_each reads.
// Only flat arrays of strings, numbers and null are written; anything else is written as null.
class ListCodec {
  public:
    static std::string encode(const std::vector<std::string>& strings);
    static std::string encode(const foundation::Value::Array& values);

    // Text that is no such array (a damaged column) gives an empty list.
    static std::vector<std::string> decodeStrings(std::string_view json);
    static foundation::Value::Array decode(std::string_view json);
};

}  // namespace store

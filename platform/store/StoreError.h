#pragma once

#include <stdexcept>
#include <string>

namespace store {

// A fault in using the object database: a write outside a write transaction, a record class that
// the open database does not know, a property name that its class lacks, or a failure of SQLite.
class StoreError : public std::runtime_error {
  public:
    explicit StoreError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace store

#pragma once

#include <string>

#include "store/StoreError.h"

namespace store {

// A predicate format that cannot be parsed or does not fit the record class (unknown property,
// wrong argument type, too few or too many arguments). The text names the format and the place.
class PredicateError : public StoreError {
  public:
    explicit PredicateError(const std::string& message) : StoreError(message) {}
};

}  // namespace store

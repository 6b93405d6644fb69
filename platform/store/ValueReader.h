#pragma once

#include <functional>
#include <string>
#include <vector>

#include "foundation/Value.h"
#include "store/Query.h"

namespace store {

class RealmCore;

// Reads a few scalar properties of every row a query matches, in its order, in one statement
// and without making objects: a list of tens of thousands of objects is grouped for a fraction
// of what reading every object would cost.
class ValueReader {
  public:
    // Called once per row with the values in key-path order; the vector is reused.
    using Visitor = std::function<void(const std::vector<foundation::Value>& values)>;

    // Throws StoreError for a key path that is no scalar property of the query's class.
    static void read(RealmCore& core, const Query& query, const std::vector<std::string>& keyPaths,
                     const Visitor& visit);
};

}  // namespace store

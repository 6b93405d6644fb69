#pragma once

#include <string>
#include <vector>

#include "foundation/Value.h"

namespace store {

// A fragment of SQL with its "?" parameters and the values bound to them, in order. Values never
// enter the text.
struct SqlFragment {
    std::string sql;
    std::vector<foundation::Value> bindings;
};

}  // namespace store

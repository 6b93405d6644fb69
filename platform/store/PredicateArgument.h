#pragma once

#include <set>
#include <string>
#include <type_traits>
#include <vector>

#include "foundation/Value.h"

namespace store {

// Turns the arguments of objectsWhere into Values: anything a Value takes, and lists or sets of
// strings (for "identifier IN %@").
struct PredicateArgument {
    template <typename A>
    static foundation::Value from(const A& argument) {
        using Plain = std::decay_t<A>;
        if constexpr (std::is_same_v<Plain, std::vector<std::string>> ||
                      std::is_same_v<Plain, std::set<std::string>>)
            return foundation::Value::Array(argument.begin(), argument.end());
        else
            return foundation::Value(argument);
    }
};

}  // namespace store

#pragma once

#include <optional>
#include <string_view>

namespace corvane {

// How a version must relate to another one; the numbers are the stored relation codes.
enum class VersionRelation {
    Equal = 0,
    Greater = 1,
    GreaterOrEqual = 2,
    Less = 3,
    LessOrEqual = 4,
    Any = 5,
};

// The relation of a dependency operator: "=", ">>", ">=", "<<", "<=", and the obsolete ">" and
// "<", which dpkg and APT read as ">=" and "<=". nullopt for anything else.
std::optional<VersionRelation> relationFromOperator(std::string_view text);

// version relation other, in Debian version order ("2.0", Greater, "1.0" holds).
bool satisfiesRelation(std::string_view version, VersionRelation relation, std::string_view other);

}  // namespace corvane

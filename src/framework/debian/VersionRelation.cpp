#include "framework/debian/VersionRelation.h"

#include "framework/debian/VersionCompare.h"

namespace corvane {

std::optional<VersionRelation> relationFromOperator(std::string_view text) {
    if (text == "=")
        return VersionRelation::Equal;
    if (text == ">>")
        return VersionRelation::Greater;
    if (text == ">=" || text == ">")
        return VersionRelation::GreaterOrEqual;
    if (text == "<<")
        return VersionRelation::Less;
    if (text == "<=" || text == "<")
        return VersionRelation::LessOrEqual;
    return std::nullopt;
}

bool satisfiesRelation(std::string_view version, VersionRelation relation, std::string_view other) {
    switch (relation) {
        case VersionRelation::Equal:
            return compareVersions(version, other) == 0;
        case VersionRelation::Greater:
            return compareVersions(version, other) > 0;
        case VersionRelation::GreaterOrEqual:
            return compareVersions(version, other) >= 0;
        case VersionRelation::Less:
            return compareVersions(version, other) < 0;
        case VersionRelation::LessOrEqual:
            return compareVersions(version, other) <= 0;
        case VersionRelation::Any:
            return true;
    }
    // A code read from storage that names no relation constrains nothing it could satisfy.
    return false;
}

}  // namespace corvane

#pragma once

#include <string_view>

namespace corvane {

// Debian version order, as dpkg sorts versions: epoch numerically, then upstream version, then
// revision, each by dpkg's rule ('~' before everything, even the end of the text; letters before
// other characters; digit runs numerically). A missing revision sorts like "0". Surrounding
// blanks are ignored; an empty version (none at all) sorts before every other one, as dpkg
// --compare-versions has it. Text that is no valid version still gets a total order: an epoch is
// only taken when the text before the first ':' is all digits. Negative when a sorts before b, zero
// when they are equal, positive after.
int compareVersions(std::string_view a, std::string_view b);

// a is a newer version than b.
bool greaterThan(std::string_view a, std::string_view b);

}  // namespace corvane

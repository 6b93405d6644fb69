#pragma once

#include <string>
#include <utility>
#include <vector>

namespace corvane::bench {

constexpr int kIndexStanzas = 60000;

// Made once and shared by every benchmark of the run, so that both sides read the same bytes.
const std::string& packagesIndex();
const std::vector<std::pair<std::string, std::string>>& versionPairs();
// The pairs above whose texts differ, where no comparison can stop at byte equality.
const std::vector<std::pair<std::string, std::string>>& differingVersionPairs();

}  // namespace corvane::bench

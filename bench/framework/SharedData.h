#pragma once

#include <string>
#include <utility>
#include <vector>

namespace corvane::bench {

constexpr int kIndexStanzas = 60000;

// The two shapes of generated index: what iOS repositories publish, and a whole distribution's
// (about 790 bytes a stanza, as a real one averages).
enum class IndexShape { repository, distribution };
const char* nameOf(IndexShape shape);

// Made once and shared by every benchmark of the run, so that both sides read the same bytes.
const std::string& packagesIndex();
const std::string& distributionIndex();
const std::string& indexOf(IndexShape shape);
const std::vector<std::pair<std::string, std::string>>& versionPairs();
// The pairs above whose texts differ, where no comparison can stop at byte equality.
const std::vector<std::pair<std::string, std::string>>& differingVersionPairs();

}  // namespace corvane::bench

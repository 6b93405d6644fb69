#pragma once

#include <string>
#include <vector>

#include "framework/SharedData.h"

namespace corvane::bench {

// An index a refresh is measured on: most repositories people add are small, the largest iOS
// repositories hold tens of thousands of packages, and a whole distribution's is the heaviest.
struct RefreshIndex {
    const char* name;
    IndexShape shape;
    int stanzas;
};

// 15,000 and 60,000 packages as iOS repositories publish them, and 63,440 shaped like Debian's
// main index, which holds that many.
const std::vector<RefreshIndex>& refreshIndexes();
// The index whose device the launch is measured on.
const RefreshIndex& launchIndex();
// Generated once and shared by every measure of the run.
const std::string& textOf(const RefreshIndex& index);

}  // namespace corvane::bench

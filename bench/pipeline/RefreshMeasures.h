#pragma once

#include <string>

namespace corvane::bench {

// Each refresh measure averages this many refreshes, and is taken this many times, interleaved
// with the others under bench/run; the median take of each is compared: one take of each was
// too noisy to judge, apt-get update alone varying by a quarter from one run to the next.
constexpr int kRefreshIterations = 3;
constexpr int kRefreshRepetitions = 3;

// The name google-benchmark gives the takes of the refresh measure named.
inline std::string refreshRunName(const std::string& measure) {
    return measure + "/iterations:" + std::to_string(kRefreshIterations) +
           "/repeats:" + std::to_string(kRefreshRepetitions) + "/real_time";
}

}  // namespace corvane::bench

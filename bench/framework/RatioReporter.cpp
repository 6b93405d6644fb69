#include "RatioReporter.h"

#include <cstdio>

namespace corvane::bench {

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const auto& run : runs) {
        if (run.error_occurred || run.iterations == 0 || run.run_type != Run::RT_Iteration)
            continue;
        const double nanoseconds = run.real_accumulated_time * 1e9 / run.iterations;
        const auto [kept, added] =
            nanosecondsByName_.try_emplace(run.benchmark_name(), nanoseconds);
        if (!added && nanoseconds < kept->second)
            kept->second = nanoseconds;
    }
}

bool RatioReporter::printRatio(const std::string& ours, const std::string& theirs,
                               std::optional<double> limit) const {
    const auto mine = nanosecondsByName_.find(ours);
    const auto other = nanosecondsByName_.find(theirs);
    if (mine == nanosecondsByName_.end() || other == nanosecondsByName_.end()) {
        std::printf("%-36s / %-32s: not measured in this run\n", ours.c_str(), theirs.c_str());
        return true;
    }
    const double ratio = mine->second / other->second;
    std::printf("%-36s / %-32s = %5.2f", ours.c_str(), theirs.c_str(), ratio);
    if (!limit) {
        std::printf(" (for reference)\n");
        return true;
    }
    const bool met = ratio <= *limit;
    std::printf(" (target <= %.2f: %s)\n", *limit, met ? "met" : "MISSED");
    return met;
}

void RatioReporter::printTime(const std::string& name) const {
    const auto time = nanosecondsByName_.find(name);
    if (time == nanosecondsByName_.end()) {
        std::printf("%-36s: not measured in this run\n", name.c_str());
        return;
    }
    std::printf("%-36s   %-32s   %8.1f ms (for reference)\n", name.c_str(), "", time->second / 1e6);
}

}  // namespace corvane::bench

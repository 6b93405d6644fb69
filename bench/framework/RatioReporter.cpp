#include "RatioReporter.h"

#include <algorithm>
#include <cstdio>

namespace corvane::bench {

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const auto& run : runs) {
        if (run.error_occurred || run.iterations == 0 || run.run_type != Run::RT_Iteration)
            continue;
        nanosecondsByName_[run.benchmark_name()].push_back(run.real_accumulated_time * 1e9 /
                                                           run.iterations);
    }
}

std::optional<double> RatioReporter::medianNanoseconds(const std::string& name) const {
    const auto found = nanosecondsByName_.find(name);
    if (found == nanosecondsByName_.end())
        return std::nullopt;
    auto times = found->second;
    std::ranges::sort(times);
    const auto middle = times.size() / 2;
    return times.size() % 2 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
}

bool RatioReporter::printRatio(const std::string& ours, const std::string& theirs,
                               std::optional<double> limit) const {
    const auto mine = medianNanoseconds(ours);
    const auto other = medianNanoseconds(theirs);
    if (!mine || !other) {
        std::printf("%-36s / %-32s: not measured in this run\n", ours.c_str(), theirs.c_str());
        return true;
    }
    const double ratio = *mine / *other;
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
    const auto time = medianNanoseconds(name);
    if (!time) {
        std::printf("%-36s: not measured in this run\n", name.c_str());
        return;
    }
    std::printf("%-36s   %-32s   %8.1f ms (for reference)\n", name.c_str(), "", *time / 1e6);
}

}  // namespace corvane::bench

#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace corvane::bench {

// The console report, plus each benchmark's repetitions kept so that ratios of their medians can be
// printed at the end: the fastest of a few takes flattered whichever side had a lucky one, and its
// ratios did not come out again from one run to the next.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override;

    // "ours / theirs = ratio", with the target when there is one; false only when both ran and
    // the target is missed.
    bool printRatio(const std::string& ours, const std::string& theirs,
                    std::optional<double> limit) const;
    // A figure of its own, with no yardstick: the median repetition's time.
    void printTime(const std::string& name) const;

  private:
    std::optional<double> medianNanoseconds(const std::string& name) const;

    std::map<std::string, std::vector<double>> nanosecondsByName_;
};

}  // namespace corvane::bench

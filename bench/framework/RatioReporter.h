#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace corvane::bench {

// The console report, plus each benchmark's fastest repetition kept so that ratios can be printed
// at the end; the fastest is the one least disturbed by whatever else the machine was doing.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override;

    // "ours / theirs = ratio", with the target when there is one; false only when both ran and
    // the target is missed.
    bool printRatio(const std::string& ours, const std::string& theirs,
                    std::optional<double> limit) const;
    // A figure of its own, with no yardstick: the fastest repetition's time.
    void printTime(const std::string& name) const;

  private:
    std::map<std::string, double> nanosecondsByName_;
};

}  // namespace corvane::bench

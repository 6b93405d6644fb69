#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "LoopbackRepository.h"

namespace corvane::bench {

// The whole program, run as a person runs it, beside APT doing the same:
// - the peak memory of a newly added source's refresh, from launch until the program is at rest,
//   against "apt-get update" of the same repository, for every refresh index;
// - on the launch index's device, the first screen from exec on the first launch after a refresh
//   and on later ones, and what the launches hold in memory;
// - the database's write-ahead log after a refresh and after kLaunches launches.
// The runs of each index are interleaved with APT's, and medians are compared.
class ProgramFigures {
  public:
    // Prints them with their targets; false when one is missed or a run failed.
    static bool print();

  private:
    static constexpr int kRepetitions = 3;
    static constexpr int kLaunches = 30;

    struct Device {
        std::filesystem::path root;
        std::filesystem::path data;
    };
    struct IndexRuns {
        std::vector<double> ours;
        std::vector<double> theirs;
        std::vector<double> firstScreens;
        std::vector<double> logs;
    };

    static bool runIndex(const RefreshIndex& index, IndexRuns& runs);
    static bool printMemory(const RefreshIndex& index, const IndexRuns& runs);
    static bool printLaunches(const Device& device, const IndexRuns& afterRefresh);
    static Device deviceFor(const RefreshIndex& index, int repetition);
    static ProgramRun refreshNewDevice(const Device& device, const std::string& location);
    static std::vector<std::string> launchArguments(const Device& device);
    static double logMebibytes(const Device& device);
    static double median(std::vector<double> values);
};

}  // namespace corvane::bench

#pragma once

#include <httplib.h>
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "RefreshIndex.h"

namespace corvane::bench {

// A generated flat repository (Release, Packages, Packages.xz) of each refresh index, served on
// 127.0.0.1 for the whole run. Every path below "/<index>/<anything>/" serves the same files, so
// each iteration can refresh a source location of its own.
class LoopbackRepository {
  public:
    LoopbackRepository();
    ~LoopbackRepository();
    LoopbackRepository(const LoopbackRepository&) = delete;
    LoopbackRepository& operator=(const LoopbackRepository&) = delete;

    static LoopbackRepository& shared();

    // "http://127.0.0.1:PORT/<index>/<name>/"
    std::string location(const RefreshIndex& index, const std::string& name) const;
    const std::filesystem::path& scratch() const { return scratch_; }

  private:
    void writeRepository(const RefreshIndex& index) const;

    std::filesystem::path scratch_;
    std::filesystem::path folder_;
    httplib::Server server_;
    int port_ = -1;
    std::thread listener_;
};

struct ProgramRun {
    // -1 when it could not run or did not exit.
    int status = -1;
    // The peak resident set of the program itself, and of the largest of it and the programs
    // it waited for.
    long ownPeakKibibytes = 0;
    long peakKibibytes = 0;
};

// Starts a program (no shell) with extra environment entries, its output thrown away; the child's
// process ID, or -1.
pid_t spawnQuietly(const std::vector<std::string>& arguments,
                   const std::vector<std::string>& environment = {});
// Runs a program (no shell) with extra environment entries, its output thrown away.
ProgramRun runProgram(const std::vector<std::string>& arguments,
                      const std::vector<std::string>& environment = {});

}  // namespace corvane::bench

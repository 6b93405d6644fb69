#pragma once

#include <httplib.h>

#include <filesystem>
#include <string>
#include <thread>

namespace corvane::bench {

// A generated flat repository of kIndexStanzas packages (Release, Packages, Packages.xz) served
// on 127.0.0.1 for the whole run. Every path below "/<anything>/" serves the same files, so each
// iteration can refresh a source location of its own.
class LoopbackRepository {
  public:
    LoopbackRepository();
    ~LoopbackRepository();
    LoopbackRepository(const LoopbackRepository&) = delete;
    LoopbackRepository& operator=(const LoopbackRepository&) = delete;

    static LoopbackRepository& shared();

    // "http://127.0.0.1:PORT/<name>/"
    std::string location(const std::string& name) const;
    const std::filesystem::path& scratch() const { return scratch_; }

  private:
    void writeRepository() const;

    std::filesystem::path scratch_;
    std::filesystem::path folder_;
    httplib::Server server_;
    int port_ = -1;
    std::thread listener_;
};

// Runs a program (no shell) with extra environment entries; its exit status, -1 when it could
// not run.
int runProgram(const std::vector<std::string>& arguments,
               const std::vector<std::string>& environment = {});

}  // namespace corvane::bench

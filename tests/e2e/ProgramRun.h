#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace corvane::testing {

// What the corvane program did when run as a person runs it from a terminal.
struct ProgramRun {
    int exitStatus = -1;
    std::string output;
    // What it printed on its standard error before that went to the log.
    std::string errors;
    // Only for a bounded run: ended by the bounds or by the test, and the most memory it held.
    bool overTime = false;
    bool overMemory = false;
    bool killed = false;
    std::size_t peakResidentBytes = 0;
};

// How long a run may take and how much memory it may hold before it is killed, with everything
// it started.
struct RunBounds {
    double seconds = 120;
    std::size_t residentBytes = std::size_t(2) << 30;
    // Asked as the run goes: true kills it with everything it started, as a crash or a power cut
    // ends a program.
    std::function<bool()> killWhen;
};

// The corvane program and the journey tool, built beside this test program.
std::string corvanePath();
std::string journeyPath();

// Runs the program (corvane unless named) with the arguments and extra environment entries
// ("NAME=value", before the inherited ones, so they win), and gives what it printed.
ProgramRun runProgram(const std::vector<std::string>& arguments,
                      const std::vector<std::string>& extraEnvironment = {},
                      const std::string& program = corvanePath());
// The same, in a process group of its own that is killed whole once the run outlasts its bounds.
ProgramRun runBounded(const RunBounds& bounds, const std::vector<std::string>& arguments,
                      const std::vector<std::string>& extraEnvironment = {},
                      const std::string& program = corvanePath());

std::string readWhole(const std::string& path);

}  // namespace corvane::testing

#pragma once

#include <string>
#include <vector>

namespace corvane::testing {

// What the corvane program did when run as a person runs it from a terminal.
struct ProgramRun {
    int exitStatus = -1;
    std::string output;
    // What it printed on its standard error before that went to the log.
    std::string errors;
};

// The corvane program and the journey tool, built beside this test program.
std::string corvanePath();
std::string journeyPath();

// Runs the program (corvane unless named) with the arguments and extra environment entries
// ("NAME=value", before the inherited ones, so they win), and gives what it printed.
ProgramRun runProgram(const std::vector<std::string>& arguments,
                      const std::vector<std::string>& extraEnvironment = {},
                      const std::string& program = corvanePath());

std::string readWhole(const std::string& path);

}  // namespace corvane::testing

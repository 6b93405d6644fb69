#pragma once

#include <string>
#include <vector>

namespace corvane::testing {

struct CommandResult {
    int exitStatus = -1;  // -1 when the program could not be started or did not exit normally
    std::string output;
    std::string errors;
};

// Runs a program found on PATH with these arguments (no shell), optionally feeding input to its
// standard input, and collects both of its output streams.
CommandResult runCommand(const std::vector<std::string>& arguments, const std::string& input = {});

}  // namespace corvane::testing

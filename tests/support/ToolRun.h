#pragma once

#include <string>
#include <vector>

namespace testing_support {

// Runs a program (an absolute path, or a name found on PATH) with these arguments, no shell
// between, its output discarded and its errors going where the test's go; its exit status, or
// -1 when it could not be started or did not exit normally.
int runTool(const std::vector<std::string>& arguments);

}  // namespace testing_support

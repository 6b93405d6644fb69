#pragma once

#include <string>
#include <vector>

#include "framework/apt/KSRootCommandRunner.h"

namespace corvane::testing {

// dpkg on the current device root exactly as the application runs it (KSAPTCommandLine::dpkg):
// the device root's database, files and log, in the sandbox. Tests run dpkg through this alone,
// so that none of them adds to the host's dpkg log. Where no sandbox can be made, nothing runs
// and the reason is the output.
KSRootCommandRunner::CommandResult deviceDpkg(const std::vector<std::string>& arguments);

}  // namespace corvane::testing

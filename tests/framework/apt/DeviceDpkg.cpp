#include "framework/apt/DeviceDpkg.h"

#include "framework/apt/KSAPTCommandLine.h"

namespace corvane::testing {

KSRootCommandRunner::CommandResult deviceDpkg(const std::vector<std::string>& arguments) {
    const auto command = KSAPTCommandLine::dpkg(arguments);
    if (!command)
        return {KSRootCommandRunner::kNotStartedStatus, command.error().localizedDescription()};
    return KSRootCommandRunner::run(*command);
}

}  // namespace corvane::testing

#include "support/ProcessReset.h"

#include <cstdlib>
#include <map>
#include <string>

#include "foundation/ProcessState.h"

extern char** environ;

namespace testing_support {

namespace {

using Environment = std::map<std::string, std::string>;

Environment currentEnvironment() {
    Environment variables;
    for (char** entry = environ; entry && *entry; ++entry) {
        const std::string text = *entry;
        const auto equals = text.find('=');
        if (equals != std::string::npos)
            variables[text.substr(0, equals)] = text.substr(equals + 1);
    }
    return variables;
}

// Runs while no background work is left, since other threads may read the environment.
void restoreEnvironment(const Environment& start) {
    for (const auto& [name, value] : currentEnvironment())
        if (!start.contains(name))
            unsetenv(name.c_str());
    for (const auto& [name, value] : start)
        setenv(name.c_str(), value.c_str(), 1);
}

}  // namespace

ProcessReset::ProcessReset() {
    foundation::ProcessState::registerReset(
        foundation::ProcessState::Phase::state,
        [start = currentEnvironment()] { restoreEnvironment(start); });
}

void ProcessReset::OnTestStart(const ::testing::TestInfo&) {
    reset();
}

// Runs before the result is printed, so a failed reset fails the test that left the work.
void ProcessReset::OnTestEnd(const ::testing::TestInfo&) {
    reset();
}

void ProcessReset::reset() {
    if (foundation::ProcessState::reset())
        return;
    allSucceeded_ = false;
    ADD_FAILURE() << "background work of this test was still running when the process was reset";
}

}  // namespace testing_support

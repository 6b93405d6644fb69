#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "foundation/Result.h"

namespace corvane {

// The client side of the root command runner ("groot"), the small program installed beside the
// application that runs one shell command line with the rights of the package tools, one
// command at a time.
//
// The runner is run from the program's installation, never from a folder a package can write:
// the path in the environment variable CORVANE_GROOT, else "groot" beside the running program,
// else the path the build recorded (CORVANE_GROOT_BUILD_PATH). Its lock is a file of the data
// folder, handed to it open.
//
// While another command holds the runner, a request is refused with kBusyStatus and
// kBusyMessage; run() then waits and asks again until its turn comes, so that callers take
// turns and never see the refusal.
class KSRootCommandRunner {
  public:
    // Resolved under the data folder.
    static constexpr std::string_view kLockPath = "/var/run/corvane-groot.lock";
    static constexpr int kBusyStatus = 75;
    static constexpr std::string_view kBusyMessage =
        "groot: busy: another privileged command is running\n";
    // The status of a command that could not be started at all.
    static constexpr int kNotStartedStatus = -1;
    // A command that writes nothing for this many seconds is stopped: the environment variable
    // first (tests shorten it), then the preference, else the default.
    static constexpr const char* kTimeLimitVariable = "CORVANE_COMMAND_TIME_LIMIT";
    static constexpr const char* kTimeLimitPreference = "CommandTimeLimitSeconds";
    static constexpr long kDefaultTimeLimitSeconds = 300;

    struct CommandResult {
        int status = kNotStartedStatus;
        // Standard output and error, merged in the order written.
        std::string output;
        // Stopped for writing nothing within the time limit; the output ends saying so.
        bool stopped = false;
        bool succeeded() const { return status == 0; }
    };

    // Each piece of output as it arrives, the whole output so far, whether this is the last
    // call, and the exit status (meaningful on the last call only).
    using UpdateBlock = std::function<void(const std::string& chunk, const std::string& output,
                                           bool finished, int status)>;

    // Runs the command line synchronously on the calling thread. The update block (may be
    // empty) is called on the same thread for every piece of output and once more at the end.
    // The command and everything it started end with the runner, which ends with this process,
    // and when the command writes nothing for timeLimitSeconds().
    // A line that names the device root but does not start inside the sandbox (KSBubblewrap) is
    // refused, unrun, with kNotStartedStatus.
    static CommandResult run(const std::string& commandLine, const UpdateBlock& update = {});

    static long timeLimitSeconds();
    // The runner of the program's installation; an error when none is found.
    static foundation::Result<std::string> runnerPath();
    static std::string lockPath();

    // How many refusals for busyness this process has met while waiting for its turn.
    static std::uint64_t busyRefusalCount();
};

}  // namespace corvane

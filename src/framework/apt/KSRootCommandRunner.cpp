#include "framework/apt/KSRootCommandRunner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <thread>
#include <vector>

#include "foundation/DataFolder.h"
#include "foundation/FileManager.h"
#include "foundation/Format.h"
#include "foundation/Localization.h"
#include "foundation/Log.h"
#include "foundation/ProcessValue.h"
#include "framework/apt/KSBubblewrap.h"
#include "framework/preferences/CorvanePersistentPreferences.h"

extern char** environ;

namespace corvane {

namespace {

constexpr auto kBusyPause = std::chrono::milliseconds(100);
// Where the runner finds its lock.
constexpr int kRunnerLockDescriptor = 3;
constexpr const char* kStoppedMessage =
    "Nothing was heard from the command for %ld s, so it was stopped.";
foundation::ProcessValue<std::uint64_t> busyRefusals;

std::optional<std::string> installedRunner() {
    if (const char* path = std::getenv("CORVANE_GROOT"); path && *path)
        return std::string(path);
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const auto beside = self.parent_path() / "groot";
        if (std::filesystem::is_regular_file(beside, error))
            return beside.string();
    }
#ifdef CORVANE_GROOT_BUILD_PATH
    if (std::filesystem::is_regular_file(CORVANE_GROOT_BUILD_PATH, error))
        return std::string(CORVANE_GROOT_BUILD_PATH);
#endif
    return std::nullopt;
}

// Holds back output that could still turn out to be the runner's busy refusal.
class OutputSink {
  public:
    explicit OutputSink(const KSRootCommandRunner::UpdateBlock& update) : update_(update) {}

    void append(const std::string& chunk) {
        if (!deciding_) {
            deliver(chunk);
            return;
        }
        pending_ += chunk;
        const std::string_view busy = KSRootCommandRunner::kBusyMessage;
        if (pending_.size() <= busy.size() && busy.substr(0, pending_.size()) == pending_)
            return;
        deciding_ = false;
        deliver(std::exchange(pending_, {}));
    }

    bool isBusyRefusal(int status) const {
        return deciding_ && status == KSRootCommandRunner::kBusyStatus &&
               pending_ == KSRootCommandRunner::kBusyMessage;
    }

    KSRootCommandRunner::CommandResult finish(int status) {
        if (!pending_.empty())
            deliver(std::exchange(pending_, {}));
        if (update_)
            update_({}, output_, true, status);
        return {status, output_};
    }

  private:
    void deliver(const std::string& chunk) {
        output_ += chunk;
        if (update_)
            update_(chunk, output_, false, KSRootCommandRunner::kNotStartedStatus);
    }

    const KSRootCommandRunner::UpdateBlock& update_;
    bool deciding_ = true;
    std::string pending_;
    std::string output_;
};

foundation::Error runnerError(const std::string& description) {
    return foundation::Error::make("KSRootCommandRunner", 1, description);
}

// Opened anew for every request: the runner takes the lock on this open file, so that two
// requests of this process contend as two of different processes do.
foundation::Result<int> openLock() {
    const auto path = KSRootCommandRunner::lockPath();
    FOUNDATION_RETURN_IF_ERROR(
        foundation::FileManager::createDirectory(std::filesystem::path(path).parent_path()));
    const int descriptor = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (descriptor < 0)
        return runnerError("Cannot open the root command runner's lock " + path + ": " +
                           std::strerror(errno));
    return descriptor;
}

std::optional<pid_t> spawnRunner(const std::string& runner, const std::string& commandLine,
                                 int outputDescriptor, int lockDescriptor) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outputDescriptor, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, outputDescriptor, STDERR_FILENO);
    posix_spawn_file_actions_adddup2(&actions, lockDescriptor, kRunnerLockDescriptor);
    std::vector<char*> arguments = {const_cast<char*>(runner.c_str()),
                                    const_cast<char*>(commandLine.c_str()), nullptr};
    // The runner leads a process group of its own, which its command joins.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t process = 0;
    const int failure =
        posix_spawn(&process, runner.c_str(), &actions, &attributes, arguments.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (failure != 0)
        return std::nullopt;
    return process;
}

KSRootCommandRunner::CommandResult refused(const std::string& reason,
                                           const KSRootCommandRunner::UpdateBlock& update) {
    KSLog("Command refused: %@", reason);
    OutputSink sink(update);
    sink.append(reason + "\n");
    return sink.finish(KSRootCommandRunner::kNotStartedStatus);
}

// Every command that reaches the device root runs inside the sandbox: a package may have left
// anything there for a command of the host to trip over.
std::optional<std::string> refusalOf(const std::string& commandLine) {
    if (commandLine.find('\0') != std::string::npos)
        return "A command line cannot hold a NUL character.";
    if (KSBubblewrap::namesDeviceRoot(commandLine) && !KSBubblewrap::startsInside(commandLine))
        return "A command that reaches the device root runs only inside the sandbox: " +
               commandLine;
    return std::nullopt;
}

// Follows one request to its end. The runner leads a process group that its command shares:
// asked to stop, it kills the group; once it has ended, whatever of the group still holds its
// output is killed too, so that the output ends.
class RunnerWatch {
  public:
    RunnerWatch(pid_t runner, int output, OutputSink& sink)
        : runner_(runner), output_(output), sink_(sink) {}

    // Reads until the output ends; the runner's exit status.
    int wait() {
        std::vector<char> buffer(64 * 1024);
        for (;;) {
            pollfd readable = {output_, POLLIN, 0};
            const int ready = poll(&readable, 1, kPollMilliseconds);
            if (ready < 0 && errno == EINTR)
                continue;
            if (ready == 0) {
                checkProgress();
                continue;
            }
            const auto count = read(output_, buffer.data(), buffer.size());
            if (count < 0 && errno == EINTR)
                continue;
            if (count <= 0)
                return exitStatus();
            lastOutput_ = Clock::now();
            sink_.append(std::string(buffer.data(), static_cast<std::size_t>(count)));
        }
    }

    bool stopped() const { return stoppedAt_.has_value(); }

  private:
    using Clock = std::chrono::steady_clock;
    static constexpr int kPollMilliseconds = 200;
    static constexpr auto kStopGrace = std::chrono::seconds(10);

    void checkProgress() {
        if (!ended_ && hasEnded()) {
            ended_ = true;
            kill(-runner_, SIGKILL);
        } else if (!stoppedAt_ && Clock::now() - lastOutput_ >= limit_) {
            stoppedAt_ = Clock::now();
            kill(-runner_, SIGTERM);
            sink_.append(
                "\n" +
                foundation::format(foundation::localized(kStoppedMessage), long(limit_.count())) +
                "\n");
        } else if (stoppedAt_ && Clock::now() - *stoppedAt_ >= kStopGrace) {
            kill(-runner_, SIGKILL);
        }
    }

    // Left unreaped, so that its group cannot be taken by another process meanwhile.
    bool hasEnded() const {
        siginfo_t info{};
        return waitid(P_PID, runner_, &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid;
    }

    int exitStatus() const {
        int status = 0;
        while (waitpid(runner_, &status, 0) < 0) {
            if (errno != EINTR)
                return KSRootCommandRunner::kNotStartedStatus;
        }
        if (WIFEXITED(status))
            return WEXITSTATUS(status);
        return 128 + WTERMSIG(status);
    }

    const pid_t runner_;
    const int output_;
    OutputSink& sink_;
    const std::chrono::seconds limit_{KSRootCommandRunner::timeLimitSeconds()};
    Clock::time_point lastOutput_ = Clock::now();
    std::optional<Clock::time_point> stoppedAt_;
    bool ended_ = false;
};

// One request to the runner; nullopt when it refused for busyness.
std::optional<KSRootCommandRunner::CommandResult> runOnce(
    const std::string& runner, int lock, const std::string& commandLine,
    const KSRootCommandRunner::UpdateBlock& update) {
    OutputSink sink(update);
    int descriptors[2];
    if (pipe2(descriptors, O_CLOEXEC) != 0)
        return sink.finish(KSRootCommandRunner::kNotStartedStatus);
    const auto process = spawnRunner(runner, commandLine, descriptors[1], lock);
    close(descriptors[1]);
    if (!process) {
        close(descriptors[0]);
        return sink.finish(KSRootCommandRunner::kNotStartedStatus);
    }
    RunnerWatch watch(*process, descriptors[0], sink);
    const int status = watch.wait();
    close(descriptors[0]);
    if (sink.isBusyRefusal(status))
        return std::nullopt;
    auto result = sink.finish(status);
    result.stopped = watch.stopped();
    return result;
}

}  // namespace

foundation::Result<std::string> KSRootCommandRunner::runnerPath() {
    if (auto runner = installedRunner())
        return *runner;
    return runnerError("The root command runner was not found beside the program or in the build.");
}

std::string KSRootCommandRunner::lockPath() {
    return foundation::DataFolder::resolve(kLockPath);
}

long KSRootCommandRunner::timeLimitSeconds() {
    long seconds = 0;
    if (const char* configured = std::getenv(kTimeLimitVariable))
        seconds = std::strtol(configured, nullptr, 10);
    if (seconds <= 0)
        seconds = long(
            CorvanePersistentPreferences::sharedInstance().integerForKey(kTimeLimitPreference));
    return seconds > 0 ? seconds : kDefaultTimeLimitSeconds;
}

std::uint64_t KSRootCommandRunner::busyRefusalCount() {
    return busyRefusals.get();
}

KSRootCommandRunner::CommandResult KSRootCommandRunner::run(const std::string& commandLine,
                                                            const UpdateBlock& update) {
    if (auto refusal = refusalOf(commandLine))
        return refused(*refusal, update);
    const auto runner = runnerPath();
    if (!runner)
        return refused(runner.error().localizedDescription(), update);
    for (;;) {
        auto lock = openLock();
        if (!lock)
            return refused(lock.error().localizedDescription(), update);
        auto result = runOnce(*runner, *lock, commandLine, update);
        close(*lock);
        if (result)
            return *result;
        busyRefusals.update([](std::uint64_t& count) { ++count; });
        std::this_thread::sleep_for(kBusyPause);
    }
}

}  // namespace corvane

#include "framework/apt/KSRootCommandRunner.h"

#include <fcntl.h>
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
#include "foundation/Log.h"
#include "foundation/ProcessValue.h"
#include "framework/apt/KSBubblewrap.h"

extern char** environ;

namespace corvane {

namespace {

constexpr auto kBusyPause = std::chrono::milliseconds(100);
// Where the runner finds its lock.
constexpr int kRunnerLockDescriptor = 3;
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
    pid_t process = 0;
    const int failure =
        posix_spawn(&process, runner.c_str(), &actions, nullptr, arguments.data(), environ);
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

int exitStatusOf(pid_t process) {
    int status = 0;
    while (waitpid(process, &status, 0) < 0) {
        if (errno != EINTR)
            return KSRootCommandRunner::kNotStartedStatus;
    }
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    return 128 + WTERMSIG(status);
}

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
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        const auto count = read(descriptors[0], buffer.data(), buffer.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            break;
        sink.append(std::string(buffer.data(), static_cast<std::size_t>(count)));
    }
    close(descriptors[0]);
    const int status = exitStatusOf(*process);
    if (sink.isBusyRefusal(status))
        return std::nullopt;
    return sink.finish(status);
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

#include "framework/apt/KSRootCommandRunner.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "foundation/DeviceRoot.h"
#include "foundation/FileManager.h"
#include "foundation/Log.h"
#include "foundation/ProcessValue.h"

extern char** environ;

namespace corvane {

namespace {

constexpr auto kBusyPause = std::chrono::milliseconds(100);
foundation::ProcessValue<std::uint64_t> busyRefusals;
std::mutex installMutex;

std::optional<std::string> builtRunner() {
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

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec &&
           a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

foundation::Status installError(const std::string& description) {
    return foundation::Error::make("KSRootCommandRunner", 1, description);
}

// Copied beside the target and renamed over it, so that a runner being started never sees a
// half-written file; the source's modification time marks the copy as current.
foundation::Status installCopy(const std::string& source, const std::string& target,
                               const struct stat& sourceInfo) {
    const auto folder = std::filesystem::path(target).parent_path().string();
    FOUNDATION_RETURN_IF_ERROR(foundation::FileManager::createDirectory(folder));
    const auto temporary = target + ".installing-" + std::to_string(getpid());
    std::error_code error;
    std::filesystem::copy_file(source, temporary, std::filesystem::copy_options::overwrite_existing,
                               error);
    if (error)
        return installError("Cannot copy the root command runner to " + target + ": " +
                            error.message());
    const struct timespec times[2] = {sourceInfo.st_atim, sourceInfo.st_mtim};
    if (chmod(temporary.c_str(), 0755) != 0 ||
        utimensat(AT_FDCWD, temporary.c_str(), times, 0) != 0 ||
        rename(temporary.c_str(), target.c_str()) != 0) {
        std::filesystem::remove(temporary, error);
        return installError("Cannot install the root command runner at " + target);
    }
    return foundation::Success{};
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

std::optional<pid_t> spawnRunner(const std::string& commandLine, int outputDescriptor) {
    const auto runner = KSRootCommandRunner::runnerPath();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outputDescriptor, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, outputDescriptor, STDERR_FILENO);
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
    const std::string& commandLine, const KSRootCommandRunner::UpdateBlock& update) {
    OutputSink sink(update);
    int descriptors[2];
    if (pipe2(descriptors, O_CLOEXEC) != 0)
        return sink.finish(KSRootCommandRunner::kNotStartedStatus);
    const auto process = spawnRunner(commandLine, descriptors[1]);
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

std::string KSRootCommandRunner::runnerPath() {
    return foundation::DeviceRoot::resolve(kRunnerPath);
}

std::string KSRootCommandRunner::lockPath() {
    return foundation::DeviceRoot::resolve(kLockPath);
}

std::uint64_t KSRootCommandRunner::busyRefusalCount() {
    return busyRefusals.get();
}

foundation::Status KSRootCommandRunner::installRunnerIfNeeded() {
    std::lock_guard lock(installMutex);
    const auto source = builtRunner();
    if (!source)
        return installError(
            "The root command runner was not found beside the program or in the build.");
    struct stat sourceInfo {};
    if (stat(source->c_str(), &sourceInfo) != 0)
        return installError("Cannot read the root command runner at " + *source);
    const auto target = runnerPath();
    struct stat targetInfo {};
    if (stat(target.c_str(), &targetInfo) == 0 && sameFile(sourceInfo, targetInfo))
        return foundation::Success{};
    return installCopy(*source, target, sourceInfo);
}

KSRootCommandRunner::CommandResult KSRootCommandRunner::run(const std::string& commandLine,
                                                            const UpdateBlock& update) {
    if (commandLine.find('\0') != std::string::npos) {
        OutputSink sink(update);
        sink.append("A command line cannot hold a NUL character.\n");
        return sink.finish(kNotStartedStatus);
    }
    if (auto installed = installRunnerIfNeeded(); !installed) {
        KSLog("%s", installed.error().localizedDescription());
        OutputSink sink(update);
        sink.append(installed.error().localizedDescription() + "\n");
        return sink.finish(kNotStartedStatus);
    }
    for (;;) {
        if (auto result = runOnce(commandLine, update))
            return *result;
        busyRefusals.update([](std::uint64_t& count) { ++count; });
        std::this_thread::sleep_for(kBusyPause);
    }
}

}  // namespace corvane

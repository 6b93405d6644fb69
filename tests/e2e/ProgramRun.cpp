#include "e2e/ProgramRun.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

extern char** environ;

namespace corvane::testing {

namespace {

// <build>/tests/e2e_tests runs programs of <build>.
std::filesystem::path buildFolder() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path();
}

// Words that stay alive, and the pointers to them that exec takes.
class Words {
  public:
    explicit Words(std::vector<std::string> words) : words_(std::move(words)) {
        for (auto& word : words_)
            pointers_.push_back(word.data());
        pointers_.push_back(nullptr);
    }
    char** data() { return pointers_.data(); }

  private:
    std::vector<std::string> words_;
    std::vector<char*> pointers_;
};

Words environment(const std::vector<std::string>& extra) {
    std::vector<std::string> entries(extra);
    for (char** entry = environ; *entry; ++entry)
        entries.emplace_back(*entry);
    return Words(std::move(entries));
}

std::size_t residentBytes(pid_t process) {
    std::ifstream status("/proc/" + std::to_string(process) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("VmRSS:"))
            return std::stoull(line.substr(6)) * 1024;
    return 0;
}

// The program with its output on a pipe and its errors in a file; the pipe's reading end.
struct Started {
    pid_t process = 0;
    int output = -1;
    std::string errorsFile;
};

std::optional<Started> start(const std::vector<std::string>& arguments,
                             const std::vector<std::string>& extraEnvironment,
                             const std::string& program, bool ownGroup) {
    Started started;
    started.errorsFile =
        (std::filesystem::temp_directory_path() / "corvane-stderr-XXXXXX").string();
    close(mkstemp(started.errorsFile.data()));
    std::vector<std::string> words = {program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    Words argv(std::move(words));
    auto envp = environment(extraEnvironment);
    int pipeEnds[2];
    EXPECT_EQ(pipe(pipeEnds), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, started.errorsFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    if (ownGroup) {
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
        posix_spawnattr_setpgroup(&attributes, 0);
    }
    const int spawned = posix_spawn(&started.process, program.c_str(), &actions, &attributes,
                                    argv.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    EXPECT_EQ(spawned, 0) << program;
    started.output = pipeEnds[0];
    if (spawned != 0) {
        close(started.output);
        std::filesystem::remove(started.errorsFile);
        return std::nullopt;
    }
    return started;
}

void finish(const Started& started, int status, ProgramRun& run) {
    close(started.output);
    if (WIFEXITED(status))
        run.exitStatus = WEXITSTATUS(status);
    run.errors = readWhole(started.errorsFile);
    std::filesystem::remove(started.errorsFile);
}

bool readAvailable(int descriptor, std::string& output) {
    char buffer[4096];
    const ssize_t got = read(descriptor, buffer, sizeof buffer);
    if (got > 0)
        output.append(buffer, static_cast<std::size_t>(got));
    return got > 0;
}

}  // namespace

std::string corvanePath() {
    return (buildFolder() / "src" / "corvane").string();
}

std::string journeyPath() {
    return (buildFolder() / "tools" / "journey" / "corvane-journey").string();
}

std::string readWhole(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

ProgramRun runProgram(const std::vector<std::string>& arguments,
                      const std::vector<std::string>& extraEnvironment,
                      const std::string& program) {
    ProgramRun run;
    const auto started = start(arguments, extraEnvironment, program, false);
    if (!started)
        return run;
    while (readAvailable(started->output, run.output)) {
    }
    int status = 0;
    waitpid(started->process, &status, 0);
    finish(*started, status, run);
    return run;
}

ProgramRun runBounded(const RunBounds& bounds, const std::vector<std::string>& arguments,
                      const std::vector<std::string>& extraEnvironment,
                      const std::string& program) {
    ProgramRun run;
    const auto started = start(arguments, extraEnvironment, program, true);
    if (!started)
        return run;
    // What the program started may hold the pipe open after it has gone.
    fcntl(started->output, F_SETFL, O_NONBLOCK);
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(bounds.seconds);
    int status = 0;
    for (;;) {
        pollfd readable = {started->output, POLLIN, 0};
        if (poll(&readable, 1, 100) > 0)
            readAvailable(started->output, run.output);
        if (waitpid(started->process, &status, WNOHANG) == started->process)
            break;
        run.peakResidentBytes = std::max(run.peakResidentBytes, residentBytes(started->process));
        run.overMemory = run.peakResidentBytes > bounds.residentBytes;
        run.overTime = std::chrono::steady_clock::now() > deadline;
        run.killed = bounds.killWhen && bounds.killWhen();
        if (run.overMemory || run.overTime || run.killed) {
            kill(-started->process, SIGKILL);
            waitpid(started->process, &status, 0);
            break;
        }
    }
    while (readAvailable(started->output, run.output)) {
    }
    finish(*started, status, run);
    return run;
}

}  // namespace corvane::testing

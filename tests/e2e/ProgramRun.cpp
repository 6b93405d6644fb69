#include "e2e/ProgramRun.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

extern char** environ;

namespace corvane::testing {

namespace {

// <build>/tests/e2e_tests runs programs of <build>.
std::filesystem::path buildFolder() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path();
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
    std::string errorsFile =
        (std::filesystem::temp_directory_path() / "corvane-stderr-XXXXXX").string();
    close(mkstemp(errorsFile.data()));
    std::vector<std::string> words = {program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    std::vector<std::string> entries(extraEnvironment);
    for (char** entry = environ; *entry; ++entry)
        entries.emplace_back(*entry);
    std::vector<char*> envp;
    for (auto& entry : entries)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    int pipeEnds[2];
    EXPECT_EQ(pipe(pipeEnds), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorsFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    pid_t pid = 0;
    ProgramRun run;
    int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    EXPECT_EQ(spawned, 0) << argv[0];
    char buffer[4096];
    for (ssize_t got; (got = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        run.output.append(buffer, static_cast<std::size_t>(got));
    close(pipeEnds[0]);
    int status = 0;
    if (spawned == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        run.exitStatus = WEXITSTATUS(status);
    run.errors = readWhole(errorsFile);
    std::filesystem::remove(errorsFile);
    return run;
}

}  // namespace corvane::testing

#include "framework/RunCommand.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

extern char** environ;

namespace corvane::testing {

namespace {

// A scratch file that goes away with the object.
class ScratchFile {
  public:
    explicit ScratchFile(const std::string& contents = {}) {
        char name[] = "/tmp/corvane-command-XXXXXX";
        const int descriptor = mkstemp(name);
        if (descriptor >= 0)
            close(descriptor);
        path_ = name;
        std::ofstream(path_, std::ios::binary) << contents;
    }
    ~ScratchFile() { std::remove(path_.c_str()); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::string& path() const { return path_; }
    std::string contents() const {
        std::ifstream file(path_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

  private:
    std::string path_;
};

}  // namespace

CommandResult runCommand(const std::vector<std::string>& arguments, const std::string& input) {
    ScratchFile in(input);
    ScratchFile out;
    ScratchFile err;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.path().c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.path().c_str(), O_WRONLY | O_TRUNC, 0);
    posix_spawn_file_actions_addopen(&actions, 2, err.path().c_str(), O_WRONLY | O_TRUNC, 0);
    std::vector<char*> argv;
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    CommandResult result;
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return result;
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status))
        result.exitStatus = WEXITSTATUS(status);
    result.output = out.contents();
    result.errors = err.contents();
    return result;
}

}  // namespace corvane::testing

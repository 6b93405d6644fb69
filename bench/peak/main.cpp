// Runs a program and writes two peaks of resident memory, in KiB, into a file: the program's own,
// and the largest of it and every program it waited for (APT runs its methods, and the program
// runs APT and dpkg, as processes of their own):
//
//   peak_memory RESULT_FILE PROGRAM [ARGUMENT ...]
//
// Exits with the program's status. A benchmark cannot take these figures from its own wait: the
// kernel counts into a child's peak the memory of the process that spawned it, here the
// benchmark with its generated indexes, while this small program leaves nothing of its own.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

namespace {

// The process's own high-water mark; it only grows, so the last reading before the exit is it.
long ownPeakKibibytes(pid_t process, long known) {
    std::ifstream status("/proc/" + std::to_string(process) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::max(known, std::stol(line.substr(6)));
    return known;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s RESULT_FILE PROGRAM [ARGUMENT ...]\n", argv[0]);
        return 2;
    }
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    if (child < 0)
        return 1;
    int status = 0;
    rusage usage{};
    long own = 0;
    while (true) {
        own = ownPeakKibibytes(child, own);
        const pid_t ended = wait4(child, &status, WNOHANG, &usage);
        if (ended == child)
            break;
        if (ended < 0)
            return 1;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (!WIFEXITED(status))
        return 1;
    FILE* result = std::fopen(argv[1], "w");
    if (!result)
        return 1;
    std::fprintf(result, "%ld %ld\n", own, std::max(own, usage.ru_maxrss));
    std::fclose(result);
    return WEXITSTATUS(status);
}

// Runs a program and writes the peak resident set it reached, in KiB, into a file:
//
//   peak_memory RESULT_FILE PROGRAM [ARGUMENT ...]
//
// Exits with the program's status. A benchmark cannot take this figure from its own wait: the
// kernel counts into a child's peak the memory of the process that spawned it, here the
// benchmark with its generated indexes, while this small program leaves nothing of its own.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

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
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status))
        return 1;
    FILE* result = std::fopen(argv[1], "w");
    if (!result)
        return 1;
    std::fprintf(result, "%ld\n", usage.ru_maxrss);
    std::fclose(result);
    return WEXITSTATUS(status);
}

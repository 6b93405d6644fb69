#include "FirstScreenProbe.h"

#include <fcntl.h>
#include <linux/futex.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "LoopbackRepository.h"

namespace corvane::bench {

std::optional<double> FirstScreenProbe::milliseconds(const std::vector<std::string>& arguments) {
    const auto started = std::chrono::steady_clock::now();
    const pid_t child = spawnQuietly(arguments);
    if (child < 0)
        return std::nullopt;

    std::optional<double> waited;
    const int calls = open(("/proc/" + std::to_string(child) + "/syscall").c_str(), O_RDONLY);
    // Read as fast as it can: the first wait may last only until the next background task
    // reports to the main thread.
    char line[256];
    while (calls >= 0 && !waited) {
        const auto length = pread(calls, line, sizeof line - 1, 0);
        if (length <= 0)
            break;
        line[length] = '\0';
        if (isTimedConditionWait(line))
            waited = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                               started)
                         .count();
    }
    if (calls >= 0)
        close(calls);
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return waited;
}

// "202 0xADDRESS 0xOPERATION 0xVALUE 0xTIMEOUT ...": a mutex waits with no limit, and a thread's
// join is no private futex.
bool FirstScreenProbe::isTimedConditionWait(const char* line) {
    char* next = nullptr;
    if (std::strtol(line, &next, 10) != SYS_futex)
        return false;
    std::strtoul(next, &next, 16);
    const auto operation = std::strtoul(next, &next, 16);
    std::strtoul(next, &next, 16);
    const auto timeout = std::strtoul(next, &next, 16);
    return (operation & FUTEX_CMD_MASK) == FUTEX_WAIT_BITSET &&
           (operation & FUTEX_PRIVATE_FLAG) != 0 && timeout != 0;
}

}  // namespace corvane::bench

// groot: runs one shell command line for the package manager with the rights of the package
// tools, one command at a time, and exits with the command's status. Standard output and error
// of the command are merged into groot's standard output, in the order written; the command
// inherits no other descriptor.
//
// The lock is the regular file the caller hands over open as descriptor 3: one of the program's
// own data folder, which no package can write. A request that finds the lock taken prints the
// busy message and exits with status 75 without running anything; the client then asks again.
//
// The command ends with the runner and the runner with its caller, however either ends: the
// caller starts the runner as the leader of a process group of its own, which the command joins;
// the runner kills that group when it is asked to stop or its caller goes, and the command is
// killed by the kernel when the runner itself is.

#include <signal.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace {

constexpr int kLockDescriptor = 3;
constexpr const char* kBusyMessage = "groot: busy: another privileged command is running\n";
constexpr int kBusyStatus = 75;
constexpr int kUsageStatus = 64;
constexpr int kFailureStatus = 70;

void stopCommand(int) {
    kill(0, SIGKILL);
}

// Asked to stop (SIGTERM, SIGINT, SIGHUP), or told that the caller is gone, the runner takes the
// command with it.
bool stopWithCaller() {
    struct sigaction action {};
    action.sa_handler = stopCommand;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
    return prctl(PR_SET_PDEATHSIG, SIGTERM) == 0 && getppid() != 1;
}

// The lock lives as long as the descriptor, which no child inherits.
bool takeLock(bool* busy) {
    struct stat info {};
    if (fstat(kLockDescriptor, &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    if (flock(kLockDescriptor, LOCK_EX | LOCK_NB) == 0)
        return true;
    *busy = errno == EWOULDBLOCK;
    return false;
}

int runCommand(const char* commandLine) {
    const pid_t runner = getpid();
    const pid_t child = fork();
    if (child < 0)
        return kFailureStatus;
    if (child == 0) {
        if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || getppid() != runner)
            _exit(kFailureStatus);
        dup2(STDOUT_FILENO, STDERR_FILENO);
        // Whatever else the caller left open (files, sockets) is not the command's to write.
        close_range(3, ~0U, 0);
        execl("/bin/sh", "sh", "-c", commandLine, static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return kFailureStatus;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: groot 'command line'\n", stderr);
        return kUsageStatus;
    }
    if (!stopWithCaller())
        return kFailureStatus;
    bool busy = false;
    if (!takeLock(&busy)) {
        std::fputs(busy ? kBusyMessage : "groot: no lock file was handed over as descriptor 3\n",
                   stdout);
        return busy ? kBusyStatus : kFailureStatus;
    }
    std::fflush(stdout);
    const int status = runCommand(argv[1]);
    close(kLockDescriptor);
    return status;
}

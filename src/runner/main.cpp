// groot: runs one shell command line for the package manager with the rights of the package
// tools, one command at a time, and exits with the command's status. Standard output and error
// of the command are merged into groot's standard output, in the order written; the command
// inherits no other descriptor.
//
// The lock is "/var/run/corvane-groot.lock" of the device root groot is installed in (the
// folder above "/usr/libexec/corvane/groot"). A request that finds the lock taken prints the
// busy message and exits with status 75 without running anything; the client then asks again.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr const char* kInstalledPath = "/usr/libexec/corvane/groot";
constexpr const char* kLockPath = "/var/run/corvane-groot.lock";
constexpr const char* kBusyMessage = "groot: busy: another privileged command is running\n";
constexpr int kBusyStatus = 75;
constexpr int kUsageStatus = 64;
constexpr int kFailureStatus = 70;

// The device root is the folder groot was installed under; "" (the real "/") otherwise.
std::string deviceRoot() {
    char buffer[PATH_MAX];
    const auto length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0)
        return {};
    const std::string self(buffer, static_cast<std::size_t>(length));
    const std::string suffix = kInstalledPath;
    if (self.size() < suffix.size() ||
        self.compare(self.size() - suffix.size(), suffix.size(), suffix) != 0)
        return {};
    return self.substr(0, self.size() - suffix.size());
}

void makeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1))
        mkdir(path.substr(0, slash).c_str(), 0755);
}

// The lock lives as long as the returned descriptor, which no child inherits.
int takeLock(bool* busy) {
    const std::string path = deviceRoot() + kLockPath;
    makeFolders(path);
    const int descriptor = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (descriptor < 0)
        return -1;
    if (flock(descriptor, LOCK_EX | LOCK_NB) == 0)
        return descriptor;
    *busy = errno == EWOULDBLOCK;
    close(descriptor);
    return -1;
}

int runCommand(const char* commandLine) {
    const pid_t child = fork();
    if (child < 0)
        return kFailureStatus;
    if (child == 0) {
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
    bool busy = false;
    const int lock = takeLock(&busy);
    if (lock < 0) {
        std::fputs(busy ? kBusyMessage : "groot: cannot open the lock file\n", stdout);
        return busy ? kBusyStatus : kFailureStatus;
    }
    std::fflush(stdout);
    const int status = runCommand(argv[1]);
    close(lock);
    return status;
}

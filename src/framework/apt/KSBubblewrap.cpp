#include "framework/apt/KSBubblewrap.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>

#include "foundation/DeviceRoot.h"
#include "foundation/FileManager.h"
#include "foundation/Strings.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/apt/KSRootCommandRunner.h"
#include "framework/debian/ShellQuote.h"

namespace corvane {

namespace {

// Gone with the runner, in a session of its own (no typing into the caller's terminal), with its
// own process numbers, network (a loopback of its own) and System V IPC, and no capability but
// those below.
constexpr const char* kIsolation[] = {"--die-with-parent",
                                      "--new-session",
                                      "--unshare-pid",
                                      "--unshare-net",
                                      "--unshare-ipc",
                                      "--cap-drop",
                                      "ALL"};
// Enough for dpkg to give unpacked files the owners, groups and modes the archive names, and for
// APT to try its own unprivileged user, as it does even with nothing to fetch.
constexpr const char* kKeptCapabilities[] = {"CAP_CHOWN",  "CAP_DAC_OVERRIDE", "CAP_FOWNER",
                                             "CAP_FSETID", "CAP_SETUID",       "CAP_SETGID"};
// The host's programs, their libraries and their configuration: all that dpkg, apt-get and the
// scripts' tools need of the host. Nothing else of it is shown, as sockets (a service manager's,
// a message bus's, a container engine's) may lie in any other folder, and connecting to one
// works on a read-only mount too.
constexpr const char* kHostPrograms[] = {"/usr", "/etc",   "/bin",   "/sbin",
                                         "/lib", "/lib32", "/lib64", "/libx32"};
constexpr std::size_t kQuotedOutputLimit = 300;

foundation::Error unavailable(const std::string& reason) {
    return foundation::Error::make(
        KSAPTManager::kErrorDomain, KSAPTManager::kSandboxUnavailable,
        "No sandbox can be made for the scripts of packages, so nothing is installed, removed or "
        "configured: " +
            reason);
}

bool isProgram(const std::string& path) {
    return !path.empty() && path.front() == '/' && access(path.c_str(), X_OK) == 0 &&
           !foundation::FileManager::isDirectory(path);
}

std::string refusalOf(const KSRootCommandRunner::CommandResult& result) {
    auto text = foundation::trimmed(result.output);
    if (text.empty())
        return "status " + std::to_string(result.status);
    if (text.size() > kQuotedOutputLimit)
        text = text.substr(0, kQuotedOutputLimit) + "\u2026";
    return text;
}

}  // namespace

foundation::Result<std::vector<std::string>> KSBubblewrap::prefix() {
    auto program = KSBubblewrap::program();
    FOUNDATION_RETURN_IF_ERROR(program);
    auto words = options();
    FOUNDATION_RETURN_IF_ERROR(words);
    words->insert(words->begin(), *program);
    words->push_back("--");
    FOUNDATION_RETURN_IF_ERROR(tryOut(*words));
    return words;
}

std::string KSBubblewrap::commandInside(const std::string& commandLine) {
    // The sandbox's last option and its end, which no command inside it starts with.
    const std::string end = ShellQuote::join({"--remount-ro", "/", "--"}) + " ";
    const auto found = commandLine.find(end);
    return found == std::string::npos ? commandLine : commandLine.substr(found + end.size());
}

foundation::Result<std::string> KSBubblewrap::program() {
    if (const char* configured = std::getenv(kProgramVariable); configured && *configured) {
        if (isProgram(configured))
            return std::string(configured);
        return unavailable("the sandbox program \u201C" + std::string(configured) + "\u201D (" +
                           kProgramVariable + ") cannot be run.");
    }
    const char* path = std::getenv("PATH");
    for (const auto& folder : foundation::split(path ? path : "", ":")) {
        const auto candidate = foundation::appendingPathComponent(folder, "bwrap");
        if (isProgram(candidate))
            return candidate;
    }
    return unavailable("bubblewrap (bwrap) is not installed.");
}

// The device root is bound where it really lies and, when it is reached through a link, where
// the link names it too: a link under /tmp would otherwise lead nowhere in the private /tmp.
foundation::Result<std::vector<std::string>> KSBubblewrap::options() {
    const auto given = foundation::DeviceRoot::path();
    std::error_code error;
    const auto real = std::filesystem::weakly_canonical(given, error).string();
    if (error)
        return unavailable("the device root \u201C" + given + "\u201D cannot be read (" +
                           error.message() + ").");
    if (real == "/")
        return unavailable("the device root is the host's own file system.");
    std::vector<std::string> words(std::begin(kIsolation), std::end(kIsolation));
    for (const auto* capability : kKeptCapabilities)
        words.insert(words.end(), {"--cap-add", capability});
    for (const auto* folder : kHostPrograms)
        appendHostFolder(folder, words);
    words.insert(words.end(),
                 {"--tmpfs", "/tmp", "--tmpfs", "/run", "--symlink", "../run", "/var/run", "--dev",
                  "/dev", "--proc", "/proc", "--bind", real, real});
    if (given != real)
        words.insert(words.end(), {"--bind", real, given});
    // Last, once every mount point is made: a script writing elsewhere fails, as on the host.
    words.insert(words.end(), {"--remount-ro", "/"});
    return words;
}

// Read-only where it is a folder; where it is a link (/bin to usr/bin, say), the same link.
void KSBubblewrap::appendHostFolder(const std::string& folder, std::vector<std::string>& words) {
    std::error_code error;
    const auto status = std::filesystem::symlink_status(folder, error);
    if (std::filesystem::is_symlink(status)) {
        const auto target = std::filesystem::read_symlink(folder, error);
        if (!error)
            words.insert(words.end(), {"--symlink", target.string(), folder});
    } else if (std::filesystem::is_directory(status)) {
        words.insert(words.end(), {"--ro-bind", folder, folder});
    }
}

foundation::Status KSBubblewrap::tryOut(const std::vector<std::string>& prefix) {
    auto words = prefix;
    words.push_back("true");
    const auto result = KSRootCommandRunner::run(ShellQuote::join(words));
    if (result.succeeded())
        return foundation::Success{};
    return unavailable("bubblewrap cannot make one here (" + refusalOf(result) + ").");
}

}  // namespace corvane

#include "framework/apt/KSBubblewrap.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <set>

#include "foundation/DeviceRoot.h"
#include "foundation/FileManager.h"
#include "foundation/ProcessValue.h"
#include "foundation/Strings.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/apt/KSRootCommandRunner.h"
#include "framework/debian/ShellQuote.h"

namespace corvane {

namespace {

// Gone with the runner, in a session of its own (no typing into the caller's terminal), with its
// own process numbers and System V IPC, and no capability but those below.
constexpr const char* kIsolation[] = {"--die-with-parent", "--new-session", "--unshare-pid",
                                      "--unshare-ipc",     "--cap-drop",    "ALL"};
// Enough for dpkg to give unpacked files the owners, groups and modes the archive names. APT
// downloads as root (its configuration names no user of its own), so no identity is changed.
constexpr const char* kKeptCapabilities[] = {"CAP_CHOWN", "CAP_DAC_OVERRIDE", "CAP_FOWNER",
                                             "CAP_FSETID"};
// The host's programs, their libraries and their configuration: all that dpkg, apt-get and the
// scripts' tools need of the host. Nothing else of it is shown, as sockets (a service manager's,
// a message bus's, a container engine's) may lie in any other folder, and connecting to one
// works on a read-only mount too.
constexpr const char* kHostPrograms[] = {"/usr", "/etc",   "/bin",   "/sbin",
                                         "/lib", "/lib32", "/lib64", "/libx32"};
// The shell that runs a line gives way to the sandbox, so that the sandbox is the runner's child
// and ends with it.
constexpr std::string_view kExec = "exec ";
constexpr const char* kSearchPath = "/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin";
constexpr std::size_t kQuotedOutputLimit = 300;
// Far beyond what APT and dpkg take for the largest index, far below what the machine has.
constexpr const char* kMemoryLimit = "--as=4294967296";

// The prefixes that made a sandbox in this process: trying each once is enough.
foundation::ProcessValue<std::set<std::string>> triedPrefixes;

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

// The sandbox's last option and its end, which no command inside it starts with.
std::string endOfOptions() {
    return ShellQuote::join({"--remount-ro", "/", "--"}) + " ";
}

// A package may leave a link to /dev/zero where dpkg or APT read: every command keeps to the
// memory limit. The root command runner stops one that makes no progress.
std::vector<std::string> limits() {
    return {"prlimit", kMemoryLimit, "--"};
}

std::string endOfLimits() {
    return ShellQuote::join(limits()) + " ";
}

// A word as it stands between the quotes that ShellQuote puts around it.
std::string quotedInner(const std::string& word) {
    const auto quoted = ShellQuote::quote(word);
    return quoted.substr(1, quoted.size() - 2);
}

// The path as a whole word or the start of a longer path: "/a/device" is not named by
// "/a/device-data".
bool namesPath(const std::string& commandLine, const std::string& path) {
    for (auto found = commandLine.find(path); found != std::string::npos;
         found = commandLine.find(path, found + 1)) {
        const auto end = found + path.size();
        if (end == commandLine.size() ||
            std::string_view("/' \"").find(commandLine[end]) != std::string_view::npos)
            return true;
    }
    return false;
}

void appendReadOnly(const std::string& path, std::vector<std::string>& words) {
    words.insert(words.end(), {"--ro-bind", path, path});
}

void appendWritable(const std::string& path, std::vector<std::string>& words) {
    words.insert(words.end(), {"--bind", path, path});
}

// Where the host's resolver configuration is a link into /run, which is the sandbox's own, the
// file it names is shown too, so that a download finds its repositories by name.
void appendResolver(std::vector<std::string>& words) {
    const auto resolver = foundation::FileManager::realPath("/etc/resolv.conf");
    if (resolver != "/etc/resolv.conf" && foundation::FileManager::fileExists(resolver))
        appendReadOnly(resolver, words);
}

}  // namespace

foundation::Result<std::vector<std::string>> KSBubblewrap::prefix(const Sandbox& sandbox) {
    auto words = wordsOf(sandbox);
    FOUNDATION_RETURN_IF_ERROR(words);
    FOUNDATION_RETURN_IF_ERROR(tryOut(sandbox.access));
    return words;
}

foundation::Result<std::vector<std::string>> KSBubblewrap::wordsOf(const Sandbox& sandbox) {
    auto program = KSBubblewrap::program();
    FOUNDATION_RETURN_IF_ERROR(program);
    auto words = options(sandbox);
    FOUNDATION_RETURN_IF_ERROR(words);
    words->insert(words->begin(), *program);
    words->push_back("--");
    const auto limited = limits();
    words->insert(words->end(), limited.begin(), limited.end());
    return words;
}

foundation::Result<std::vector<std::string>> KSBubblewrap::prefix() {
    return prefix(Sandbox{});
}

std::string KSBubblewrap::commandLine(const std::vector<std::string>& words) {
    return std::string(kExec) + ShellQuote::join(words);
}

std::string KSBubblewrap::commandInside(const std::string& commandLine) {
    if (commandLine.find(endOfOptions()) == std::string::npos)
        return commandLine;
    const auto end = endOfLimits();
    const auto found = commandLine.find(end);
    return found == std::string::npos ? commandLine : commandLine.substr(found + end.size());
}

bool KSBubblewrap::namesDeviceRoot(const std::string& commandLine) {
    const auto given = foundation::DeviceRoot::path();
    for (const auto& root : {given, foundation::FileManager::realPath(given)})
        if (namesPath(commandLine, quotedInner(root)))
            return true;
    return false;
}

bool KSBubblewrap::startsInside(const std::string& commandLine) {
    const auto sandbox = program();
    const std::string_view line(commandLine);
    const auto words = line.starts_with(kExec) ? line.substr(kExec.size()) : line;
    return sandbox && words.starts_with(ShellQuote::quote(*sandbox) + " ") &&
           commandLine.find(endOfOptions()) != std::string::npos;
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
foundation::Result<std::vector<std::string>> KSBubblewrap::options(const Sandbox& sandbox) {
    const auto given = foundation::DeviceRoot::path();
    std::error_code error;
    const auto real = std::filesystem::weakly_canonical(given, error).string();
    if (error)
        return unavailable("the device root \u201C" + given + "\u201D cannot be read (" +
                           error.message() + ").");
    if (real == "/")
        return unavailable("the device root is the host's own file system.");
    std::vector<std::string> words(std::begin(kIsolation), std::end(kIsolation));
    if (sandbox.access != Access::download)
        words.push_back("--unshare-net");
    for (const auto* capability : kKeptCapabilities)
        words.insert(words.end(), {"--cap-add", capability});
    for (const auto* folder : kHostPrograms)
        appendHostFolder(folder, words);
    words.insert(words.end(), {"--tmpfs", "/tmp", "--tmpfs", "/run", "--symlink", "../run",
                               "/var/run", "--dev", "/dev", "--proc", "/proc"});
    if (sandbox.access == Access::download)
        appendResolver(words);
    appendWritable(real, words);
    if (given != real)
        words.insert(words.end(), {"--bind", real, given});
    appendDataFolder(sandbox.access, words);
    for (const auto& file : sandbox.readableFiles)
        appendReadOnly(file, words);
    // Programs are found in the host's own folders alone, whatever the caller's PATH names.
    words.insert(words.end(), {"--setenv", "PATH", kSearchPath});
    for (const auto& entry : sandbox.environment) {
        const auto equals = entry.find('=');
        words.insert(words.end(), {"--setenv", entry.substr(0, equals), entry.substr(equals + 1)});
    }
    // Last, once every mount point is made: a script writing elsewhere fails, as on the host.
    words.insert(words.end(), {"--remount-ro", "/"});
    return words;
}

// APT reads its configuration, lists and caches there; the folders it would set up for fetching
// are private and empty where the command fetches nothing.
void KSBubblewrap::appendDataFolder(Access access, std::vector<std::string>& words) {
    appendReadOnly(KSAPTManager::sandboxDirectory(), words);
    const auto archives = KSAPTManager::archivesDirectory();
    if (access == Access::caches)
        appendWritable(foundation::deletingLastPathComponent(archives), words);
    if (access == Access::download)
        appendWritable(archives, words);
    else
        words.insert(words.end(), {"--tmpfs", archives + "/partial"});
    words.insert(words.end(), {"--tmpfs", KSAPTManager::listsDirectory() + "/auxfiles"});
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
        appendReadOnly(folder, words);
    }
}

// Tried once for a kind of command and a device root: the files a command reads besides do not
// change whether a sandbox can be made.
foundation::Status KSBubblewrap::tryOut(Access access) {
    auto words = wordsOf(Sandbox{access});
    FOUNDATION_RETURN_IF_ERROR(words);
    const auto line = commandLine(*words);
    if (triedPrefixes.get().contains(line))
        return foundation::Success{};
    const auto result = KSRootCommandRunner::run(line + " true");
    if (!result.succeeded())
        return unavailable("bubblewrap cannot make one here (" + refusalOf(result) + ").");
    triedPrefixes.update([&line](std::set<std::string>& tried) { tried.insert(line); });
    return foundation::Success{};
}

}  // namespace corvane

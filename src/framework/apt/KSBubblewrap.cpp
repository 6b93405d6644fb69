#include "framework/apt/KSBubblewrap.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "foundation/DeviceRoot.h"
#include "foundation/FileManager.h"
#include "foundation/Strings.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/apt/KSRootCommandRunner.h"
#include "framework/debian/ShellQuote.h"

namespace corvane {

namespace {

// Enough for dpkg to give unpacked files the owners, groups and modes the archive names, and for
// APT to fetch as its own unprivileged user.
constexpr const char* kKeptCapabilities[] = {"CAP_CHOWN",  "CAP_DAC_OVERRIDE", "CAP_FOWNER",
                                             "CAP_FSETID", "CAP_SETUID",       "CAP_SETGID"};
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
    std::vector<std::string> words = {"--die-with-parent", "--new-session", "--unshare-pid",
                                      "--cap-drop", "ALL"};
    for (const auto* capability : kKeptCapabilities)
        words.insert(words.end(), {"--cap-add", capability});
    words.insert(words.end(), {"--ro-bind", "/", "/", "--tmpfs", "/tmp", "--dev", "/dev", "--proc",
                               "/proc", "--bind", real, real});
    if (given != real)
        words.insert(words.end(), {"--bind", real, given});
    return words;
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

#include "framework/apt/KSAPTCommandLine.h"

#include <algorithm>
#include <filesystem>

#include "foundation/DeviceRoot.h"
#include "foundation/FileManager.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/apt/KSBubblewrap.h"
#include "framework/debian/ShellQuote.h"

namespace corvane {

namespace {

const std::vector<std::string> kKeepConfiguration = {"--force-confdef", "--force-confold"};

const std::string kNoQuestions = "DEBIAN_FRONTEND=noninteractive ";

std::vector<std::string> joined(std::vector<std::string> first,
                                const std::vector<std::string>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

std::string aptEnvironment() {
    return "APT_CONFIG=" + ShellQuote::quote(KSAPTManager::configurationFile()) + " " +
           kNoQuestions;
}

bool liesInside(const std::filesystem::path& path, const std::filesystem::path& folder) {
    const auto [end, unused] =
        std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
    return end == folder.end();
}

foundation::Error archiveError(const std::string& archivePath, const std::string& description) {
    auto error = foundation::Error::make(KSAPTManager::kErrorDomain,
                                         KSAPTManager::kInvalidArchivePath, description);
    error.userInfo.mutableDictionary()["path"] = archivePath;
    return error;
}

}  // namespace

std::string KSAPTCommandLine::apt(const std::string& tool,
                                  const std::vector<std::string>& arguments) {
    return aptEnvironment() + ShellQuote::join(joined({tool}, arguments));
}

foundation::Result<std::string> KSAPTCommandLine::aptGet(
    const std::vector<std::string>& arguments) {
    std::vector<std::string> words = {"apt-get", "-y", "--no-download"};
    for (const auto& option : kKeepConfiguration) {
        words.push_back("-o");
        words.push_back("Dpkg::Options::=" + option);
    }
    return sandboxed(aptEnvironment(), joined(words, arguments));
}

std::string KSAPTCommandLine::aptGetDownload(const std::vector<std::string>& arguments) {
    return apt("apt-get", joined({"-y", "--download-only"}, arguments));
}

foundation::Result<std::string> KSAPTCommandLine::dpkg(const std::vector<std::string>& arguments) {
    return sandboxed(kNoQuestions, dpkgWords(arguments));
}

std::string KSAPTCommandLine::addArchitecture(const std::string& architecture) {
    return kNoQuestions + ShellQuote::join(dpkgWords({"--add-architecture", architecture}));
}

std::vector<std::string> KSAPTCommandLine::dpkgWords(const std::vector<std::string>& arguments) {
    const std::vector<std::string> words = {"dpkg",
                                            "--root=" + foundation::DeviceRoot::path(),
                                            "--admindir=" + KSAPTManager::dpkgAdminDirectory(),
                                            "--log=" + KSAPTManager::dpkgLogFile(),
                                            "--force-script-chrootless",
                                            "--force-not-root",
                                            kKeepConfiguration[0],
                                            kKeepConfiguration[1]};
    return joined(words, arguments);
}

foundation::Result<std::string> KSAPTCommandLine::sandboxed(const std::string& environment,
                                                            const std::vector<std::string>& words) {
    auto sandbox = KSBubblewrap::prefix();
    FOUNDATION_RETURN_IF_ERROR(sandbox);
    return environment + ShellQuote::join(joined(*sandbox, words));
}

std::vector<std::string> KSAPTCommandLine::queueArguments(
    const std::vector<KSAPTQueueEntry>& entries) {
    std::vector<std::string> words = {"--allow-downgrades", "install"};
    if (std::any_of(entries.begin(), entries.end(),
                    [](const auto& entry) { return entry.reinstall; }))
        words.push_back("--reinstall");
    words.push_back("--");
    for (const auto& entry : entries)
        words.push_back(entry.aptArgument());
    return words;
}

std::string KSAPTCommandLine::simulation(const std::vector<KSAPTQueueEntry>& entries) {
    return apt("apt-get", joined({"-s", "--assume-no"}, queueArguments(entries)));
}

foundation::Result<std::string> KSAPTCommandLine::install(
    const std::vector<KSAPTQueueEntry>& entries) {
    return aptGet(queueArguments(entries));
}

foundation::Result<std::string> KSAPTCommandLine::dpkgDebInfo(const std::string& archivePath) {
    FOUNDATION_RETURN_IF_ERROR(checkArchivePath(archivePath));
    return "dpkg-deb --info " + ShellQuote::quote(archivePath) + " control";
}

foundation::Status KSAPTCommandLine::checkArchivePath(const std::string& archivePath) {
    const bool printable =
        std::none_of(archivePath.begin(), archivePath.end(),
                     [](unsigned char character) { return character < 0x20 || character == 0x7f; });
    if (!archivePath.empty() && archivePath.front() == '/' && printable &&
        foundation::FileManager::fileExists(archivePath) &&
        !foundation::FileManager::isDirectory(archivePath))
        return foundation::Success{};
    return archiveError(archivePath, "\"" + archivePath + "\" is not a package archive.");
}

foundation::Result<std::string> KSAPTCommandLine::installableArchivePath(
    const std::string& archivePath) {
    FOUNDATION_RETURN_IF_ERROR(checkArchivePath(archivePath));
    std::error_code archiveFailure;
    std::error_code rootFailure;
    const auto archive = std::filesystem::canonical(archivePath, archiveFailure);
    const auto root = std::filesystem::canonical(foundation::DeviceRoot::path(), rootFailure);
    if (archiveFailure || rootFailure || !liesInside(archive, root))
        return archiveError(archivePath, "\"" + archivePath +
                                             "\" lies outside the device root, where packages "
                                             "are installed from.");
    return archive.string();
}

}  // namespace corvane

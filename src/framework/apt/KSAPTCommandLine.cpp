#include "framework/apt/KSAPTCommandLine.h"

#include <algorithm>

#include "foundation/DeviceRoot.h"
#include "foundation/FileManager.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/debian/ShellQuote.h"

namespace corvane {

namespace {

const std::vector<std::string> kKeepConfiguration = {"--force-confdef", "--force-confold"};

std::vector<std::string> joined(std::vector<std::string> first,
                                const std::vector<std::string>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

}  // namespace

std::string KSAPTCommandLine::apt(const std::string& tool,
                                  const std::vector<std::string>& arguments) {
    return "APT_CONFIG=" + ShellQuote::quote(KSAPTManager::configurationFile()) +
           " DEBIAN_FRONTEND=noninteractive " + ShellQuote::join(joined({tool}, arguments));
}

std::string KSAPTCommandLine::aptGet(const std::vector<std::string>& arguments) {
    std::vector<std::string> words = {"-y"};
    for (const auto& option : kKeepConfiguration) {
        words.push_back("-o");
        words.push_back("Dpkg::Options::=" + option);
    }
    return apt("apt-get", joined(words, arguments));
}

std::string KSAPTCommandLine::dpkg(const std::vector<std::string>& arguments) {
    const std::vector<std::string> words = {"dpkg",
                                            "--root=" + foundation::DeviceRoot::path(),
                                            "--admindir=" + KSAPTManager::dpkgAdminDirectory(),
                                            "--log=" + KSAPTManager::dpkgLogFile(),
                                            "--force-script-chrootless",
                                            "--force-not-root",
                                            kKeepConfiguration[0],
                                            kKeepConfiguration[1]};
    return "DEBIAN_FRONTEND=noninteractive " + ShellQuote::join(joined(words, arguments));
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

std::string KSAPTCommandLine::install(const std::vector<KSAPTQueueEntry>& entries) {
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
    auto error =
        foundation::Error::make(KSAPTManager::kErrorDomain, KSAPTManager::kInvalidArchivePath,
                                "\"" + archivePath + "\" is not a package archive.");
    error.userInfo.mutableDictionary()["path"] = archivePath;
    return error;
}

}  // namespace corvane

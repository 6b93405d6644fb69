#include "framework/apt/KSAPTSandbox.h"

#include <algorithm>

#include "foundation/DeviceRoot.h"
#include "foundation/FileManager.h"
#include "foundation/Log.h"
#include "foundation/Strings.h"
#include "foundation/URL.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/network/KSFetchableURL.h"

namespace corvane {

namespace {

using foundation::FileManager;

std::string sandboxPath(const std::string& relative) {
    return foundation::appendingPathComponent(KSAPTManager::sandboxDirectory(), relative);
}

// APT's configuration quotes values with '"' and has no escape for it.
bool isConfigurable(const std::string& path) {
    return std::none_of(path.begin(), path.end(), [](unsigned char character) {
        return character == '"' || character < 0x20 || character == 0x7f;
    });
}

foundation::Error sandboxError(const std::string& description) {
    return foundation::Error::make(KSAPTManager::kErrorDomain, KSAPTManager::kSandboxFailure,
                                   description);
}

}  // namespace

foundation::Status KSAPTSandbox::create() {
    FOUNDATION_RETURN_IF_ERROR(createFolders());
    auto text = configuration();
    FOUNDATION_RETURN_IF_ERROR(text);
    return writeIfChanged(KSAPTManager::configurationFile(), *text);
}

foundation::Status KSAPTSandbox::writeIfChanged(const std::string& path, const std::string& text) {
    if (const auto stored = FileManager::readText(path); stored && *stored == text)
        return foundation::Success{};
    return FileManager::writeAtomically(path, text);
}

foundation::Status KSAPTSandbox::createFolders() {
    const std::vector<std::string> folders = {
        "etc/apt.conf.d",      "etc/sources.list.d",   "etc/preferences.d",     "etc/trusted.gpg.d",
        "state/lists/partial", "state/lists/auxfiles", "cache/archives/partial"};
    for (const auto& folder : folders) {
        FOUNDATION_RETURN_IF_ERROR(FileManager::createDirectory(sandboxPath(folder)));
    }
    return foundation::Success{};
}

foundation::Result<std::string> KSAPTSandbox::configuration() {
    const auto root = foundation::DeviceRoot::path();
    const auto sandbox = KSAPTManager::sandboxDirectory();
    const auto admin = KSAPTManager::dpkgAdminDirectory();
    if (!isConfigurable(root) || !isConfigurable(sandbox))
        return sandboxError("The device root's path cannot be written into APT's configuration.");
    const auto line = [](const std::string& key, const std::string& value) {
        return key + " \"" + value + "\";\n";
    };
    std::string text;
    text += line("Dir", sandbox + "/");
    text += line("Dir::State", sandbox + "/state/");
    text += line("Dir::State::status", admin + "/status");
    // Which packages were installed only as dependencies is the device's state, written while
    // the packages' scripts run.
    text += line("Dir::State::extended_states", root + "/var/lib/apt/extended_states");
    text += line("Dir::Cache", sandbox + "/cache/");
    // The caches of the lists alone: the one that adds dpkg's status is made anew by every
    // command, in memory, as the commands that change the status cannot write the caches.
    text += line("Dir::Cache::pkgcache", "");
    text += line("Dir::Etc", sandbox + "/etc/");
    text += line("Dir::Etc::SourceList", KSAPTManager::sourceListFile());
    text += line("Dir::Etc::SourceParts", sandbox + "/etc/sources.list.d/");
    text += line("Dir::Etc::Preferences", sandbox + "/etc/preferences");
    text += line("Dir::Etc::PreferencesParts", sandbox + "/etc/preferences.d/");
    text += line("Dir::Etc::Trusted", sandbox + "/etc/trusted.gpg");
    text += line("Dir::Etc::TrustedParts", sandbox + "/etc/trusted.gpg.d/");
    // APT's logs tell of what dpkg did to the device; nothing of the program reads them.
    text += line("Dir::Log", root + "/var/log/apt/");
    // The sandbox is APT's sandbox, and the root command runner lets one command run at a time:
    // APT neither changes its user nor takes locks in folders that most commands may only read.
    text += line("APT::Sandbox::User", "root");
    text += line("Debug::NoLocking", "true");
    text += line("APT::Architecture", "iphoneos-arm");
    text += "APT::Architectures { \"iphoneos-arm\"; \"iphoneos-arm64\"; };\n";
    text += "DPkg::Options { \"--root=" + root + "\"; \"--admindir=" + admin +
            "\"; \"--log=" + KSAPTManager::dpkgLogFile() +
            "\"; \"--force-script-chrootless\"; \"--force-not-root\"; };\n";
    return text;
}

bool KSAPTSandbox::isListableLocation(const std::string& location) {
    const auto url = foundation::URL::withString(location);
    if (!url || !KSFetchableURL::isFetchable(*url))
        return false;
    return std::none_of(location.begin(), location.end(), [](unsigned char character) {
        return character <= 0x20 || character == 0x7f || character == '[' || character == ']' ||
               character == '#' || character == '"';
    });
}

std::string KSAPTSandbox::sourceList(const std::vector<std::string>& locations) {
    std::string text;
    for (const auto& location : locations) {
        if (!isListableLocation(location)) {
            KSLog("Source left out of APT's source list: %@", location);
            continue;
        }
        const auto base = foundation::hasSuffix(location, "/") ? location : location + "/";
        text += "deb [trusted=yes] " + base + " ./\n";
    }
    return text;
}

}  // namespace corvane

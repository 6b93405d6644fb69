#include "framework/apt/KSInboxArchive.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>

#include "foundation/DeviceRoot.h"
#include "foundation/FileManager.h"
#include "foundation/Log.h"
#include "foundation/Strings.h"
#include "framework/misc/KSPaths.h"

namespace corvane {

using foundation::FileManager;

foundation::Result<std::shared_ptr<KSInboxArchive>> KSInboxArchive::copyOf(
    const std::string& devicePath) {
    FOUNDATION_RETURN_IF_ERROR(checkDevicePath(devicePath));
    FOUNDATION_RETURN_IF_ERROR(FileManager::createDirectory(inboxDirectory()));
    const auto copy = inboxDirectory() + "/" + generatedName();
    // The content, not a link: a link would let the file change between reading and installing.
    std::error_code error;
    std::filesystem::copy_file(foundation::DeviceRoot::resolve(devicePath), copy, error);
    if (error) {
        (void)FileManager::removeItem(copy);
        return foundation::Error::make(kErrorDomain, kCopyFailed,
                                       "The archive could not be copied: " + error.message());
    }
    return std::make_shared<KSInboxArchive>(copy);
}

std::string KSInboxArchive::inboxDirectory() {
    return KSPaths::dataPath(kInboxName);
}

void KSInboxArchive::emptyInbox() {
    if (!FileManager::fileExists(inboxDirectory()))
        return;
    if (auto removed = FileManager::removeItem(inboxDirectory()); !removed)
        KSLog("The inbox was not emptied: %@", removed.error().localizedDescription());
}

KSInboxArchive::~KSInboxArchive() {
    if (auto removed = FileManager::removeItem(path_); !removed)
        KSLog("The inbox copy %@ was not removed: %@", path_,
              removed.error().localizedDescription());
}

foundation::Status KSInboxArchive::checkDevicePath(const std::string& devicePath) {
    const auto components = foundation::pathComponents(devicePath);
    const bool printable =
        std::none_of(devicePath.begin(), devicePath.end(),
                     [](unsigned char character) { return character < 0x20 || character == 0x7f; });
    const bool climbs = std::ranges::find(components, "..") != components.end();
    if (foundation::hasPrefix(devicePath, "/") && printable && !climbs) {
        const auto path = foundation::DeviceRoot::resolve(devicePath);
        if (FileManager::fileExists(path) && !FileManager::isDirectory(path))
            return foundation::Success{};
    }
    auto error = foundation::Error::make(kErrorDomain, kNotAnArchivePath,
                                         "\"" + devicePath + "\" is not a package archive.");
    error.userInfo.mutableDictionary()["path"] = devicePath;
    return error;
}

// Nobody can guess the next name, so nothing can be put in its place beforehand.
std::string KSInboxArchive::generatedName() {
    std::random_device random;
    std::string name;
    for (int part = 0; part < 4; ++part) {
        char hex[9];
        std::snprintf(hex, sizeof hex, "%08x", static_cast<unsigned>(random()));
        name += hex;
    }
    return name + ".deb";
}

}  // namespace corvane

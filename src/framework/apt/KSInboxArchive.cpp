#include "framework/apt/KSInboxArchive.h"

#include <algorithm>
#include <cstdio>
#include <random>

#include "foundation/FileManager.h"
#include "foundation/Log.h"
#include "foundation/Strings.h"
#include "framework/apt/KSDeviceFile.h"
#include "framework/misc/KSPaths.h"

namespace corvane {

using foundation::FileManager;

foundation::Result<std::shared_ptr<KSInboxArchive>> KSInboxArchive::copyOf(
    const std::string& devicePath) {
    if (!isPlainDevicePath(devicePath))
        return notAnArchivePath(devicePath);
    FOUNDATION_RETURN_IF_ERROR(FileManager::createDirectory(inboxDirectory()));
    const auto copy = inboxDirectory() + "/" + generatedName();
    // The content, not a link: a link would let the file change between reading and installing.
    auto copied = KSDeviceFile::copy(devicePath, copy, kMaxArchiveBytes);
    if (copied)
        return std::make_shared<KSInboxArchive>(copy);
    const auto& error = copied.error();
    const bool noFile =
        error.domain == KSDeviceFile::kErrorDomain &&
        (error.code == KSDeviceFile::kMissing || error.code == KSDeviceFile::kRefused);
    if (!noFile)
        return foundation::Error::make(
            kErrorDomain, kCopyFailed,
            "The archive could not be copied: " + error.localizedDescription());
    KSLog("%@", error.localizedDescription());
    return notAnArchivePath(devicePath);
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

bool KSInboxArchive::isPlainDevicePath(const std::string& devicePath) {
    const auto components = foundation::pathComponents(devicePath);
    const bool printable =
        std::none_of(devicePath.begin(), devicePath.end(),
                     [](unsigned char character) { return character < 0x20 || character == 0x7f; });
    const bool climbs = std::ranges::find(components, "..") != components.end();
    return foundation::hasPrefix(devicePath, "/") && printable && !climbs;
}

foundation::Error KSInboxArchive::notAnArchivePath(const std::string& devicePath) {
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
